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

TEST(CellMatcher, ShiftJisTextIsMatchedByCharacter) {
    const std::string tokyo = orb_convert(CS_UTF8, CS_SJIS, "東京");
    const std::string tower = orb_convert(CS_UTF8, CS_SJIS, "東京タワー");
    CellMatcher matcher;
    prepared(matcher, {tokyo + "...."}, true, CS_SJIS);
    EXPECT_FALSE(matcher.matches(tower));   // five characters, not three bytes each
    prepared(matcher, {tokyo + "..."}, true, CS_SJIS);
    EXPECT_TRUE(matcher.matches(tower));
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
