// Texts put into XML parts: whatever a cell or path holds, the part stays
// well-formed and readers get the text back.
#include "write/xml_compose.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(WriteXmlCompose, ReservedCharactersBecomeEntities) {
    EXPECT_EQ(ozw_xml_escaped("a&b<c>d\"e'f"), "a&amp;b&lt;c&gt;d&quot;e'f");
    EXPECT_EQ(ozw_xml_escaped("売上 2016"), "売上 2016");
}

TEST(WriteXmlCompose, CharactersXmlCannotCarryUseTheSpreadsheetEscape) {
    EXPECT_EQ(ozw_xml_escaped(std::string("a\x01" "b\x1f" "c", 5)), "a_x0001_b_x001F_c");
    EXPECT_EQ(ozw_xml_escaped("line1\r\nline2\tend"), "line1_x000D_\nline2\tend");
    // A literal escape look-alike keeps its text when read back.
    EXPECT_EQ(ozw_xml_escaped("_x0041_ and _x41_ and _xZZZZ_"), "_x005F_x0041_ and _x41_ and _xZZZZ_");
}

TEST(WriteXmlCompose, InvalidUtf8BecomesQuestionMarks) {
    EXPECT_EQ(ozw_xml_escaped("ok\xE3\x81"), "ok??");                 // cut inside a character
    EXPECT_EQ(ozw_xml_escaped("\xC0\xAF|\xED\xA0\x80|\xEF\xBF\xBE"), "??|???|???");  // overlong, surrogate, U+FFFE
    EXPECT_EQ(ozw_xml_escaped("\xF0\x9F\x98\x80"), "\xF0\x9F\x98\x80");  // a character beyond the BMP stays
}

TEST(WriteXmlCompose, AppendfGrowsForLongTexts) {
    std::string out = "x";
    std::string long_text(5000, 'y');
    ozw_appendf(out, "<%s>%d", long_text.c_str(), 7);
    EXPECT_EQ(out, "x<" + long_text + ">7");
}

}  // namespace
