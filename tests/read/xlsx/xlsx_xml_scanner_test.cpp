// The text decoding of package parts: entities, character references and
// the spreadsheet escapes.
#include "xml_text.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// Each row: what a text holds as written in a part, and what it holds once
// decoded.
TEST(XlsxTextDecoding, EntitiesReferencesExcelEscapesAndLineEnds) {
    const std::pair<const char *, const char *> rows[] = {
        {"a&amp;b&lt;c&gt;d&quot;e&apos;f", "a&b<c>d\"e'f"},
        {"&#22770;&#x58F2;&#X58f2;", "売売売"},
        {"1&#10;2&#xD;3&#x9;4&#x20;5", "1\n2\r3\t4 5"},
        {"&#x20BB7;", "\xF0\xA0\xAE\xB7"},
        // Unknown and broken references stay as written.
        {"&nbsp; &; & &#; &#xZZ; &#0; &#xD800; &#x110000; &amp", "&nbsp; &; & &#; &#xZZ; &#0; &#xD800; &#x110000; &amp"},
        {"&#99999999999999999999;", "&#99999999999999999999;"},
        // Excel's escapes; an escaped underscore keeps the escape text after
        // it literal, and broken escapes stay as written.
        {"_x000d__x000A_", "\r\n"},
        {"_xD83D__xDE00_", "\xF0\x9F\x98\x80"},
        {"_x001A_", " "},
        {"_x005F_x000D_", "_x000D_"},
        {"snake_case_x_", "snake_case_x_"},
        {"_x00G1_ _x0041 _xD83D_", "_x00G1_ _x0041 _xD83D_"},
        {"_x0000_", "_x0000_"},
        // Line ends written in the text become line feeds; referenced ones stay.
        {"a\r\nb\rc\n\r", "a\nb\nc\n\n"},
        {"a&#13;\r\nb_x000D_\r\n", "a\r\nb\r\n"},
    };
    for (const auto &[raw, text] : rows) {
        SCOPED_TRACE(raw);
        std::string out;
        xml_decode_text(raw, out);
        EXPECT_EQ(out, text);
    }
    // Attribute values keep Excel's escapes.
    std::string attribute;
    xml_decode_entities("Q&amp;A_x000D_", attribute);
    EXPECT_EQ(attribute, "Q&A_x000D_");
}

}  // namespace
