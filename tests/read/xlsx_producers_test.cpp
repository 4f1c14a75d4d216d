// The same Japanese book written by independent producers reads the same:
// sheet names, texts, numbers, cached formula values and short dates.
#include "xlsx_test_package.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

using namespace xlsx_test;

struct Expected {
    int sheet;
    const char *cell;
    const char *text;
};

// What every producer's book shows, apart from formula values.
const Expected kCommon[] = {
    {0, "A1", "品名"}, {0, "E1", "金額"}, {0, "A2", "りんご"}, {0, "B2", "3"}, {0, "C2", "150.5"},
    {0, "D2", "2016/3/25"}, {0, "B3", "12"}, {0, "C3", "80"}, {0, "D3", "2016/3/26"},
    {0, "A4", "東京都千代田区&<特別>"}, {0, "B4", "-7"}, {0, "C4", "0.125"}, {0, "D4", "1989/1/8"},
    {1, "A1", "合計"}, {1, "C1", "25.0%"}, {1, "D1", "ｶﾅ"}, {1, "B2", "改行\nあり"}, {1, "B3", "𠮷野家"},
    {1, "A5", "TRUE"},
};

// Formula cells: with the value the producer stored, or empty without one.
const Expected kFormulaValues[] = {
    {0, "E2", "451.5"}, {0, "E3", "960"}, {0, "E4", "-0.875"}, {1, "B1", "1410.625"}};

void check_book(const std::string &name, bool cached_values) {
    std::string path = std::string(ZS_TEST_DATA_DIR) + "/xlsx/" + name;
    if (!std::filesystem::exists(path)) GTEST_SKIP() << "test book missing: " << path;
    OpenBook book(path);
    ASSERT_EQ(book.rc(), 0) << OXLS_error_mesg(book.get());
    ASSERT_EQ(OXLS_sheet_num(book.get()), 2);
    EXPECT_STREQ(book.get()->sheets[0].name, "売上");
    EXPECT_STREQ(book.get()->sheets[1].name, "集計表");
    for (const Expected &e : kCommon) EXPECT_EQ(book.text(e.sheet, e.cell), e.text) << name << " " << e.cell;
    for (const Expected &e : kFormulaValues)
        EXPECT_EQ(book.text(e.sheet, e.cell), cached_values ? e.text : "") << name << " " << e.cell;

    // The merged label spans three rows.
    char a[64];
    char *texts[] = {a};
    XLS_SEARCH request{};
    request.count = 1;
    ASSERT_EQ(OXLS_search(book.get(), &request, "合計", texts), 0);
    EXPECT_EQ(request.remaining, 2) << name;
}

TEST(XlsxProducers, OpenpyxlBook) { check_book("openpyxl_ja.xlsx", false); }
TEST(XlsxProducers, XlsxWriterBook) { check_book("xlsxwriter_ja.xlsx", true); }
TEST(XlsxProducers, GnumericBook) { check_book("gnumeric_ja.xlsx", true); }

TEST(XlsxProducers, LibreOfficeBook) {
    std::string path = std::string(ZS_CORPUS_DIR) + "/generated/libreoffice_japanese_mixed.xlsx";
    if (!std::filesystem::exists(path)) GTEST_SKIP() << "corpus book missing: " << path;
    OpenBook book(path);
    ASSERT_EQ(book.rc(), 0) << OXLS_error_mesg(book.get());
    EXPECT_STREQ(book.get()->sheets[0].name, "日本語データ");
    EXPECT_EQ(book.text(0, "A2"), "東京都千代田区");
    EXPECT_EQ(book.text(0, "G2"), "東京都千代田区様") << "a formula's cached text";
    EXPECT_EQ(book.text(0, "G3"), "1000000001233480") << "a formula's cached number";
    EXPECT_EQ(book.text(0, "A5"), "𠮷野家（サロゲートペア）");
}

}  // namespace
