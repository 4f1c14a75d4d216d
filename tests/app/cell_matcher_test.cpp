// Matching cell texts: byte substrings by default, whole-text regular
// expressions on request.
#include "engine/cell_matcher.h"

#include "charset.h"
#include "oxls.h"

#include <gtest/gtest.h>

#include <chrono>

using zscan::CellMatcher;

namespace {

// One matcher prepared again row after row, so that each row also shows
// that preparing drops the words, folds and mode of the row before.
TEST(CellMatcher, WordsFindTheTextsTheyMeanAndNoOthers) {
    using zscan::FoldOptions;
    const FoldOptions none, case_only{true, false, false}, width_only{false, true, false},
        kana_only{false, false, true}, case_width{true, true, false}, width_kana{false, true, true},
        all{true, true, true};
    const std::string tokyo = orb_convert(CS_UTF8, CS_SJIS, "東京");
    // In Shift-JIS the last byte of 日 and the first of 月 spell another
    // character: a word's bytes never match across two characters.
    const std::string across = orb_convert(CS_UTF8, CS_SJIS, "日月").substr(1, 2);
    const bool expression = true, substring = false;
    const struct {
        std::vector<std::string> words;
        std::vector<const char *> found, missed;
        bool expression = false;
        FoldOptions folds = {};
        int charset = CS_UTF8;
    } rows[] = {
        // A substring search: exact bytes, case-sensitive.
        {{"abc"}, {"xabcx"}, {"xABCx", ""}},
        {{"(unclosed"}, {"x(unclosed"}, {}},
        {{across}, {}, {"日月"}, substring, none, CS_SJIS},
        // An expression must match the whole text; an alternative that
        // matches only a head of it gives way to one that matches all.
        {{"abc"}, {"abc"}, {"xabcx", "abc\n"}, expression},
        {{".*abc.*"}, {"xabcx"}, {"xABCx"}, expression},
        {{"a|ab"}, {"ab"}, {}, expression},
        {{"(a)|b\\1"}, {"b"}, {}, expression},   // an unset group matches empty
        {{"\\u6771\\u4eac.*"}, {"東京タワー"}, {}, expression},
        {{"東.", "\\d{4}/\\d{1,2}/\\d{1,2}"}, {"東京", "2016/3/25"}, {"東京都"}, expression},
        // Shift-JIS words match by character, not by byte.
        {{tokyo + "...."}, {}, {"東京タワー"}, expression, none, CS_SJIS},
        {{tokyo + "..."}, {"東京タワー"}, {}, expression, none, CS_SJIS},
        // As in ECMAScript: \s takes every blank, the ideographic and
        // no-break spaces among them; [^] is any character and [] none.
        {{"東京\\s都"}, {"東京\u3000都", "東京\u00A0都", "東京\t都"}, {}, expression},
        {{"東京\\S都"}, {"東京の都"}, {"東京\u3000都"}, expression},
        {{"東京[\\s]都"}, {"東京\u3000都"}, {}, expression},
        {{"東京[^\\s]都"}, {}, {"東京\u3000都"}, expression},
        {{"東[^]京"}, {"東\n京"}, {}, expression},
        {{"東[]京"}, {}, {"東京"}, expression},
        {{"(?:東)(?<c>京)(?=都)都"}, {"東京都"}, {}, expression},
        {{"東京{1}都"}, {"東京都"}, {}, expression},
        // Folds match text written another way, as a Japanese user means
        // it; each fold does its own part alone.
        {{"ＡＢＣ"}, {"abc", "ABC", "xＡｂｃx"}, {"ＡＢ", "xyz"}, substring, case_width},
        {{"abc"}, {"ＡＢＣ", "ａｂｃ", "ABC"}, {"ａｂ"}, substring, case_width},
        {{"ＡＢＣ"}, {"ａｂｃ", "ＡＢＣ"}, {"abc", "ABC"}, substring, case_only},
        {{"ΣΟΦΊΑ И ЖУК"}, {"σοφία и жук", "Σοφία и Жук"}, {"σοφια и жук"}, substring, case_only},
        {{"ABC"}, {"ＡＢＣ"}, {"abc", "ａｂｃ"}, substring, width_only},
        {{"ｶﾞｲﾄﾞ"}, {"ガイド", "がいど", "ｶﾞｲﾄﾞ"}, {"カイト", "ｶｲﾄ"}, substring, width_kana},
        {{"がいど"}, {"ｶﾞｲﾄﾞ", "ガイド"}, {"かいと"}, substring, width_kana},
        {{"ｶﾞｲﾄﾞ"}, {"ガイド"}, {"がいど"}, substring, width_only},
        {{"がいど"}, {"ガイド"}, {"ｶﾞｲﾄﾞ"}, substring, kana_only},
        {{"パン"}, {"ぱん"}, {"ばん", "ﾊﾟﾝ"}, substring, kana_only},
        {{"東京　都"}, {"東京 都", "東京　都"}, {"東京都"}, substring, width_only},
        {{"ｱｲｳＡ"}, {"あいうa", "アイウＡ"}, {"あいう"}, substring, all},
        {{"ＡＢＣ"}, {"ＡＢＣ"}, {"ABC", "ａｂｃ"}},
        // Folded expressions are caseless; a full-width parenthesis folds
        // to one to match, not to a group.
        {{"ａｂｃ.*", "（がいど）"}, {"ABCdef", "abc", "(ｶﾞｲﾄﾞ)"}, {"ガイド"}, expression, all},
    };
    CellMatcher matcher;
    for (const auto &row : rows) {
        SCOPED_TRACE(row.words[0]);
        std::string bad_word;
        ASSERT_TRUE(matcher.prepare(row.charset, row.words, row.expression, bad_word, row.folds)) << bad_word;
        for (const char *text : row.found) EXPECT_TRUE(matcher.matches(text)) << "found in " << text;
        for (const char *text : row.missed) EXPECT_FALSE(matcher.matches(text)) << "missed in " << text;
    }
    // PCRE-only syntax is refused rather than quietly read another way.
    for (const char *refused : {"(?i)東京", "東京++", "東.*+", "東京{2}+", "\\A東京", "東京\\Z",
                                "(*UCP)東京", "(?#note)東京", "\\Q東京\\E"}) {
        std::string bad_word;
        EXPECT_FALSE(matcher.prepare(CS_UTF8, {refused}, true, bad_word)) << refused;
    }
}

TEST(CellMatcher, CatastrophicExpressionOnTheLongestCellEndsQuickly) {
    CellMatcher matcher;
    std::string bad_word;
    // Every character the expressions need is present, so only running
    // into the work limits ends the exponential backtracking.
    ASSERT_TRUE(matcher.prepare(CS_UTF8, {"(a+)+bc", "(.*a){20}c", "(a|aa)+bc"}, true, bad_word));
    const std::string longest = std::string(XLS_CELL_UTF8_LEN - 4, 'a') + "bxc";
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(matcher.matches(longest));
    EXPECT_FALSE(matcher.matches(std::string(40, 'a') + "bxc"));
    const auto elapsed = std::chrono::steady_clock::now() - start;
    EXPECT_LT(elapsed, std::chrono::seconds(2));
    // An ordinary expression over the same text still matches.
    ASSERT_TRUE(matcher.prepare(CS_UTF8, {"a+b.c", ".*xc"}, true, bad_word));
    EXPECT_TRUE(matcher.matches(longest));
}

}  // namespace

// A number's texts are left out only when no folded word can be in them.
TEST(CellMatcher, FoldedWordsAreLookedForInWhatFoldedNumberTextsCanHold) {
    ByteSet digits;
    digits.add("0123456789,.-");
    ByteSet month_names;
    month_names.add("JanFebMar 0123456789");
    const struct {
        zscan::FoldOptions folds;
        const char *word;
        const ByteSet &texts;
        bool possible;
    } cases[] = {
        {{false, true, false}, "１２３", digits, true},
        {{false, false, false}, "１２３", digits, false},
        {{true, false, false}, "JAN", month_names, true},
        {{false, false, false}, "JAN", month_names, false},
        {{true, true, true}, "ZQXNEEDLE", month_names, false},
        {{true, true, true}, "東京", digits, false},
    };
    for (const auto &row : cases) {
        CellMatcher matcher;
        std::string bad_word;
        ASSERT_TRUE(matcher.prepare(CS_UTF8, {row.word}, false, bad_word, row.folds));
        EXPECT_EQ(matcher.may_match_within(row.texts), row.possible) << row.word;
    }
}
