// Matching cell texts: byte substrings by default, whole-text regular
// expressions on request.
#include "engine/cell_matcher.h"

#include "charset.h"
#include "oxls.h"

#include <gtest/gtest.h>

#include <chrono>

using zscan::CellMatcher;

namespace {

CellMatcher &prepared(CellMatcher &matcher, std::vector<std::string> words, bool expression,
                      int charset = CS_UTF8) {
    std::string bad_word;
    EXPECT_TRUE(matcher.prepare(charset, words, expression, bad_word)) << bad_word;
    return matcher;
}

TEST(CellMatcher, SubstringMatchIsExactAndCaseSensitive) {
    CellMatcher matcher;
    prepared(matcher, {"abc"}, false);
    EXPECT_TRUE(matcher.matches("xabcx"));
    EXPECT_FALSE(matcher.matches("xABCx"));
    EXPECT_FALSE(matcher.matches(""));
    prepared(matcher, {"\"abc\""}, false);
    EXPECT_FALSE(matcher.matches("abc"));
    EXPECT_TRUE(matcher.matches("say \"abc\" now"));
    // Dates are found in the form the library shows them.
    prepared(matcher, {"2016/3/25"}, false);
    EXPECT_TRUE(matcher.matches("2016/3/25"));
    EXPECT_FALSE(matcher.matches("2016/03/25"));
}

TEST(CellMatcher, ExpressionMustMatchTheWholeText) {
    CellMatcher matcher;
    prepared(matcher, {"abc"}, true);
    EXPECT_TRUE(matcher.matches("abc"));
    EXPECT_FALSE(matcher.matches("xabcx"));
    EXPECT_FALSE(matcher.matches("abc\n"));
    prepared(matcher, {".*abc.*"}, true);
    EXPECT_TRUE(matcher.matches("xabcx"));
    EXPECT_FALSE(matcher.matches("xABCx"));
    // An alternative that matches only a head of the text must give way to
    // one that matches all of it.
    prepared(matcher, {"a|ab"}, true);
    EXPECT_TRUE(matcher.matches("ab"));
    prepared(matcher, {"(a)|b\\1"}, true);
    EXPECT_TRUE(matcher.matches("b"));   // an unset group matches empty
    prepared(matcher, {"\\u6771\\u4eac.*"}, true);
    EXPECT_TRUE(matcher.matches("東京タワー"));
    prepared(matcher, {"東.", "\\d{4}/\\d{1,2}/\\d{1,2}"}, true);
    EXPECT_TRUE(matcher.matches("東京"));
    EXPECT_FALSE(matcher.matches("東京都"));
    EXPECT_TRUE(matcher.matches("2016/3/25"));
    prepared(matcher, {".*"}, true);
    EXPECT_TRUE(matcher.matches(""));
}

TEST(CellMatcher, ExpressionsMeanWhatTheyMeanInEcmaScript) {
    struct Case {
        const char *expression;
        const char *text;
        bool matches;
    };
    // \s takes every ECMAScript blank, the ideographic and no-break spaces
    // among them; [^] is any character and [] none.
    const Case cases[] = {
        {"東京\\s都", "東京\u3000都", true},   {"東京\\s都", "東京\u00A0都", true},
        {"東京\\s都", "東京\t都", true},       {"東京\\S都", "東京\u3000都", false},
        {"東京\\S都", "東京の都", true},        {"東京[\\s]都", "東京\u3000都", true},
        {"東京[^\\s]都", "東京\u3000都", false}, {"東[^]京", "東\n京", true},
        {"東[]京", "東京", false},              {"(?:東)(?<c>京)(?=都)都", "東京都", true},
        {"東京{1}都", "東京都", true},
    };
    CellMatcher matcher;
    for (const Case &c : cases) {
        prepared(matcher, {c.expression}, true);
        EXPECT_EQ(matcher.matches(c.text), c.matches) << c.expression << " on " << c.text;
    }
    // PCRE-only syntax is refused rather than quietly read another way.
    for (const char *refused : {"(?i)東京", "東京++", "東.*+", "東京{2}+", "\\A東京", "東京\\Z",
                                "(*UCP)東京", "(?#note)東京", "\\Q東京\\E"}) {
        std::string bad_word;
        EXPECT_FALSE(matcher.prepare(CS_UTF8, {refused}, true, bad_word)) << refused;
    }
}

TEST(CellMatcher, ShiftJisWordsAreMatchedByCharacter) {
    const std::string tokyo = orb_convert(CS_UTF8, CS_SJIS, "東京");
    CellMatcher matcher;
    prepared(matcher, {tokyo + "...."}, true, CS_SJIS);
    EXPECT_FALSE(matcher.matches("東京タワー"));   // five characters, not three bytes each
    prepared(matcher, {tokyo + "..."}, true, CS_SJIS);
    EXPECT_TRUE(matcher.matches("東京タワー"));
    // A word's bytes never match across two characters of a text: in
    // Shift-JIS, the last byte of 日 and the first of 月 spell another one.
    const std::string across = orb_convert(CS_UTF8, CS_SJIS, "日月").substr(1, 2);
    prepared(matcher, {across}, false, CS_SJIS);
    EXPECT_FALSE(matcher.matches("日月"));
}

TEST(CellMatcher, InvalidExpressionIsNamed) {
    CellMatcher matcher;
    std::string bad_word;
    EXPECT_FALSE(matcher.prepare(CS_UTF8, {"good", "(unclosed", "[z-a]"}, true, bad_word));
    EXPECT_EQ(bad_word, "(unclosed");
    EXPECT_FALSE(matcher.matches("good"));
    // The same word is a plain text for a substring search.
    EXPECT_TRUE(matcher.prepare(CS_UTF8, {"(unclosed"}, false, bad_word));
    EXPECT_TRUE(matcher.matches("x(unclosed"));
}

TEST(CellMatcher, CatastrophicExpressionOnTheLongestCellEndsQuickly) {
    CellMatcher matcher;
    // Every character the expressions need is present, so only running
    // into the work limits ends the exponential backtracking.
    prepared(matcher, {"(a+)+bc", "(.*a){20}c", "(a|aa)+bc"}, true);
    const std::string longest = std::string(XLS_CELL_UTF8_LEN - 4, 'a') + "bxc";
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(matcher.matches(longest));
    EXPECT_FALSE(matcher.matches(std::string(40, 'a') + "bxc"));
    const auto elapsed = std::chrono::steady_clock::now() - start;
    EXPECT_LT(elapsed, std::chrono::seconds(2));
    // An ordinary expression over the same text still matches.
    prepared(matcher, {"a+b.c", ".*xc"}, true);
    EXPECT_TRUE(matcher.matches(longest));
}

}  // namespace

// Words matching text written another way, as a Japanese user means them:
// each row is a fold setting, a word, texts it must find and texts it must
// not.  Each fold does its own part alone.
TEST(CellMatcher, FoldsMatchTheFormsAUserMeansAndNoOthers) {
    using zscan::FoldOptions;
    const FoldOptions none, case_only{true, false, false}, width_only{false, true, false},
        kana_only{false, false, true}, case_width{true, true, false}, width_kana{false, true, true},
        all{true, true, true};
    const struct {
        FoldOptions folds;
        const char *word;
        std::vector<const char *> found, missed;
    } cases[] = {
        {case_width, "ＡＢＣ", {"abc", "ABC", "xＡｂｃx"}, {"ＡＢ", "xyz"}},
        {case_width, "abc", {"ＡＢＣ", "ａｂｃ", "ABC"}, {"ａｂ"}},
        {case_only, "ＡＢＣ", {"ａｂｃ", "ＡＢＣ"}, {"abc", "ABC"}},
        {case_only, "ΣΟΦΊΑ И ЖУК", {"σοφία и жук", "Σοφία и Жук"}, {"σοφια и жук"}},
        {width_only, "ABC", {"ＡＢＣ"}, {"abc", "ａｂｃ"}},
        {width_kana, "ｶﾞｲﾄﾞ", {"ガイド", "がいど", "ｶﾞｲﾄﾞ"}, {"カイト", "ｶｲﾄ"}},
        {width_kana, "がいど", {"ｶﾞｲﾄﾞ", "ガイド"}, {"かいと"}},
        {width_only, "ｶﾞｲﾄﾞ", {"ガイド"}, {"がいど"}},
        {kana_only, "がいど", {"ガイド"}, {"ｶﾞｲﾄﾞ"}},
        {kana_only, "パン", {"ぱん"}, {"ばん", "ﾊﾟﾝ"}},
        {width_only, "東京　都", {"東京 都", "東京　都"}, {"東京都"}},
        {all, "ｱｲｳＡ", {"あいうa", "アイウＡ"}, {"あいう"}},
        {none, "ＡＢＣ", {"ＡＢＣ"}, {"ABC", "ａｂｃ"}},
    };
    for (const auto &row : cases) {
        CellMatcher matcher;
        std::string bad_word;
        ASSERT_TRUE(matcher.prepare(CS_UTF8, {row.word}, false, bad_word, row.folds));
        for (const char *text : row.found) EXPECT_TRUE(matcher.matches(text)) << row.word << " in " << text;
        for (const char *text : row.missed) EXPECT_FALSE(matcher.matches(text)) << row.word << " in " << text;
    }
}

TEST(CellMatcher, FoldedExpressionsAreCaselessAndFoldTheirOwnCharacters) {
    const zscan::FoldOptions all{true, true, true};
    CellMatcher matcher;
    std::string bad_word;
    ASSERT_TRUE(matcher.prepare(CS_UTF8, {"ａｂｃ.*", "（がいど）"}, true, bad_word, all));
    EXPECT_TRUE(matcher.matches("ABCdef"));
    EXPECT_TRUE(matcher.matches("abc"));
    // A full-width parenthesis folds to one to match, not to a group.
    EXPECT_TRUE(matcher.matches("(ｶﾞｲﾄﾞ)"));
    EXPECT_FALSE(matcher.matches("ガイド"));
}

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
