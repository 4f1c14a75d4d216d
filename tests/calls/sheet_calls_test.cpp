// Sheets of a book: adding with default and given names, the length rules,
// selecting by name or index, templates, and the row and column queries.
#include "book_record.h"
#include "charset.h"
#include "oxls.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace {

class SheetCalls : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(OXLS_open_book(book(), "EXCEL=/tmp/sheets.xlsx CHARSET=UTF8"), 0); }
    void TearDown() override { OXLS_free_book(book()); }
    XLS_BOOK *book() { return record_.get(); }
    int open_sheet(const std::string &args) { return OXLS_open_sheet(book(), args.c_str()); }
    std::string name(int index) {
        char out[XLS_SHEET_LEN + 1];
        EXPECT_EQ(OXLS_sheet_name(book(), index, out), 0);
        return out;
    }
    std::string message() { return OXLS_error_mesg(book()); }
    std::unique_ptr<XLS_BOOK> record_ = std::make_unique<XLS_BOOK>();
};

TEST_F(SheetCalls, GivenNamesMustBeNewAndFitTheRecord) {
    ASSERT_EQ(open_sheet("シート=\"売上 2024\""), 0);
    EXPECT_EQ(open_sheet("SHEET_NAME=\"売上 2024\""), -3);
    EXPECT_EQ(message(), "OXLS-02321 既に存在しているシート名です(\"売上 2024\")。");

    // More than 31 characters keep their first 30.
    std::string long_name;
    for (int i = 0; i < 40; ++i) long_name += "表";
    ASSERT_EQ(open_sheet("SHEET_NAME=\"" + long_name + "\""), 0);
    EXPECT_EQ(name(1), long_name.substr(0, 30 * 3));
    std::string exactly_31(31, 'x');
    ASSERT_EQ(open_sheet("SHEET_NAME=" + exactly_31), 0);
    EXPECT_EQ(name(2), exactly_31);

    // 30 four-byte characters still overflow the 93-byte field.
    std::string wide;
    for (int i = 0; i < 32; ++i) wide += "😀";
    EXPECT_EQ(open_sheet("SHEET_NAME=\"" + wide + "\""), -909);
    EXPECT_EQ(message(), "OXLS-03009 バッファサイズ(\"93\")オーバー(\"XLS_SHEET_LEN\")。");
    EXPECT_EQ(OXLS_sheet_num(book()), 3);
}

TEST_F(SheetCalls, SelectingByNameAndByIndex) {
    ASSERT_EQ(open_sheet("SHEET_NAME=One"), 0);
    ASSERT_EQ(open_sheet("SHEET_NAME=Two"), 0);
    EXPECT_EQ(open_sheet("SHEET_NAME=One MODE=READ"), 0);
    EXPECT_EQ(book()->current_sheet, 0);
    EXPECT_EQ(open_sheet("SHEET_NAME=one MODE=UPDATE"), -801) << "names match exactly";
    EXPECT_EQ(message(), "OXLS-02320 シート名が不正です(\"one\")。");

    EXPECT_EQ(OXLS_open_sheet2(book(), 1), 0);
    EXPECT_EQ(OXLS_error_code(book()), 0);
    EXPECT_EQ(OXLS_open_sheet2(book(), 2), -801);
    EXPECT_EQ(OXLS_open_sheet2(book(), -1), -801);
    EXPECT_EQ(book()->current_sheet, 1) << "a bad index leaves the current sheet";

    char out[XLS_SHEET_LEN + 1] = "junk";
    EXPECT_EQ(OXLS_sheet_name(book(), 5, out), -801);
    EXPECT_STREQ(out, "");
}

TEST_F(SheetCalls, SheetNamesAreKeptInUtf8AndComeBackInTheCallersCharacterSet) {
    OXLS_free_book(book());
    ASSERT_EQ(OXLS_open_book(book(), "MODE=CREATE"), 0);
    ASSERT_EQ(open_sheet(orb_convert(CS_UTF8, CS_SJIS, "SHEET_NAME=\"日本\"")), 0);
    EXPECT_STREQ(book()->sheets[0].name, "日本");
    EXPECT_EQ(name(0), orb_convert(CS_UTF8, CS_SJIS, "日本"));
}

TEST_F(SheetCalls, TemplatesArgumentMistakesAndReadBooks) {
    ASSERT_EQ(open_sheet("SHEET_NAME=Base"), 0);
    const struct {
        const char *args;
        int code;
        const char *text;
    } mistakes[] = {
        {"MODE=TEMPLATE", -3, "OXLS-02322 テンプレートシート名が指定されていません。"},
        {"MODE=TEMPLATE TEMPLATE=Missing", -801, "OXLS-03002 テンプレートシート(\"Missing\")が取得できません。"},
        {"MODE=COPY", -3, ""},
        {"COLOR=red", -3, "OXLS-02200 サポート外のキーワードです(\"COLOR\")。"},
    };
    for (const auto &m : mistakes) {
        EXPECT_EQ(open_sheet(m.args), m.code) << m.args;
        EXPECT_TRUE(!*m.text || message() == m.text) << m.args << ": " << message();
    }
    EXPECT_EQ(OXLS_open_sheet(book(), nullptr), -3);
    ASSERT_EQ(open_sheet("モード=テンプレート テンプレート=Base"), 0);
    EXPECT_EQ(name(1), "Sheet2");
    EXPECT_EQ(book()->sheets[1].template_index, 0);

    book()->flags[OXLS_FLAG_CREATE] = 0;   // as after a read
    EXPECT_EQ(open_sheet("SHEET_NAME=B"), -3);
    EXPECT_EQ(message(), "OXLS-02209 テンプレートモードではシートを追加することはできません。");
    EXPECT_EQ(open_sheet("SHEET_NAME=Base MODE=READ"), 0);
}

TEST_F(SheetCalls, RowAndColumnCountsOfTheCurrentSheet) {
    EXPECT_EQ(OXLS_row_num(book()), 0) << "no sheet yet";
    EXPECT_EQ(OXLS_column_num(book(), 0), 0);
    ASSERT_EQ(open_sheet("SHEET_NAME=Cells"), 0);
    XLS_SHEET *sheet = &book()->sheets[0];
    ozw_ensure_cell(sheet, 0, 2)->type = XLS_CELL_TEXT;
    ozw_ensure_cell(sheet, 0, 5);   // exists, but empty
    ozw_ensure_cell(sheet, 3, 0)->type = XLS_CELL_INTEGER;
    EXPECT_EQ(OXLS_row_num(book()), 4);
    EXPECT_EQ(OXLS_column_num(book(), 0), 3) << "trailing empty cells do not count";
    EXPECT_EQ(OXLS_column_num(book(), 1), 0);
    EXPECT_EQ(OXLS_column_num(book(), 3), 1);
    EXPECT_EQ(OXLS_column_num(book(), 4), 0);
    EXPECT_EQ(OXLS_column_num(book(), -1), 0);
}

}  // namespace
