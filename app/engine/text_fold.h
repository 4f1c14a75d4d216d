// Folds that let a word match text written another way, as a Japanese
// user means it: letter case beyond ASCII (full-width Latin, Greek,
// Cyrillic...), full-width and half-width forms (ＡＢＣ and ABC, ｶﾞ and ガ,
// the ideographic space and a space), and hiragana and katakana.  The word
// and the cell text are both folded, then compared as they are.  The tables
// come from the Unicode Character Database at build time.
#pragma once

#include "byte_set.h"

#include <string>
#include <string_view>

namespace zscan {

struct FoldOptions {
    bool letter_case = false;   // -i: simple case folding
    bool width = false;         // --fold-width
    bool kana = false;          // --fold-kana: hiragana to katakana
    bool any() const { return letter_case || width || kana; }
};

class TextFolder {
public:
    explicit TextFolder(FoldOptions options) : options_(options) {}

    // The UTF-8 text folded.  Returns `text` itself when nothing in it
    // folds, else `buffer` (reused) filled with the folded text.
    std::string_view fold(std::string_view text, std::string &buffer) const;

    // One character folded; `next` is the character after it, or 0.
    // Sets `joined` when the two fold into one (a kana and a half-width
    // voiced mark).
    char32_t fold_character(char32_t character, char32_t next, bool &joined) const;
    // The character of UTF-8 `text` at `at` folded, with `at` moved past
    // what it took (two characters where they fold into one).
    char32_t fold_at(std::string_view text, size_t &at) const;

    // A set holding every byte the folded forms of texts made of `bytes`
    // can hold: a search may leave out the texts a folded word cannot be
    // in, as it does unfolded.
    ByteSet folded_bytes(const ByteSet &bytes) const;

private:
    FoldOptions options_;
};

// A regular expression whose literal characters beyond ASCII are folded,
// each written escaped where its folded form is an ASCII sign, so that the
// expression keeps its meaning ("（" folds to "\(", a parenthesis to
// match, not a group).  ASCII, which is the expression's own syntax, is
// left as it stands.
std::string folded_pattern(const TextFolder &folder, std::string_view pattern);

}  // namespace zscan
