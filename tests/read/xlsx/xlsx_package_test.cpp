// Reading whole packages: which worksheet fills which sheet, owners of
// comments, large part counts, failures, and what the reader leaves behind
// for the writer.
#include "book_record.h"
#include "mfile.h"
#include "work_area.h"
#include "xlsx_test_package.h"

#include <gtest/gtest.h>


namespace {

using namespace xlsx_test;

class XlsxPackage : public ::testing::Test {
protected:
    // Writes the parts as a package and returns its path.
    std::string package(const Parts &parts) {
        std::string path = folder_.file("book" + std::to_string(++count_) + ".xlsx");
        EXPECT_TRUE(write_package(path, parts));
        return path;
    }
    TempFolder folder_;
    int count_ = 0;
};

TEST_F(XlsxPackage, SheetsGetTheCellsOfThePartTheirRelationshipNames) {
    // An absolute target, a dialog sheet (no cells), a worksheet part that
    // no listed sheet names (not read), and a part two sheets name (read
    // once, for the first).
    const std::string sheet = kRelType + "worksheet";
    OpenBook book(package(
        {{"xl/workbook.xml", workbook_xml({"一", "ダイアログ", "三", "四"})},
         {"xl/_rels/workbook.xml.rels",
          rels_part({{"rId1", sheet, "/xl/worksheets/sheet3.xml"},
                     {"rId2", kRelType + "dialogsheet", "dialogsheets/sheet1.xml"},
                     {"rId3", sheet, "worksheets/sheet1.xml"}, {"rId4", sheet, "worksheets/sheet1.xml"}})},
         {"xl/dialogsheets/sheet1.xml", sheet_xml(text_row(1, {"dialog"}))},
         {"xl/worksheets/sheet1.xml", sheet_xml(text_row(1, {"one"}))},
         {"xl/worksheets/sheet2.xml", sheet_xml(text_row(1, {"orphan"}))},
         {"xl/worksheets/sheet3.xml", sheet_xml(text_row(1, {"three"}))}}));
    ASSERT_EQ(book.rc(), 0) << OXLS_error_mesg(book.get());
    ASSERT_EQ(OXLS_sheet_num(book.get()), 4);
    const std::string no_cells = "<rc=" + std::to_string(OXLS_ERR_ROW_RANGE) + ">";
    EXPECT_EQ(book.text(0, "A1"), "three");
    EXPECT_EQ(book.text(1, "A1"), no_cells);
    EXPECT_EQ(book.text(2, "A1"), "one");
    EXPECT_EQ(book.text(3, "A1"), no_cells);
}

TEST_F(XlsxPackage, WithoutWorkbookRelationshipsWorksheetPartsFillTheSheetsInNameOrder) {
    // In byte order sheet10.xml comes before sheet2.xml, so it fills the
    // second listed sheet.
    OpenBook book(package({{"[Content_Types].xml", kContentTypes},
                           {"xl/workbook.xml", workbook_xml({"一", "二", "三"})},
                           {"xl/worksheets/sheet1.xml", sheet_xml(text_row(1, {"one"}))},
                           {"xl/worksheets/sheet2.xml", sheet_xml(text_row(1, {"two"}))},
                           {"xl/worksheets/sheet10.xml", sheet_xml(text_row(1, {"ten"}))}}));
    ASSERT_EQ(book.rc(), 0) << OXLS_error_mesg(book.get());
    EXPECT_EQ(book.text(0, "A1") + book.text(1, "A1") + book.text(2, "A1"), "onetentwo");

    // The sheet count is the number of worksheet parts: a chart sheet listed
    // between two worksheets has none; extra parts get names of their own.
    OpenBook chart(package({{"xl/workbook.xml", workbook_xml({"A", "Chart", "B"})},
                            {"xl/chartsheets/sheet1.xml", "<chartsheet/>"},
                            {"xl/worksheets/sheet1.xml", sheet_xml(text_row(1, {"a"}))},
                            {"xl/worksheets/sheet2.xml", sheet_xml(text_row(1, {"b"}))}}));
    ASSERT_EQ(chart.rc(), 0);
    ASSERT_EQ(OXLS_sheet_num(chart.get()), 2);
    EXPECT_STREQ(chart.get()->sheets[1].name, "Chart");
    OpenBook extra(package({{"xl/workbook.xml", workbook_xml({"only"})},
                            {"xl/worksheets/sheet1.xml", sheet_xml("")},
                            {"xl/worksheets/sheet2.xml", sheet_xml(text_row(3, {"x"}))}}));
    ASSERT_EQ(extra.rc(), 0);
    ASSERT_EQ(OXLS_sheet_num(extra.get()), 2);
    EXPECT_STREQ(extra.get()->sheets[1].name, "Sheet2");
    EXPECT_EQ(extra.text(1, "A3"), "x");
}

TEST_F(XlsxPackage, SharedStringsStylesAndThreadPrefixedParts) {
    std::string path = package(
        {{"xl/workbook.xml", workbook_xml({"S"})},
         {"xl/sharedStrings.xml", "<sst><si><t>zero</t></si><si><r><t>o</t></r><r><t>ne</t></r></si></sst>"},
         {"xl/styles.xml", "<styleSheet><cellXfs><xf numFmtId=\"0\"/><xf numFmtId=\"14\"/></cellXfs></styleSheet>"},
         {"xl/worksheets/sheet1.xml",
          sheet_xml("<row r=\"1\"><c r=\"A1\" t=\"s\"><v>1</v></c><c r=\"B1\" s=\"1\"><v>42454</v></c>"
                    "<c r=\"C1\" t=\"s\"><v>7</v></c></row>")}});
    OpenBook book(path, "UNLOAD", "UTF8", "THREAD=2");
    ASSERT_EQ(book.rc(), 0) << OXLS_error_mesg(book.get());
    EXPECT_EQ(book.text(0, "A1"), "one");
    EXPECT_EQ(book.text(0, "B1"), "2016/3/25");
    EXPECT_EQ(book.text(0, "C1"), "") << "an index beyond the shared strings";
    // Parsed worksheets and shared strings give their memory back; the
    // other parts stay for the writer, under the thread's names.
    MfileTable &parts = ozw_files(book.get());
    EXPECT_EQ(parts.length("[2]xl/worksheets/sheet1.xml"), 0);
    EXPECT_EQ(parts.length("[2]xl/sharedStrings.xml"), 0);
    EXPECT_GT(parts.length("[2]xl/workbook.xml"), 0);
}

TEST_F(XlsxPackage, BrokenPartsFailWithTheReadersCode) {
    OpenBook malformed(package({{"xl/workbook.xml", workbook_xml({"S"})},
                                {"xl/worksheets/sheet1.xml", "<worksheet><sheetData/></worksheet></sheetData>"}}));
    EXPECT_EQ(malformed.rc(), OXLS_ERR_FAILED);
    EXPECT_NE(std::string(OXLS_error_mesg(malformed.get())).find("ozw_read_excel2007() rc="), std::string::npos);
}

TEST_F(XlsxPackage, WorkbookKeptElsewhereIsFoundThroughRelationships) {
    const std::string sheet = kRelType + "worksheet";
    std::string path = package(
        {{"_rels/.rels", rels_part({{"rId1", kRelType + "officeDocument", "/book/wb.xml"}})},
         {"book/wb.xml", workbook_xml({"A", "B"})},
         {"book/_rels/wb.xml.rels",
          rels_part({{"rId1", sheet, "sheets/second.xml"}, {"rId2", sheet, "sheets/first.xml"},
                     {"rId3", kRelType + "sharedStrings", "../strings.xml"}, {"rId4", kRelType + "styles", "./look.xml"}})},
         {"book/sheets/first.xml", sheet_xml("<row r=\"1\"><c r=\"A1\" t=\"s\"><v>0</v></c></row>")},
         {"book/sheets/second.xml", sheet_xml("<row r=\"1\"><c r=\"A1\" s=\"1\"><v>42454</v></c></row>")},
         {"strings.xml", "<sst><si><t>共有</t></si></sst>"},
         {"book/look.xml", "<styleSheet><cellXfs><xf numFmtId=\"0\"/><xf numFmtId=\"14\"/></cellXfs></styleSheet>"}});
    OpenBook book(path);
    ASSERT_EQ(book.rc(), 0) << OXLS_error_mesg(book.get());
    ASSERT_EQ(OXLS_sheet_num(book.get()), 2);
    EXPECT_EQ(book.text(0, "A1"), "2016/3/25") << "worksheets in the order the relationships name them";
    EXPECT_EQ(book.text(1, "A1"), "共有");
    bool own_name_listed = false;
    for (int i = 0; i < book.get()->extract_count; ++i)
        own_name_listed = own_name_listed || std::string(book.get()->extract_list[i]).find("book/wb.xml") != std::string::npos;
    EXPECT_TRUE(own_name_listed) << "the part list keeps the parts' own names";
}

}  // namespace
