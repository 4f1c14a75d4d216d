// The argument lexer in its four variants and the word reader built on it:
// blanks, '=', quotes, operators, the trailing ';', double-byte characters
// whose trail bytes look like ASCII, and over-long tokens.
#include "arg_lexer.h"
#include "word_reader.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// All tokens of a text, with "<rc>" appended when the lexer stops with a
// code other than the end.
std::vector<std::string> tokens(std::string_view text, LexVariant variant, int charset = CS_SJIS) {
    ArgLexer lexer{text, 0, charset, variant};
    std::vector<std::string> out;
    std::string token;
    for (;;) {
        int rc = ozw_lex_next(lexer, token);
        if (rc == LEX_END) break;
        if (rc != 0) {
            out.push_back("<" + std::to_string(rc) + ">");
            break;
        }
        out.push_back(token);
    }
    return out;
}

using V = std::vector<std::string>;

TEST(ArgLexer, KeysEqualsAndValues) {
    EXPECT_EQ(tokens("EXCEL=\"C:\\a b.xlsx\"  MODE=UNLOAD", LEX_ARGUMENT),
              (V{"EXCEL", "=", "\"C:\\a b.xlsx\"", "MODE", "=", "UNLOAD"}));
    EXPECT_EQ(tokens(" \t\r\nkey\t=\r\nvalue\n", LEX_ARGUMENT), (V{"key", "=", "value"}));
    EXPECT_EQ(tokens("a==b", LEX_ARGUMENT), (V{"a", "=", "=", "b"}));
    EXPECT_EQ(tokens("EXCEL \"a.xlsx\"", LEX_ARGUMENT), (V{"EXCEL", "\"a.xlsx\""}));
    EXPECT_EQ(tokens("EXCEL=", LEX_ARGUMENT), (V{"EXCEL", "="}));
    EXPECT_EQ(tokens("", LEX_ARGUMENT), V{});
    EXPECT_EQ(tokens("   ", LEX_ARGUMENT), V{});
    // The text ends at a NUL byte even inside the view.
    EXPECT_EQ(tokens(std::string_view("a\0b", 3), LEX_ARGUMENT), V{"a"});
}

TEST(ArgLexer, QuotesStayAndEndBareTokens) {
    EXPECT_EQ(tokens("ab\"c d\"ef", LEX_ARGUMENT), (V{"ab", "\"c d\"", "ef"}));
    EXPECT_EQ(tokens("x='it is' y", LEX_ARGUMENT), (V{"x", "=", "'it is'", "y"}));
    EXPECT_EQ(tokens("k=\"a=b\"", LEX_ARGUMENT), (V{"k", "=", "\"a=b\""}));
    // Doubled quotes stand for one only in the values and expression variants.
    EXPECT_EQ(tokens("A1=\"say \"\"hi\"\"\"", LEX_VALUES), (V{"A1", "=", "\"say \"hi\"\""}));
    EXPECT_EQ(tokens("\"a\"\"b\"", LEX_EXPRESSION), (V{"\"a\"b\""}));
    EXPECT_EQ(tokens("\"a\"\"b\"", LEX_ARGUMENT), (V{"\"a\"b\""})) << "a path may hold a quote";
    EXPECT_EQ(tokens("'a''b'", LEX_ARGUMENT), (V{"'a'", "'b'"}));
    EXPECT_EQ(tokens("A1=\"\"", LEX_VALUES), (V{"A1", "=", "\"\""})) << "an empty value keeps its quotes";
    EXPECT_EQ(tokens("k=\"open to the end", LEX_ARGUMENT), (V{"k", "=", "\"open to the end"}));
}

TEST(ArgLexer, TrailingSemicolonGoesOnlyAtTheEnd) {
    EXPECT_EQ(tokens("a=b;", LEX_ARGUMENT), (V{"a", "=", "b"}));
    EXPECT_EQ(tokens("a;b c;", LEX_ARGUMENT), (V{"a;b", "c"}));
    EXPECT_EQ(tokens("a; b", LEX_ARGUMENT), (V{"a;", "b"}));
    EXPECT_EQ(tokens("b;;", LEX_ARGUMENT), (V{"b;"})) << "one semicolon only";
    EXPECT_EQ(tokens("k=\"v\";", LEX_VALUES), (V{"k", "=", "\"v\""})) << "a lone ';' is no token";
}

TEST(ArgLexer, ExpressionOperatorsStandAlone) {
    EXPECT_EQ(tokens("SUM(A1,B2)*-3^2%", LEX_EXPRESSION),
              (V{"SUM", "(", "A1", ",", "B2", ")", "*", "-", "3", "^", "2", "%"}));
    EXPECT_EQ(tokens("a+b/c", LEX_ARGUMENT), (V{"a+b/c"}));
    EXPECT_EQ(tokens("\"x+y\"+1", LEX_EXPRESSION), (V{"\"x+y\"", "+", "1"}));
}

TEST(ArgLexer, DoubleByteCharactersAreCopiedWhole) {
    // Shift-JIS: 0x81 0x40 is the full-width space (its trail byte is '@',
    // not a blank), 0x95 0x5C has a backslash trail byte, 0x83 0x3D an '='.
    EXPECT_EQ(tokens("\x95\x5C=\x83\x3D\x81\x40x y", LEX_ARGUMENT), (V{"\x95\x5C", "=", "\x83\x3D\x81\x40x", "y"}));
    // A trail byte 0x7C '|' and a quoted Japanese value.
    EXPECT_EQ(tokens("\x83\x7C\"\x82\xA0 \x82\xA2\"", LEX_ARGUMENT), (V{"\x83\x7C", "\"\x82\xA0 \x82\xA2\""}));
    // The same bytes read as EUC-JP: 0x95 is no lead byte there.
    EXPECT_EQ(tokens("\xA4\x20\xA2", LEX_ARGUMENT, CS_EUC), (V{"\xA4\x20\xA2"}));
    EXPECT_EQ(tokens("\xA4\x20\xA2", LEX_ARGUMENT, CS_UTF8), (V{"\xA4", "\xA2"}));
    // UTF-8: a three-byte character is taken whole.
    EXPECT_EQ(tokens("\xE3\x80\x80=1", LEX_ARGUMENT, CS_UTF8), (V{"\xE3\x80\x80", "=", "1"}));
    // A lead byte at the very end does not read past the text.
    EXPECT_EQ(tokens("ab\x82", LEX_ARGUMENT), (V{"ab\x82"}));
}

TEST(ArgLexer, OverlongTokensFailAtTheVariantLimit) {
    std::string at_limit(4000, 'k');
    EXPECT_EQ(tokens(at_limit + "=v", LEX_ARGUMENT), (V{at_limit, "=", "v"}));
    EXPECT_EQ(tokens(at_limit + "k=v", LEX_ARGUMENT), (V{"<-9>"})) << "and nothing after it";
    EXPECT_TRUE(tokens(at_limit + ";", LEX_ARGUMENT) == V{at_limit}) << "the ';' is dropped before the check";
    EXPECT_EQ(tokens(std::string(4002, 'e'), LEX_EXPRESSION).size(), 1u);
    EXPECT_EQ(tokens(std::string(4003, 'e'), LEX_EXPRESSION), (V{"<-9>"}));
    std::string quoted = "\"" + std::string(65534, 'v') + "\"";
    EXPECT_EQ(tokens("A1=" + quoted, LEX_VALUES), (V{"A1", "=", quoted}));
    EXPECT_EQ(tokens("A1=" + quoted + "x", LEX_VALUES), (V{"A1", "=", quoted, "x"}));
    EXPECT_EQ(tokens("A1=\"" + std::string(65536, 'v') + "\"", LEX_VALUES), (V{"A1", "=", "<-9>"}));
    // A caller may read a key with a tighter limit.
    ArgLexer keys{"abcdef=1", 0, CS_SJIS, LEX_VALUES, 5};
    std::string token;
    EXPECT_EQ(ozw_lex_next(keys, token), LEX_TOO_LONG);
}

std::vector<std::string> words(std::string_view text) {
    std::vector<std::string> out;
    int rc = orb_split_words(CS_SJIS, text, out);
    if (rc) out.push_back("<" + std::to_string(rc) + ">");
    return out;
}

TEST(WordReader, SplitsSearchWordsAndSettingsLines) {
    EXPECT_EQ(words("abc def"), (V{"abc", "def"}));
    EXPECT_EQ(words("a=b"), (V{"a", "=", "b"}));
    EXPECT_EQ(words("FOLDER=\"C:\\My Data\""), (V{"FOLDER", "=", "\"C:\\My Data\""}));
    EXPECT_EQ(words("\"quoted word\"x"), (V{"\"quoted word\"", "x"}));
    EXPECT_EQ(words("in\"side"), (V{"in", "\"side"}));
    EXPECT_EQ(words("last;"), (V{"last"}));
    EXPECT_EQ(words("\t\r\n"), V{});
    // A full-width space does not split here (folding happens before).
    EXPECT_EQ(words("\x8C\x9F\x81\x40\x8D\xF5"), (V{"\x8C\x9F\x81\x40\x8D\xF5"}));
    // Trail bytes 0x5C and 0x7C stay inside their characters.
    EXPECT_EQ(words("\x95\x5C \x83\x7C"), (V{"\x95\x5C", "\x83\x7C"}));
}

TEST(WordReader, SingleQuotesCloseOnlyAfterAnotherCharacter) {
    EXPECT_EQ(words("'a b' c"), (V{"'a b'", "c"}));
    // A quote right after the opening quote does not close the word.
    EXPECT_EQ(words("''x y' z"), (V{"''x y'", "z"}));
    EXPECT_EQ(words("'it''s"), (V{"'it'", "'s"}));
}

TEST(WordReader, AnOverlongWordEndsTheText) {
    std::vector<std::string> out;
    std::string text = "first " + std::string(4001, 'w') + " after";
    EXPECT_EQ(orb_split_words(CS_SJIS, text, out), -9);
    EXPECT_EQ(out, V{"first"});
    size_t position = 0;
    std::string word;
    EXPECT_EQ(orb_read_word(CS_SJIS, std::string(4000, 'w'), position, word), 0);
    EXPECT_EQ(word.size(), 4000u);
    EXPECT_EQ(orb_read_word(CS_SJIS, std::string(4000, 'w'), position, word), 1403);
}

}  // namespace
