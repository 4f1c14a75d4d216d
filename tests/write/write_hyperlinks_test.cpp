// Hyperlinks: which cells may carry them, what is stored, the style the
// cell gets, and the elements and relationships written for them.
#include "hyperlinks.h"

#include "package_parts.h"
#include "styles.h"
#include "value_typing.h"
#include "write_test_book.h"

#include <gtest/gtest.h>

#include <string>

namespace {

class WriteHyperlinks : public ::testing::Test {
protected:
    void SetUp() override {
        for (int column = 0; column < 4; ++column) ASSERT_EQ(ozw_put_cell(book.get(), 0, 1, column, "x"), 0);
    }
    const std::vector<SheetHyperlink> &links() {
        return static_cast<SheetExtras *>(book.get()->sheets[0].extension)->hyperlinks;
    }
    std::string worksheet() {
        std::string out;
        ozw_xml_worksheet(book.get(), 0, out);
        return out;
    }
    std::string rels() {
        std::string out;
        ozw_xml_sheet_rels(book.get(), 0, out);
        return out;
    }
    WriteTestBook book;
};

TEST_F(WriteHyperlinks, LinkKindsAndTheirElements) {
    ASSERT_EQ(OXLS_sheet_hyperlink(book.get(), "A2", "Sheet'2", "C5"), 0);
    ASSERT_EQ(OXLS_book_hyperlink(book.get(), "B2", "/books/other.xlsx", "", ""), 0);
    ASSERT_EQ(OXLS_book_hyperlink(book.get(), "C2", "/books/other.xlsx", "表", ""), 0);
    std::string sheet = worksheet();
    EXPECT_NE(sheet.find("<hyperlink ref=\"A2\" location=\"'Sheet''2'!C5\" display=\"Sheet'2\"/>"),
              std::string::npos);
    EXPECT_NE(sheet.find("<hyperlink ref=\"B2\" r:id=\"rId1\"/>"), std::string::npos);
    EXPECT_NE(sheet.find("<hyperlink ref=\"C2\" r:id=\"rId2\" location=\"'表'!\"/>"), std::string::npos);
    EXPECT_NE(rels().find("Id=\"rId3\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/"
                          "printerSettings\""),
              std::string::npos);
}

TEST_F(WriteHyperlinks, MailAddressesGetMailtoAndPathsStayAsGiven) {
    ASSERT_EQ(OXLS_external_hyperlink(book.get(), "A2", "someone@example.com"), 0);
    ASSERT_EQ(OXLS_external_hyperlink(book.get(), "B2", "C:\\work"), 0);
    ASSERT_EQ(OXLS_external_hyperlink(book.get(), "C2", "a.b@c"), 0);   // no "." after the "@"
    EXPECT_EQ(links()[0].target, "mailto:someone@example.com");
    EXPECT_EQ(links()[1].target, "C:\\work");
    EXPECT_EQ(links()[2].target, "a.b@c");
}

TEST_F(WriteHyperlinks, ReservedCharactersInTargetsAndSheetNamesStayValid) {
    ASSERT_EQ(OXLS_book_hyperlink(book.get(), "A2", "/tmp/R&D <new> \"x\".xlsx", "A&B<\"", "A1"), 0);
    EXPECT_NE(worksheet().find("location=\"'A&amp;B&lt;&quot;'!A1\""), std::string::npos);
    EXPECT_NE(rels().find("Target=\"/tmp/R&amp;D &lt;new&gt; &quot;x&quot;.xlsx\""), std::string::npos);
}

TEST_F(WriteHyperlinks, RefusedLinksLeaveNoRecord) {
    EXPECT_EQ(OXLS_external_hyperlink(book.get(), "A3", "x"), -3);    // row never written
    EXPECT_EQ(OXLS_external_hyperlink(book.get(), "E2", "x"), -3);    // beyond the row's last cell
    EXPECT_EQ(OXLS_external_hyperlink(book.get(), "2A", "x"), -3);    // no cell name
    EXPECT_EQ(OXLS_sheet_hyperlink(book.get(), "A2", "S", "ZZZZ1"), -3);
    std::string long_name(94, 'n');
    EXPECT_EQ(OXLS_sheet_hyperlink(book.get(), "A2", long_name.c_str(), "A1"), -3);
    EXPECT_EQ(OXLS_sheet_hyperlink(book.get(), "A2", long_name.substr(1).c_str(), "A1"), 0);
    EXPECT_EQ(links().size(), 1u);
    EXPECT_EQ(OXLS_error_code(book.get()), 0);
}

TEST_F(WriteHyperlinks, DateCellsKeepTheirDateLookWithALink) {
    ASSERT_EQ(ozw_put_cell(book.get(), 0, 1, 0, "2016/3/25"), 0);
    ASSERT_EQ(OXLS_external_hyperlink(book.get(), "A2", "http://example.com/"), 0);
    ASSERT_EQ(OXLS_external_hyperlink(book.get(), "B2", "http://example.com/"), 0);
    EXPECT_EQ(book.get()->sheets[0].rows[1].cells[0].style, STYLE_HYPERLINK_DATE);
    EXPECT_EQ(book.get()->sheets[0].rows[1].cells[1].style, STYLE_HYPERLINK);
}

}  // namespace
