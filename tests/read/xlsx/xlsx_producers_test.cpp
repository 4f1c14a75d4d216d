// Books written by independent producers: many sheets, chart sheets, and
// Japanese number formats read in every character set a caller may ask
// for.  (Their texts are compared with openpyxl's in the oracle suite.)
#include "charset.h"
#include "xlsx_test_package.h"

#include <gtest/gtest.h>


namespace {

using namespace xlsx_test;

std::string test_book(const std::string &name) { return std::string(ZS_TEST_DATA_DIR) + "/xlsx/" + name; }

class XlsxProducerBooks : public ::testing::TestWithParam<const char *> {};

// Twelve sheets "表1" to "表12", each with its own name in A1: the parts
// sheet10.xml to sheet12.xml must not fill the second to fourth sheets.
TEST_P(XlsxProducerBooks, TwelveSheetsEachGetTheirOwnCells) {
    OpenBook book(test_book(std::string("sheets12_") + GetParam() + ".xlsx"));
    ASSERT_EQ(book.rc(), 0) << OXLS_error_mesg(book.get());
    ASSERT_EQ(OXLS_sheet_num(book.get()), 12);
    for (int sheet = 0; sheet < 12; ++sheet) {
        const std::string name = "表" + std::to_string(sheet + 1);
        EXPECT_STREQ(book.get()->sheets[sheet].name, name.c_str());
        EXPECT_EQ(book.text(sheet, "A1"), name);
    }
}
INSTANTIATE_TEST_SUITE_P(Producers, XlsxProducerBooks, ::testing::Values("openpyxl", "xlsxwriter", "gnumeric"));

// A chart sheet between two worksheets keeps its place and name, without
// cells; the worksheet after it keeps its own cells.
TEST(XlsxProducers, ChartSheetBetweenWorksheets) {
    for (const char *producer : {"openpyxl", "xlsxwriter"}) {
        OpenBook book(test_book(std::string("chartsheet_") + producer + ".xlsx"));
        ASSERT_EQ(book.rc(), 0) << OXLS_error_mesg(book.get());
        ASSERT_EQ(OXLS_sheet_num(book.get()), 3) << producer;
        EXPECT_STREQ(book.get()->sheets[1].name, "グラフ");
        EXPECT_EQ(book.text(0, "A1"), "前") << producer;
        EXPECT_EQ(book.text(1, "A1"), "<rc=" + std::to_string(OXLS_ERR_ROW_RANGE) + ">") << producer;
        EXPECT_EQ(book.text(2, "A1"), "後") << producer;
    }
}

// Each formatted kind in each of the caller's character sets, through the
// single-cell call, the run call and the search.  Rows of the books made
// by scripts/make_fixtures_sheets.py, 2016-03-25 14:05:09 unless noted.
TEST(XlsxProducers, FormattedTextsInTheCallersCharacterSet) {
    const char *const expected[] = {
        "2016年3月25日", "3月25日", "2016年3月", "14時5分",
        "14時05分09秒",      // h"時"mm"分"ss"秒", classified as the package stores it
        "平成28年3月25日",
        "令和8年12月6日",    // 2026-12-06
        "R8.12.6", "金", "金曜日",
        "-0",                // -8.2e-10 in #,##0
    };
    const std::pair<const char *, int> charsets[] = {{"SJIS", CS_SJIS}, {"EUC", CS_EUC}, {"UTF8", CS_UTF8}};
    for (const char *producer : {"openpyxl", "xlsxwriter"}) {
        for (auto [keyword, charset] : charsets) {
            OpenBook book(test_book(std::string("formats_") + producer + ".xlsx"), "UNLOAD", keyword);
            ASSERT_EQ(book.rc(), 0) << OXLS_error_mesg(book.get());
            for (size_t row = 0; row < std::size(expected); ++row) {
                const std::string want = orb_convert(CS_UTF8, charset, expected[row]);
                const std::string where = std::string(producer) + " " + keyword + " row " + std::to_string(row + 1);
                EXPECT_EQ(book.text(0, "A" + std::to_string(row + 1)), want) << where;
                char text[64] = "";
                char *texts[] = {text};
                ASSERT_EQ(OXLS_get_cells(book.get(), 1, 0, static_cast<int>(row), 0, 1, texts), 0);
                EXPECT_EQ(std::string(text), want) << where;
                XLS_SEARCH request{};
                request.count = 1;
                EXPECT_EQ(OXLS_search(book.get(), &request, want.c_str(), texts), 0) << where;
                EXPECT_EQ(request.hit_row, static_cast<int>(row)) << where;
            }
        }
    }
}

}  // namespace
