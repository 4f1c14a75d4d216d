// The text decoding of package parts: entities, character references and
// the spreadsheet escapes.
#include "xml_text.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string decoded_text(std::string_view raw) {
    std::string out;
    xml_decode_text(raw, out);
    return out;
}

std::string decoded_attribute(std::string_view raw) {
    std::string out;
    xml_decode_entities(raw, out);
    return out;
}

TEST(XlsxTextDecoding, DecodesEntitiesAndEveryCharacterReference) {
    EXPECT_EQ(decoded_text("a&amp;b&lt;c&gt;d&quot;e&apos;f"), "a&b<c>d\"e'f");
    EXPECT_EQ(decoded_text("&#22770;&#x58F2;&#X58f2;"), "売売売");
    EXPECT_EQ(decoded_text("1&#10;2&#xD;3&#x9;4&#x20;5"), "1\n2\r3\t4 5");
    EXPECT_EQ(decoded_text("&#x20BB7;"), "\xF0\xA0\xAE\xB7");
}

TEST(XlsxTextDecoding, LeavesUnknownAndBrokenReferencesAsWritten) {
    EXPECT_EQ(decoded_text("&nbsp; &; & &#; &#xZZ; &#0; &#xD800; &#x110000; &amp"), "&nbsp; &; & &#; &#xZZ; &#0; &#xD800; &#x110000; &amp");
    EXPECT_EQ(decoded_text("&#99999999999999999999;"), "&#99999999999999999999;");
}

TEST(XlsxTextDecoding, DecodesExcelEscapesInTexts) {
    EXPECT_EQ(decoded_text("a&amp;b_x000D_c"), "a&b\rc");
    EXPECT_EQ(decoded_text("_x000d__x000A_"), "\r\n");
    EXPECT_EQ(decoded_text("_x58F2_"), "売");
    EXPECT_EQ(decoded_text("_xD83D__xDE00_"), "\xF0\x9F\x98\x80");
    EXPECT_EQ(decoded_text("_x001A_"), " ");
    // An escaped underscore keeps the escape text after it literal.
    EXPECT_EQ(decoded_text("_x005F_x000D_"), "_x000D_");
    EXPECT_EQ(decoded_text("snake_case_x_"), "snake_case_x_");
    EXPECT_EQ(decoded_text("_x00G1_ _x0041 _xD83D_"), "_x00G1_ _x0041 _xD83D_");
    EXPECT_EQ(decoded_text("_x0000_"), "_x0000_");
}

TEST(XlsxTextDecoding, LineEndsWrittenInTheTextBecomeLineFeeds) {
    EXPECT_EQ(decoded_text("a\r\nb\rc\n\r"), "a\nb\nc\n\n");
    EXPECT_EQ(decoded_text("a&#13;\r\nb_x000D_\r\n"), "a\r\nb\r\n");
}

TEST(XlsxTextDecoding, AttributeValuesKeepExcelEscapes) {
    EXPECT_EQ(decoded_attribute("Q&amp;A_x000D_"), "Q&A_x000D_");
}

}  // namespace
