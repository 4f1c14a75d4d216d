#include "engine/text_fold.h"

#include <algorithm>
#include <cctype>
#include <iterator>

namespace zscan {
namespace {

struct FoldPair {
    char32_t from;
    char32_t to;
};
struct VoicedComposition {
    char32_t base;
    char32_t mark;
    char32_t composed;
};

#include "fold_tables.inc"

constexpr char32_t kHiraganaFirst = 0x3041;   // ぁ
constexpr char32_t kHiraganaLast = 0x3096;    // ゖ
constexpr char32_t kIterationMarks = 0x309D;  // ゝ and ゞ
constexpr char32_t kKatakanaOffset = 0x60;
constexpr char32_t kVoicedMark = 0x3099;
constexpr char32_t kSemiVoicedMark = 0x309A;

template <size_t N>
char32_t looked_up(const FoldPair (&table)[N], char32_t character) {
    const FoldPair *found = std::lower_bound(std::begin(table), std::end(table), character,
                                             [](const FoldPair &pair, char32_t c) { return pair.from < c; });
    return found != std::end(table) && found->from == character ? found->to : character;
}

char32_t composed(char32_t base, char32_t mark) {
    const VoicedComposition *found =
        std::lower_bound(std::begin(kVoicedCompositions), std::end(kVoicedCompositions), std::pair{base, mark},
                         [](const VoicedComposition &row, const std::pair<char32_t, char32_t> &key) {
                             return row.base < key.first || (row.base == key.first && row.mark < key.second);
                         });
    return found != std::end(kVoicedCompositions) && found->base == base && found->mark == mark ? found->composed : 0;
}

// The code point at `at` of valid UTF-8 and its length; a byte that starts
// no valid sequence stands for itself.
char32_t decoded(std::string_view text, size_t at, size_t &length) {
    const auto byte = [&](size_t i) { return static_cast<char32_t>(static_cast<unsigned char>(text[i])); };
    const char32_t lead = byte(at);
    length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
    if (lead < 0xC0 || at + length > text.size()) {
        length = 1;
        return lead;
    }
    char32_t code = lead & (0x7F >> length);
    for (size_t i = 1; i < length; ++i) code = code << 6 | (byte(at + i) & 0x3F);
    return code;
}

void append_utf8(std::string &out, char32_t code) {
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | code >> 6);
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | code >> 12);
        out += static_cast<char>(0x80 | (code >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | code >> 18);
        out += static_cast<char>(0x80 | (code >> 12 & 0x3F));
        out += static_cast<char>(0x80 | (code >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

}  // namespace

char32_t TextFolder::fold_character(char32_t character, char32_t next, bool &joined) const {
    joined = false;
    if (options_.width) {
        character = looked_up(kWidthFolds, character);
        // ｶﾞ is ｶ and a half-width voiced mark: both fold into ガ.
        const char32_t mark = looked_up(kWidthFolds, next);
        if (mark == kVoicedMark || mark == kSemiVoicedMark) {
            if (const char32_t one = composed(character, mark)) {
                character = one;
                joined = true;
            }
        }
    }
    if (options_.kana) {
        if (character >= kHiraganaFirst && character <= kHiraganaLast) character += kKatakanaOffset;
        if (character == kIterationMarks || character == kIterationMarks + 1) character += kKatakanaOffset;
    }
    if (options_.letter_case) character = looked_up(kCaseFolds, character);
    return character;
}

char32_t TextFolder::fold_at(std::string_view text, size_t &at) const {
    size_t length = 0;
    const char32_t character = decoded(text, at, length);
    size_t next_length = 0;
    const char32_t next = at + length < text.size() ? decoded(text, at + length, next_length) : 0;
    bool joined = false;
    const char32_t folded = fold_character(character, next, joined);
    at += length + (joined ? next_length : 0);
    return folded;
}

ByteSet TextFolder::folded_bytes(const ByteSet &bytes) const {
    // Which characters can fold into which is told by their UTF-8 lead
    // bytes: full-width forms and half-width katakana lead with EF, the
    // ideographic space, hiragana and katakana with E3, the letters with
    // cases (Latin, Greek, Cyrillic, letter-like signs, full-width Latin)
    // with C2 to DF, E1, E2, EA, EF or F0 to F4.
    ByteSet folded = bytes;
    const auto add_range = [&folded](unsigned first, unsigned last) {
        for (unsigned byte = first; byte <= last; ++byte) folded.add_byte(static_cast<unsigned char>(byte));
    };
    const auto holds_any = [&bytes](unsigned first, unsigned last) {
        for (unsigned byte = first; byte <= last; ++byte) {
            if (bytes.holds(static_cast<unsigned char>(byte))) return true;
        }
        return false;
    };
    if (options_.letter_case) {
        for (unsigned byte = 'A'; byte <= 'Z'; ++byte) {
            if (bytes.holds(static_cast<unsigned char>(byte))) folded.add_byte(static_cast<unsigned char>(byte + 32));
        }
        if (holds_any(0xC2, 0xDF) || bytes.holds(0xE1) || bytes.holds(0xE2) || bytes.holds(0xEA) ||
            bytes.holds(0xEF) || holds_any(0xF0, 0xF4))
            add_range(0x80, 0xFF);
        if (bytes.holds(0xC5)) folded.add_byte('s');   // the long s
        if (bytes.holds(0xE2)) folded.add_byte('k');   // the Kelvin sign
    }
    if (options_.width && bytes.holds(0xEF)) {
        add_range(0x20, 0x7E);
        add_range(0x80, 0xBF);
        for (const unsigned char lead : {0xC2, 0xE1, 0xE2, 0xE3}) folded.add_byte(lead);
    }
    if (options_.width && bytes.holds(0xE3)) folded.add_byte(' ');
    if (options_.kana && bytes.holds(0xE3)) add_range(0x80, 0xBF);
    return folded;
}

std::string folded_pattern(const TextFolder &folder, std::string_view pattern) {
    std::string out;
    for (size_t at = 0; at < pattern.size();) {
        if (static_cast<unsigned char>(pattern[at]) < 0x80) {
            out += pattern[at++];
            continue;
        }
        const char32_t folded = folder.fold_at(pattern, at);
        if (folded < 0x80 && !std::isalnum(static_cast<int>(folded))) out += '\\';
        append_utf8(out, folded);
    }
    return out;
}

std::string_view TextFolder::fold(std::string_view text, std::string &buffer) const {
    // ASCII text folds only in its letter case.
    size_t first = 0;
    while (first < text.size() && static_cast<unsigned char>(text[first]) < 0x80 &&
           !(options_.letter_case && text[first] >= 'A' && text[first] <= 'Z'))
        ++first;
    if (first == text.size()) return text;

    buffer.assign(text.substr(0, first));
    for (size_t at = first; at < text.size();) {
        const auto lead = static_cast<unsigned char>(text[at]);
        if (lead < 0x80) {
            buffer += options_.letter_case && lead >= 'A' && lead <= 'Z' ? static_cast<char>(lead + 32) : text[at];
            ++at;
            continue;
        }
        append_utf8(buffer, fold_at(text, at));
    }
    return buffer;
}

}  // namespace zscan
