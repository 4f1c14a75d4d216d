// The cell reading calls on a loaded Excel 2007 book: display texts in the
// two modes, type names, buffer checks, cell names, runs of cells and the
// search with its merged-label continuation.
#include "xlsx_test_package.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

using namespace xlsx_test;

const char *kStyles =
    "<styleSheet><numFmts><numFmt numFmtId=\"164\" formatCode=\"yyyy&quot;年&quot;m&quot;月&quot;d&quot;日&quot;\"/></numFmts>"
    "<cellXfs><xf numFmtId=\"0\"/><xf numFmtId=\"3\"/><xf numFmtId=\"9\"/><xf numFmtId=\"14\"/>"
    "<xf numFmtId=\"22\"/><xf numFmtId=\"164\"/><xf numFmtId=\"21\"/></cellXfs></styleSheet>";

const char *kFirstSheet =
    "<row r=\"1\"><c r=\"A1\" t=\"s\"><v>0</v></c><c r=\"B1\" s=\"1\"><v>1234567</v></c><c r=\"C1\"><v>12.50</v></c>"
    "<c r=\"D1\" s=\"2\"><v>0.25</v></c><c r=\"E1\" s=\"3\"><v>42454</v></c><c r=\"F1\" s=\"4\"><v>42454.58691</v></c>"
    "<c r=\"G1\" s=\"5\"><v>42454</v></c><c r=\"H1\"><f>SUM(B1:C1)</f></c><c r=\"I1\" s=\"6\"><v>0.58691</v></c></row>"
    "<row r=\"2\"><c r=\"A2\" t=\"s\"><v>1</v></c><c r=\"B2\" t=\"inlineStr\"><is><t>b2</t></is></c></row>"
    "<row r=\"3\"><c r=\"A3\" t=\"s\"><v>2</v></c><c r=\"B3\" t=\"str\"><v>b3</v></c></row>"
    "<row r=\"4\"><c r=\"B4\" t=\"str\"><v>b4</v></c></row>"
    "<row r=\"5\"><c r=\"B5\" t=\"str\"><v>b5</v></c></row>";

const char *kSecondSheet =
    "<row r=\"2\"><c r=\"B2\" t=\"str\"><v>Needle</v></c></row>"
    "<row r=\"10\"><c r=\"C10\" t=\"str\"><v>needle</v></c><c r=\"D10\" t=\"str\"><v>after</v></c></row>";

class XlsxCellAccess : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        folder_ = new TempFolder;
        path_ = folder_->file("cells.xlsx");
        ASSERT_TRUE(write_package(
            path_, {{"xl/workbook.xml", workbook_xml({"表", "検索"})},
                    {"xl/sharedStrings.xml", "<sst><si><t>東京</t></si><si><t>short</t></si><si><t>ラベル</t></si></sst>"},
                    {"xl/styles.xml", kStyles},
                    {"xl/worksheets/sheet1.xml", sheet_xml(kFirstSheet, "<mergeCells><mergeCell ref=\"A3:A5\"/></mergeCells>")},
                    {"xl/worksheets/sheet2.xml", sheet_xml(kSecondSheet)}}));
    }
    static void TearDownTestSuite() { delete folder_; }

    static TempFolder *folder_;
    static std::string path_;
};

TempFolder *XlsxCellAccess::folder_ = nullptr;
std::string XlsxCellAccess::path_;

// Each cell's text as the UNLOAD mode formats it and as the READ mode
// stores it, and the name of its type.
TEST_F(XlsxCellAccess, FormattedAndStoredTextsAndTypeNames) {
    const struct {
        const char *cell, *unload, *read, *type;
    } cases[] = {
        {"A1", "東京", "東京", "CHARACTER"},
        {"B1", "1,234,567", "1234567", "INTEGER"},
        {"C1", "12.5", "12.5", "FLOAT"},
        {"D1", "25.0%", "25.0%", "PERCENT"},
        {"E1", "2016/3/25", "2016/3/25", "DATE"},
        {"F1", "2016/3/25", "2016/3/25 14:05", "DATE_TIME"},
        {"G1", "2016年3月25日", "2016/3/25", "DATE"},
        {"H1", "", "", "FORMULA:SUM(B1:C1)"},
        {"I1", "14:05:09", "14:05:09", ""},
        {"B2", "b2", "b2", "CHARACTER"},
        {"A4", "", "", ""},
    };
    OpenBook unload(path_, "UNLOAD");
    OpenBook read(path_, "READ");
    ASSERT_EQ(unload.rc(), 0);
    ASSERT_EQ(read.rc(), 0);
    for (const auto &c : cases) {
        SCOPED_TRACE(c.cell);
        EXPECT_EQ(unload.text(0, c.cell), c.unload);
        EXPECT_EQ(read.text(0, c.cell), c.read);
        char text[64], type[32] = "junk";
        ASSERT_EQ(OXLS_get_cell(unload.get(), c.cell, text, sizeof text, type, sizeof type), 0);
        EXPECT_STREQ(type, c.type);
    }
    // A formula type name that does not fit fails with the code alone.
    char text[64], type[10] = "junk";
    EXPECT_EQ(OXLS_get_cell(unload.get(), "H1", text, sizeof text, type, sizeof type), OXLS_ERR_BUFFER);
    EXPECT_STREQ(type, "");
}

TEST_F(XlsxCellAccess, TextsThatDoNotFitAreRefused) {
    OpenBook book(path_);
    ASSERT_EQ(book.rc(), 0);
    char text[16];
    EXPECT_EQ(OXLS_get_cell(book.get(), "A1", text, 6, nullptr, 0), OXLS_ERR_BUFFER) << "six bytes need seven";
    EXPECT_STREQ(text, "");
    EXPECT_STREQ(OXLS_error_mesg(book.get()), "OXLS-03009 バッファサイズ(\"6\")オーバー(\"CELL_STRING\")。");
    EXPECT_EQ(OXLS_get_cell(book.get(), "A1", text, 7, nullptr, 0), 0);
    EXPECT_STREQ(text, "東京");
    EXPECT_EQ(OXLS_error_code(book.get()), 0);

    EXPECT_EQ(OXLS_get_cell(book.get(), "E1", text, 9, nullptr, 0), OXLS_ERR_BUFFER);
    EXPECT_STREQ(OXLS_error_mesg(book.get()), "OXLS-03009 バッファサイズ(\"9\")オーバー(\"CELL_DATE/CELL_DATE_TIME\")。");
    EXPECT_EQ(OXLS_get_format_cell(book.get(), "E1", text, 10, 333, 0, 0), OXLS_ERR_BUFFER)
        << "2016年3月25日 is longer than 2016/3/25";
    EXPECT_EQ(OXLS_get_cell(book.get(), "E1", text, 10, nullptr, 0), 0);

    // The caller's character set decides the length: four bytes in Shift-JIS.
    OpenBook sjis(path_, "UNLOAD", "SJIS");
    ASSERT_EQ(sjis.rc(), 0);
    EXPECT_EQ(OXLS_get_cell(sjis.get(), "A1", text, 5, nullptr, 0), 0);
    EXPECT_STREQ(text, "\x93\x8c\x8b\x9e");
}

TEST_F(XlsxCellAccess, CellNamesAndPositions) {
    OpenBook book(path_);
    ASSERT_EQ(book.rc(), 0);
    for (const char *name : {"a1", "A1", "$A$1", "A$1", "$a1"}) EXPECT_EQ(book.text(0, name), "東京") << name;
    for (const char *name : {"A0", "A1048577", "XFE1", "AAAA1", "1A", "A", "", "A-1", "B 2"})
        EXPECT_EQ(book.text(0, name), "<rc=-3>") << name;
    EXPECT_STREQ(OXLS_error_mesg(book.get()), "OXLS-02300 セル指定値が不正です(\"B 2\")。") << "the last name refused";
    char text[32];
    EXPECT_EQ(OXLS_get_cell(book.get(), nullptr, text, sizeof text, nullptr, 0), OXLS_ERR_ARGUMENT);
    EXPECT_EQ(book.text(0, "A6"), "<rc=-902>") << "the row at the row count";
    EXPECT_EQ(book.text(0, "C2"), "<rc=-903>") << "beyond the row's cells, although row 1 is longer";
    EXPECT_EQ(book.text(0, "C5"), "<rc=-903>");
    EXPECT_EQ(book.get()->last_row, 4);
    EXPECT_EQ(book.text(0, "XFD1048576"), "<rc=-902>");
    ASSERT_EQ(book.text(0, "I1"), "14:05:09");
    EXPECT_EQ(book.get()->last_row, 0);
    EXPECT_EQ(book.get()->last_column, 8);

    book.get()->current_sheet = 2;
    EXPECT_EQ(OXLS_get_cell(book.get(), "A1", text, sizeof text, nullptr, 0), OXLS_ERR_SHEET_RANGE);
}

TEST_F(XlsxCellAccess, SearchFindsWholeTextsAcrossSheetsAndContinuesDownAMergedLabel) {
    OpenBook book(path_);
    ASSERT_EQ(book.rc(), 0);
    char a[64], b[64];
    char *texts[] = {a, b};
    XLS_SEARCH request{};
    request.count = 2;
    ASSERT_EQ(OXLS_search(book.get(), &request, "needle", texts), 0);
    EXPECT_EQ(request.hit_sheet, 1);
    EXPECT_EQ(request.hit_row, 9) << "found in the last row of the last sheet";
    EXPECT_EQ(request.hit_column, 2);
    EXPECT_STREQ(a, "needle");
    EXPECT_STREQ(b, "after");

    request = XLS_SEARCH{};
    request.match_mode = 1;
    request.count = 1;
    ASSERT_EQ(OXLS_search(book.get(), &request, "NEEDLE", texts), 0);
    EXPECT_STREQ(a, "Needle");

    request = XLS_SEARCH{};
    request.count = 1;
    EXPECT_EQ(OXLS_search(book.get(), &request, "need", texts), OXLS_ERR_NOT_FOUND) << "the whole text must match";
    std::strcpy(request.sheet_name, "表");
    EXPECT_EQ(OXLS_search(book.get(), &request, "needle", texts), OXLS_ERR_NOT_FOUND);
    ASSERT_EQ(OXLS_search(book.get(), &request, "1,234,567", texts), 0) << "display texts are compared";
    std::strcpy(request.range, "C1:I2");
    EXPECT_EQ(OXLS_search(book.get(), &request, "東京", texts), OXLS_ERR_NOT_FOUND);
    ASSERT_EQ(OXLS_search(book.get(), &request, "2016年3月25日", texts), 0);
    EXPECT_EQ(request.hit_column, 6);
    std::strcpy(request.range, "C1");
    EXPECT_EQ(OXLS_search(book.get(), &request, "東京", texts), OXLS_ERR_ARGUMENT);
    request.range[0] = '\0';
    std::strcpy(request.sheet_name, "無い");
    EXPECT_EQ(OXLS_search(book.get(), &request, "東京", texts), OXLS_ERR_ARGUMENT);

    // A hit on a merged label continues down its rows.
    request = XLS_SEARCH{};
    request.count = 2;
    ASSERT_EQ(OXLS_search(book.get(), &request, "ラベル", texts), 0);
    EXPECT_EQ(request.remaining, 2) << "the label spans three rows";
    EXPECT_STREQ(a, "ラベル");
    EXPECT_STREQ(b, "b3");
    const char *expected[] = {"b4", "b5"};
    for (const char *text : expected) {
        ASSERT_EQ(OXLS_search(book.get(), &request, "ラベル", texts), 0);
        EXPECT_STREQ(a, "") << "each further row starts at the label's column";
        EXPECT_STREQ(b, text);
    }
    EXPECT_EQ(request.remaining, 0);

    request = XLS_SEARCH{};
    request.count = 1;
    request.direction = 1;
    ASSERT_EQ(OXLS_search(book.get(), &request, "ラベル", texts), 0);
    EXPECT_EQ(request.remaining, 0) << "one column wide";
}

}  // namespace
