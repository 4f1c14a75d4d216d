// Character sets: the EUC-JP arithmetic both ways, conversions through
// UTF-16 with their lengths, and the text routines that must not take a
// trail byte for ASCII.
#include "charset.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

// Converts in place in a buffer with a guard area, checking that nothing
// is written past the reported length and its terminator.
std::string convert_in_place(int from, int to, const std::string &text) {
    char buffer[256];
    std::memset(buffer, '#', sizeof buffer);
    std::memcpy(buffer, text.data(), text.size());
    buffer[text.size()] = '\0';
    int length = static_cast<int>(text.size());
    EXPECT_EQ(orb_convert(from, to, buffer, &length), 0);
    EXPECT_EQ(buffer[length], '\0');
    size_t touched = std::max<size_t>(static_cast<size_t>(length) + 1, text.size() + 1);
    for (size_t i = touched; i < sizeof buffer; ++i)
        if (buffer[i] != '#') {
            ADD_FAILURE() << "byte " << i << " written past the converted text";
            break;
        }
    for (size_t i = static_cast<size_t>(length); i < text.size(); ++i)
        EXPECT_EQ(buffer[i], '\0') << "the rest of the old length is zeroed";
    return std::string(buffer, static_cast<size_t>(length));
}

TEST(Charset, EucAndShiftJisArithmeticBothWays) {
    EXPECT_EQ(convert_in_place(CS_SJIS, CS_EUC, "\x88\x9F"), "\xB0\xA1");
    EXPECT_EQ(convert_in_place(CS_EUC, CS_SJIS, "\xB0\xA1"), "\x88\x9F");
    // Half-width katakana gains and loses the single shift.
    EXPECT_EQ(convert_in_place(CS_SJIS, CS_EUC, "a\xB1z"), "a\x8E\xB1z");
    EXPECT_EQ(convert_in_place(CS_EUC, CS_SJIS, "\x8E\xB1\x41"), "\xB1\x41");
    // Odd and even rows, lead bytes above 0x9F and trail bytes either side
    // of 0x7F, all round trip.
    const char *samples[] = {"\x81\x40", "\x82\xA0", "\x93\xFA\x96\x7B", "\x95\x5C", "\x88\x7E",
                             "\x88\x80", "\xE0\x40", "\xEA\xA4", "\x9F\xFC", "ABC"};
    for (const char *sjis : samples) {
        std::string euc = convert_in_place(CS_SJIS, CS_EUC, sjis);
        for (unsigned char c : euc) EXPECT_TRUE(c < 0x80 || c >= 0xA1) << "EUC bytes of " << sjis;
        EXPECT_EQ(convert_in_place(CS_EUC, CS_SJIS, euc), sjis);
    }
    EXPECT_EQ(convert_in_place(CS_SJIS, CS_EUC, "\x93\xFA\x96\x7B"), "\xC6\xFC\xCB\xDC") << "Nihon";
}

TEST(Charset, UnicodeConversionsUpdateTheLength) {
    const std::string sjis = "\x93\xFA\x96\x7B\x8C\xEA abc \xB1";   // Nihongo abc half-width A
    const std::string utf8 = "\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E abc \xEF\xBD\xB1";
    EXPECT_EQ(convert_in_place(CS_SJIS, CS_UTF8, sjis), utf8);
    EXPECT_EQ(convert_in_place(CS_UTF8, CS_SJIS, utf8), sjis);
    EXPECT_EQ(convert_in_place(CS_EUC, CS_UTF8, orb_convert(CS_SJIS, CS_EUC, sjis)), utf8);
    EXPECT_EQ(convert_in_place(CS_UTF8, CS_EUC, utf8), orb_convert(CS_SJIS, CS_EUC, sjis));

    const std::string body("\x65\xE5\x67\x2C\x8A\x9E\x00 \x00" "a\x00" "b\x00" "c\x00 \xFF\x71", 18);
    EXPECT_EQ(orb_convert(CS_UTF16BE, CS_UTF8, body), utf8);
    EXPECT_EQ(orb_convert(CS_UTF16BE, CS_SJIS, body), sjis);
    EXPECT_EQ(orb_convert(CS_UTF16BE, CS_EUC, body), orb_convert(CS_SJIS, CS_EUC, sjis));

    // A surrogate pair survives UTF-16BE to UTF-8.
    EXPECT_EQ(orb_convert(CS_UTF16BE, CS_UTF8, std::string("\xD8\x3D\xDE\x00", 4)), "\xF0\x9F\x98\x80");
}

TEST(Charset, MissingCharactersAndUnknownPairs) {
    // e-acute and an emoji have no Shift-JIS form: they become question marks.
    EXPECT_EQ(convert_in_place(CS_UTF8, CS_SJIS, "Sheet\xC3\xA9\xF0\x9F\x98\x80"), "Sheet???");
    EXPECT_EQ(convert_in_place(CS_SJIS, CS_SJIS, "\x82\xA0"), "\x82\xA0");
    EXPECT_EQ(orb_convert(CS_SJIS, CS_UTF16BE, "abc"), "abc") << "no such pair: unchanged";
    EXPECT_EQ(orb_convert(CS_WIDE5, CS_UTF8, "abc"), "abc");
    EXPECT_EQ(convert_in_place(CS_UTF8, CS_SJIS, ""), "");
    // The growth bound callers size their buffers by: 2 Shift-JIS bytes
    // become 3 UTF-8 bytes.
    std::string kana(40, '\0');
    for (size_t i = 0; i < kana.size(); i += 2) kana.replace(i, 2, "\x82\xA0");
    EXPECT_EQ(convert_in_place(CS_SJIS, CS_UTF8, kana).size(), 60u);
}

TEST(Charset, UpperCaseSkipsQuotedRunsAndDoubleByteCharacters) {
    const struct {
        const char *before, *after;
        int rc;
    } cases[] = {
        {"abc'def'ghi", "ABC'def'GHI", 0},
        {"o'brien", "O'brien", -1},   // letters before a quote never closed are changed
        {"a'it''s'b\"q\"c", "A'it''s'B\"q\"C", 0},   // two single quotes inside stand for one
        // 0x82 0x61 is a full-width letter whose trail byte is 'a'; 0x83 0x27
        // hides a quote character.
        {"\x82\x61x\x83\x27y", "\x82\x61X\x83\x27Y", 0},
        {"a\x82", "A\x82", 0},   // a lead byte cut off by the terminator
    };
    for (const auto &c : cases) {
        char text[64];
        std::strcpy(text, c.before);
        EXPECT_EQ(orb_upper(CS_SJIS, text), c.rc) << c.before;
        EXPECT_STREQ(text, c.after);
    }
}

}  // namespace
