// The argument lexer in its variants: blanks, '=', quotes, operators, the
// trailing ';', double-byte characters whose trail bytes look like ASCII,
// and over-long tokens.
#include "arg_lexer.h"

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

TEST(ArgLexer, TokensOfEachVariant) {
    const struct {
        std::string_view text;
        LexVariant variant;
        V tokens;
    } cases[] = {
        {"EXCEL=\"C:\\a b.xlsx\"  MODE=UNLOAD", LEX_ARGUMENT, {"EXCEL", "=", "\"C:\\a b.xlsx\"", "MODE", "=", "UNLOAD"}},
        {" \t\r\nkey\t=\r\nvalue\n", LEX_ARGUMENT, {"key", "=", "value"}},
        {"EXCEL \"a.xlsx\"", LEX_ARGUMENT, {"EXCEL", "\"a.xlsx\""}},
        {std::string_view("a\0b", 3), LEX_ARGUMENT, {"a"}},   // the text ends at a NUL byte
        {"ab\"c d\"ef", LEX_ARGUMENT, {"ab", "\"c d\"", "ef"}},
        {"k=\"a=b\"", LEX_ARGUMENT, {"k", "=", "\"a=b\""}},
        // Doubled quotes stand for one only in values and expressions.
        {"A1=\"say \"\"hi\"\"\"", LEX_VALUES, {"A1", "=", "\"say \"hi\"\""}},
        {"\"a\"\"b\"", LEX_ARGUMENT, {"\"a\"b\""}},
        {"'a''b'", LEX_ARGUMENT, {"'a'", "'b'"}},
        {"k=\"open to the end", LEX_ARGUMENT, {"k", "=", "\"open to the end"}},
        // One trailing ';' goes, and only at the end.
        {"a;b c;", LEX_ARGUMENT, {"a;b", "c"}},
        {"b;;", LEX_ARGUMENT, {"b;"}},
        {"SUM(A1,B2)*-3^2%", LEX_EXPRESSION, {"SUM", "(", "A1", ",", "B2", ")", "*", "-", "3", "^", "2", "%"}},
        {"a+b/c", LEX_ARGUMENT, {"a+b/c"}},
    };
    for (const auto &c : cases) EXPECT_EQ(tokens(c.text, c.variant), c.tokens) << c.text;
}

TEST(ArgLexer, DoubleByteCharactersAreCopiedWhole) {
    // Shift-JIS: 0x81 0x40 is the full-width space (its trail byte is '@',
    // not a blank), 0x95 0x5C has a backslash trail byte, 0x83 0x3D an '='.
    EXPECT_EQ(tokens("\x95\x5C=\x83\x3D\x81\x40x y", LEX_ARGUMENT), (V{"\x95\x5C", "=", "\x83\x3D\x81\x40x", "y"}));
    // A trail byte 0x7C '|' and a quoted Japanese value.
    EXPECT_EQ(tokens("\x83\x7C\"\x82\xA0 \x82\xA2\"", LEX_ARGUMENT), (V{"\x83\x7C", "\"\x82\xA0 \x82\xA2\""}));
    // In EUC-JP 0xA4 leads a character; in UTF-8 it is no lead byte.
    EXPECT_EQ(tokens("\xA4\x20\xA2", LEX_ARGUMENT, CS_EUC), (V{"\xA4\x20\xA2"}));
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

}  // namespace
