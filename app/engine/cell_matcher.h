// Tests a cell's text (UTF-8, as the library hands it over) against the
// search words: as a substring, or as a regular expression (ECMAScript-like
// syntax) that must match the whole text.  The words are turned into UTF-8
// and expressions compiled once per search.
#pragma once

#include "byte_set.h"
#include "engine/text_fold.h"

#include <string>
#include <string_view>
#include <vector>

struct pcre2_real_code_8;
struct pcre2_real_match_data_8;
struct pcre2_real_match_context_8;

namespace zscan {

class CellMatcher {
public:
    CellMatcher() = default;
    ~CellMatcher();
    CellMatcher(const CellMatcher &) = delete;
    CellMatcher &operator=(const CellMatcher &) = delete;

    // Prepares the matcher for these words, given in the character set
    // `charset`.
    // With `regular_expression` every word is compiled; false when one is
    // not a valid expression, with `bad_word` naming the first such word.
    // With `folds`, a word and a text match when they do once both are
    // folded; an expression is caseless, and its literal characters and
    // the text are folded for width and kana.
    bool prepare(int charset, const std::vector<std::string> &words, bool regular_expression,
                 std::string &bad_word, FoldOptions folds = {});

    // True when a word matches the UTF-8 text.  An expression that runs
    // into its work limits counts as no match.
    bool matches(std::string_view text);

    // False when no word can be found in a text made of the bytes in
    // `bytes`, because every word holds some other byte.  True for
    // expressions, which are tested on every text.
    bool may_match_within(const ByteSet &bytes) const;

private:
    void release();
    bool matches_expression(pcre2_real_code_8 *code, std::string_view utf8_text);

    bool regular_expression_ = false;
    TextFolder folder_{FoldOptions{}};
    bool folding_ = false;
    std::string folded_;   // the folded text of the cell being tested
    std::vector<std::string> words_;
    std::vector<pcre2_real_code_8 *> codes_;
    pcre2_real_match_data_8 *match_data_ = nullptr;
    pcre2_real_match_context_8 *match_context_ = nullptr;
};

}  // namespace zscan
