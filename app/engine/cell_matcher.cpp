#include "engine/cell_matcher.h"

#define PCRE2_CODE_UNIT_WIDTH 8
#include <pcre2.h>

#include "charset.h"
#include "engine/ecmascript_pattern.h"

namespace zscan {
namespace {

// ECMAScript semantics as far as PCRE2 offers them (the pattern itself is
// rewritten for the rest): the whole text must match, \u escapes, unset
// back-references, [] and [^] behave as in ECMAScript, $ matches only at
// the very end, and both CR and LF end a line for ".".  Text that is not
// valid UTF-8 simply fails to match.
constexpr uint32_t kCompileOptions = PCRE2_UTF | PCRE2_MATCH_INVALID_UTF | PCRE2_ANCHORED |
                                     PCRE2_ENDANCHORED | PCRE2_ALT_BSUX | PCRE2_ALLOW_EMPTY_CLASS |
                                     PCRE2_MATCH_UNSET_BACKREF | PCRE2_DOLLAR_ENDONLY |
                                     PCRE2_NEVER_BACKSLASH_C;

// Work limits for one test of one cell.  A cell holds at most 98301 bytes;
// these bounds keep a pathological expression to a few milliseconds per
// cell while leaving ordinary expressions far below them.
constexpr uint32_t kMatchLimit = 1'000'000;
constexpr uint32_t kDepthLimit = 100'000;
constexpr uint32_t kHeapLimitKiB = 64 * 1024;

std::string as_utf8(int charset, std::string_view text) {
    if (charset == CS_UTF8) return std::string(text);
    return orb_convert(charset, CS_UTF8, text);
}

}  // namespace

CellMatcher::~CellMatcher() { release(); }

void CellMatcher::release() {
    words_.clear();
    for (pcre2_code *code : codes_) pcre2_code_free(code);
    codes_.clear();
    pcre2_match_data_free(match_data_);
    match_data_ = nullptr;
    pcre2_match_context_free(match_context_);
    match_context_ = nullptr;
}

bool CellMatcher::prepare(int charset, const std::vector<std::string> &words, bool regular_expression,
                          std::string &bad_word, FoldOptions folds) {
    release();
    regular_expression_ = regular_expression;
    folder_ = TextFolder(folds);
    // Case is left to the expression engine; the texts are folded for the
    // rest.
    folding_ = regular_expression ? folds.width || folds.kana : folds.any();
    // Cell texts are UTF-8: the words are turned into it once, so that no
    // cell text needs turning into the search's character set to be tested.
    for (const std::string &word : words) {
        std::string utf8 = as_utf8(charset, word);
        if (regular_expression && folding_) {
            utf8 = folded_pattern(folder_, utf8);
        } else if (folding_) {
            std::string buffer;
            utf8 = std::string(folder_.fold(utf8, buffer));
        }
        words_.push_back(std::move(utf8));
    }
    if (!regular_expression) return true;
    const uint32_t options = kCompileOptions | (folds.letter_case ? PCRE2_CASELESS : 0);

    pcre2_compile_context *compile_context = pcre2_compile_context_create(nullptr);
    pcre2_set_newline(compile_context, PCRE2_NEWLINE_ANYCRLF);
    for (size_t i = 0; i < words_.size(); ++i) {
        const std::optional<std::string> pattern = pcre_pattern_of(words_[i]);
        int error = 0;
        PCRE2_SIZE offset = 0;
        pcre2_code *code =
            pattern ? pcre2_compile(reinterpret_cast<PCRE2_SPTR>(pattern->data()), pattern->size(), options,
                                    &error, &offset, compile_context)
                    : nullptr;
        if (code == nullptr) {
            pcre2_compile_context_free(compile_context);
            release();
            bad_word = words[i];
            return false;
        }
        codes_.push_back(code);
    }
    pcre2_compile_context_free(compile_context);

    match_data_ = pcre2_match_data_create(1, nullptr);
    match_context_ = pcre2_match_context_create(nullptr);
    pcre2_set_match_limit(match_context_, kMatchLimit);
    pcre2_set_depth_limit(match_context_, kDepthLimit);
    pcre2_set_heap_limit(match_context_, kHeapLimitKiB);
    return true;
}

bool CellMatcher::matches_expression(pcre2_code *code, std::string_view utf8_text) {
    static const char kEmpty = 0;
    const char *subject = utf8_text.empty() ? &kEmpty : utf8_text.data();
    const int rc = pcre2_match(code, reinterpret_cast<PCRE2_SPTR>(subject), utf8_text.size(), 0,
                               0, match_data_, match_context_);
    return rc >= 0;
}

bool CellMatcher::may_match_within(const ByteSet &bytes) const {
    if (regular_expression_) return true;
    const ByteSet texts = folding_ ? folder_.folded_bytes(bytes) : bytes;
    for (const std::string &word : words_)
        if (texts.holds_all(word)) return true;
    return false;
}

bool CellMatcher::matches(std::string_view text) {
    if (folding_) text = folder_.fold(text, folded_);
    if (!regular_expression_) {
        for (const std::string &word : words_) {
            if (text.find(word) != std::string_view::npos) return true;
        }
        return false;
    }
    for (pcre2_code *code : codes_) {
        if (matches_expression(code, text)) return true;
    }
    return false;
}

}  // namespace zscan
