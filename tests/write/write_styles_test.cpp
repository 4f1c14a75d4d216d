// Style tables of a book being written: records are shared, not repeated,
// and the styles part says exactly what the tables hold.
#include "styles.h"

#include "package_parts.h"
#include "write_test_book.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// A new book and its style tables.
struct NewBook : WriteTestBook {
    StyleTables &styles() { return *ozw_styles(get()); }
};

TEST(WriteStyles, EqualRecordsAreSharedAcrossManyCells) {
    NewBook fresh;
    std::vector<XLS_CELL> cells(1000, XLS_CELL{XLS_CELL_EMPTY, 0, 0, nullptr, nullptr, nullptr});
    for (XLS_CELL &cell : cells) ASSERT_EQ(ozw_set_cell_alignment(fresh.get(), cell, 22), 0);
    EXPECT_EQ(fresh.styles().xfs.size(), 9u);
    for (const XLS_CELL &cell : cells) EXPECT_EQ(cell.style, 9u);
}

TEST(WriteStyles, FontChangesFindExistingRecordsAndKeepTheOtherFields) {
    NewBook fresh;
    XLS_CELL cell{XLS_CELL_EMPTY, 0, 0, nullptr, nullptr, nullptr};
    FontRecord bold;
    bold.flags = FONT_BOLD;
    ASSERT_EQ(ozw_set_cell_font(fresh.get(), cell, FONT_FIELD_STYLE, bold), 0);
    ASSERT_EQ(ozw_set_cell_font(fresh.get(), cell, FONT_FIELD_STYLE, FontRecord{}), 0);
    EXPECT_EQ(fresh.styles().fonts.size(), 4u);   // only the bold font was added
    EXPECT_EQ(ozw_cell_xf(fresh.get(), cell).font, 0u) << "regular again finds the regular font";

    ASSERT_EQ(ozw_set_cell_alignment(fresh.get(), cell, 13), 0);
    FontRecord italic;
    italic.flags = FONT_ITALIC;
    italic.size = 20;   // not in the mask: must not be taken
    ASSERT_EQ(ozw_set_cell_font(fresh.get(), cell, FONT_FIELD_STYLE, italic), 0);
    const XfRecord xf = ozw_cell_xf(fresh.get(), cell);
    EXPECT_EQ(xf.alignment, 13);
    EXPECT_EQ(fresh.styles().fonts[xf.font].size, 11);
    EXPECT_EQ(fresh.styles().fonts[xf.font].flags, FONT_ITALIC);
}

TEST(WriteStyles, FullTablesAreRefusedWithTheLimitMessage) {
    NewBook fresh;
    fresh.styles().fonts.resize(MAX_FONT);
    FontRecord odd;
    odd.size = 99;
    EXPECT_EQ(ozw_set_font(fresh.get(), odd), -9);
    EXPECT_NE(std::string(fresh.get()->log.error_info).find("ozw_set_font() MAX_FONT"), std::string::npos);
    FontRecord regular;
    EXPECT_EQ(ozw_set_font(fresh.get(), regular), 0);   // an existing record is still found

    fresh.styles().xfs.resize(MAX_XF);
    XfRecord xf;
    xf.indent = 3;
    EXPECT_EQ(ozw_set_xf(fresh.get(), xf), -9);
    EXPECT_NE(std::string(fresh.get()->log.error_info).find("ozw_set_xf() MAX_XF"), std::string::npos);
}

TEST(WriteStylesPart, WrapFlagAndCustomFontNameAreWrittenSafely) {
    NewBook fresh;
    XLS_CELL cell{XLS_CELL_EMPTY, 0, 0, nullptr, nullptr, nullptr};
    ASSERT_EQ(ozw_set_cell_alignment_flags(fresh.get(), cell, ALIGN_WRAP), 0);
    FontRecord custom;
    custom.name_code = -1;
    custom.name = "A&B \"Mono\"";
    ASSERT_EQ(ozw_set_cell_font(fresh.get(), cell, FONT_FIELD_NAME, custom), 0);
    std::string part;
    ozw_xml_styles(fresh.get(), part);
    EXPECT_NE(part.find("<alignment horizontal=\"left\" wrapText=\"1\"/>"), std::string::npos);
    EXPECT_NE(part.find("<name val=\"A&amp;B &quot;Mono&quot;\"/>"), std::string::npos);
}

}  // namespace
