// Texts put into XML parts: whatever a cell or path holds, the part stays
// well-formed and readers get the text back.
#include "xml_compose.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(WriteXmlCompose, TextsAreEscapedSoThePartStaysWellFormed) {
    const struct {
        std::string text;
        const char *xml;
    } cases[] = {
        {"a&b<c>d\"e'f", "a&amp;b&lt;c&gt;d&quot;e'f"},
        {"売上 2016", "売上 2016"},
        // Characters XML cannot carry use the spreadsheet escape; a literal
        // escape look-alike keeps its text when read back.
        {std::string("a\x01" "b\x1f" "c", 5), "a_x0001_b_x001F_c"},
        {"line1\r\nline2\tend", "line1_x000D_\nline2\tend"},
        {"_x0041_ and _x41_ and _xZZZZ_", "_x005F_x0041_ and _x41_ and _xZZZZ_"},
        // Bytes that are no valid UTF-8: cut, overlong, surrogate, U+FFFE.
        {"ok\xE3\x81", "ok??"},
        {"\xC0\xAF|\xED\xA0\x80|\xEF\xBF\xBE", "??|???|???"},
        {"\xF0\x9F\x98\x80", "\xF0\x9F\x98\x80"},
    };
    for (const auto &c : cases) {
        std::string out = "<";
        ozw_append_xml(out, c.text);
        EXPECT_EQ(out, std::string("<") + c.xml) << c.text;
    }
    std::string out = "x";
    const std::string long_text(5000, 'y');
    ozw_appendf(out, "<%s>%d", long_text.c_str(), 7);
    EXPECT_EQ(out, "x<" + long_text + ">7");
}

}  // namespace
