#include "engine/search_words.h"

#include "charset.h"

#include <algorithm>

namespace zscan {
namespace {

bool is_blank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// Reads words one after another, keeping double-byte characters whole.
class WordScanner {
public:
    WordScanner(int charset, std::string_view text) : charset_(charset), text_(text) {}

    // The next word into `word`; false when none remains.  `too_long`
    // tells a word over the limit.
    bool next(std::string &word, bool &too_long) {
        word.clear();
        while (at_ < text_.size() && is_blank(text_[at_])) ++at_;
        if (at_ >= text_.size()) return false;
        if (text_[at_] == '"') {
            read_phrase(word);
        } else if (text_[at_] == '=') {
            word.assign(1, '=');
            ++at_;
        } else {
            read_plain(word);
        }
        too_long = word.size() > kSearchWordMax;
        return true;
    }

private:
    // Appends the character at the scanner's place, whole, and moves past
    // it.
    void take_character(std::string &word) {
        int end = static_cast<int>(at_);
        orb_char_len(charset_, static_cast<unsigned char>(text_[at_]), &end);
        const size_t length = std::min(static_cast<size_t>(end) + 1, text_.size()) - at_;
        word.append(text_.data() + at_, length);
        at_ += length;
    }

    // Up to a blank, a quote or an equals sign; a semicolon ending the
    // whole text is dropped.
    void read_plain(std::string &word) {
        while (at_ < text_.size() && !is_blank(text_[at_]) && text_[at_] != '"' && text_[at_] != '=') {
            take_character(word);
        }
        if (at_ >= text_.size() && word.ends_with(';')) word.pop_back();
    }

    // From the opening quote to the closing one, or to the end of the
    // text when it is never closed.
    void read_phrase(std::string &word) {
        ++at_;
        while (at_ < text_.size()) {
            if (text_[at_] == '"') {
                if (at_ + 1 < text_.size() && text_[at_ + 1] == '"') {
                    word += '"';
                    at_ += 2;
                    continue;
                }
                ++at_;
                return;
            }
            take_character(word);
        }
    }

    int charset_;
    std::string_view text_;
    size_t at_ = 0;
};

}  // namespace

bool split_search_words(int charset, std::string_view text, std::vector<std::string> &words) {
    WordScanner scanner(charset, text);
    std::string word;
    bool too_long = false;
    while (scanner.next(word, too_long)) {
        if (too_long) return false;
        if (!word.empty()) words.push_back(word);
    }
    return true;
}

}  // namespace zscan
