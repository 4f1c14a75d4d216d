// What a written value becomes: its cell type, stored fields and style, and
// what the shared string table receives.
#include "write/value_typing.h"

#include "book_properties.h"
#include "book_record.h"
#include "write/cell_store.h"
#include "write/styles.h"
#include "write/value_recognise.h"
#include "write/value_rewrite.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>

namespace {

class WriteValueTyping : public ::testing::Test {
protected:
    void SetUp() override {
        book = std::make_unique<XLS_BOOK>();
        ASSERT_EQ(ozw_init_book(book.get(), BOOK_KIND_XLSX), 0);
        book->work = nullptr;
    }
    void TearDown() override { ozw_release_book(book.get()); }

    // Puts the value into the next cell of row 1 and returns the cell.
    const XLS_CELL &put(const char *value, int rc = 0) {
        int column = next_column++;
        EXPECT_EQ(ozw_put_cell(book.get(), 0, 0, column, value), rc) << value;
        return book->sheets[0].rows[0].cells[column];
    }
    std::string text(const XLS_CELL &cell) { return cell.text ? cell.text : ""; }
    std::string sst(const XLS_CELL &cell) {
        EXPECT_EQ(cell.type, XLS_CELL_SHARED_STRING);
        return cell.type == XLS_CELL_SHARED_STRING ? book->sst[cell.number].text : "";
    }

    std::unique_ptr<XLS_BOOK> book;
    int next_column = 0;
};

TEST_F(WriteValueTyping, NumbersAndStringsThatLookLikeThem) {
    const XLS_CELL &integer = put("\"123\"");
    EXPECT_EQ(integer.type, XLS_CELL_INTEGER);
    EXPECT_EQ(text(integer), "123");
    EXPECT_EQ(integer.style, 0u);

    const XLS_CELL &grouped = put("-1,234.50");
    EXPECT_EQ(grouped.type, XLS_CELL_DECIMAL);
    EXPECT_EQ(text(grouped), "-1234.50");

    EXPECT_EQ(sst(put("\"'123\"")), "123");
    EXPECT_EQ(sst(put("1-2")), "1-2");                        // sign only first
    EXPECT_EQ(sst(put("1.2.3")), "1.2.3");                    // two points
    EXPECT_EQ(sst(put("12345678901234567890")), "12345678901234567890");  // 20 bytes
    EXPECT_EQ(sst(put("9999999999999999999")), "9999999999999999999");    // beyond 64 bits
    EXPECT_EQ(put("+42").type, XLS_CELL_INTEGER);
}

TEST_F(WriteValueTyping, DatesValidAndInvalid) {
    const XLS_CELL &date = put("2016/1/5");
    EXPECT_EQ(date.type, XLS_CELL_DATE);
    EXPECT_EQ(date.number, 42374);
    EXPECT_EQ(date.style, STYLE_DATE);
    EXPECT_EQ(put("2016-03-25").number, 42454);
    EXPECT_EQ(put("1900/2/29").number, 60);

    for (const char *not_a_date : {"2016/13/5", "2016/2/30", "2016/1-5", "2016/00/5", "16/1/5", "2016/1/5x",
                                   "2016/21/5", "2016/1/40", "2015/2/29"})
        EXPECT_EQ(sst(put(not_a_date)), not_a_date);
}

TEST_F(WriteValueTyping, TimesCarryWholeDaysIntoTheDate) {
    const XLS_CELL &carried = put("25:30");
    EXPECT_EQ(carried.type, XLS_CELL_TIME_HM);
    EXPECT_EQ(carried.number, 1);   // 1 January 1900
    EXPECT_EQ(text(carried), "0.062500");
    EXPECT_EQ(carried.style, STYLE_TIME);

    const XLS_CELL &plain = put("9:05:30");
    EXPECT_EQ(plain.type, XLS_CELL_TIME_HMS);
    EXPECT_EQ(plain.number, 0);
    EXPECT_EQ(plain.style, STYLE_ELAPSED_TIME);

    EXPECT_EQ(put("1440:00").number, 60);     // day 60 is 29 February 1900
    EXPECT_EQ(put("9999:00").number, 416);    // the last day that carries
    EXPECT_EQ(sst(put("10008:00")), "10008:00");
    EXPECT_EQ(sst(put("3:2")), "3:2");
    EXPECT_EQ(sst(put("12:60")), "12:60");

    const XLS_CELL &stamp = put("2016/3/25 14:05:09");
    EXPECT_EQ(stamp.type, XLS_CELL_DATE_TIME);
    EXPECT_EQ(stamp.number, 42454);
    EXPECT_EQ(stamp.style, STYLE_DATE_TIME);
}

TEST_F(WriteValueTyping, PercentagesKeepTheirDigits) {
    const XLS_CELL &half = put("50%");
    EXPECT_EQ(half.type, XLS_CELL_PERCENT);
    EXPECT_DOUBLE_EQ(std::strtod(half.text, nullptr), 0.5);
    EXPECT_EQ(half.style, STYLE_PERCENT);
    EXPECT_EQ(text(put("12.5%")), "0.125");
    EXPECT_EQ(sst(put("%")), "%");
}

TEST_F(WriteValueTyping, StringEscapesAndLineBreaksWrap) {
    const XLS_CELL &two_lines = put("\"first\\nsecond\"");
    EXPECT_EQ(sst(two_lines), "first\r\nsecond");
    EXPECT_TRUE(ozw_cell_xf(book.get(), two_lines).alignment_flags & ALIGN_WRAP);

    const XLS_CELL &path = put("\"C:\\\\data\\x.xlsx\"");
    EXPECT_EQ(sst(path), "C:\\data\\x.xlsx");
    EXPECT_EQ(path.style, 0u);
}

TEST_F(WriteValueTyping, EmptyValuesStoreNothing) {
    put("\"\"", PUT_CELL_EMPTY);
    put("", PUT_CELL_EMPTY);
    EXPECT_EQ(book->sst_count, 0);
}

TEST_F(WriteValueTyping, FormulasAreUpperCasedOutsideQuotes) {
    const XLS_CELL &formula = put("=sum(a1:a2)&\"x y\"");
    EXPECT_EQ(formula.type, XLS_CELL_FORMULA);
    EXPECT_STREQ(formula.formula, "SUM(A1:A2)&\"x y\"");
    EXPECT_EQ(put("=\"text\"").type, XLS_CELL_FORMULA);
    // Texts that no spreadsheet reads as a formula stay strings.
    for (const char *not_a_formula : {"=", "== title ==", "=(1", "=sum(1))", "=\"open"})
        EXPECT_EQ(sst(put(not_a_formula)), not_a_formula);
}

TEST_F(WriteValueTyping, AutomaticWidthOnlyWidensWhenOn) {
    XLS_SHEET *sheet;
    int rc;
    ASSERT_TRUE(sheet = ozw_writing_sheet(book.get(), 0, &rc));
    ASSERT_EQ(ozw_set_column_width(*sheet, 0, 50.625), 0);
    auto put_a = [&](const std::string &value) { ASSERT_EQ(ozw_put_cell(book.get(), 0, 1, 0, value.c_str()), 0); };
    std::string sixty(60, 'x');
    put_a(sixty);
    EXPECT_DOUBLE_EQ(ozw_column_width(*sheet, 0), 50.625);

    ozw_book_properties(book.get())->auto_width = true;
    put_a(sixty);
    EXPECT_DOUBLE_EQ(ozw_column_width(*sheet, 0), 60.625);
    put_a(std::string(40, 'y'));
    EXPECT_DOUBLE_EQ(ozw_column_width(*sheet, 0), 60.625);
    put_a(std::string(31, 'z') + "全角");   // double-byte characters count two: 35
    EXPECT_DOUBLE_EQ(ozw_column_width(*sheet, 0), 60.625);
    put_a(std::string(58, 'z') + "全角");   // 62
    EXPECT_DOUBLE_EQ(ozw_column_width(*sheet, 0), 62.625);
    EXPECT_EQ(ozw_display_width("全角ｶﾅabc"), 9);
}

TEST(WriteValueRewrite, SystemDateEnvironmentAndEscape) {
    std::string today = ozw_rewrite_value("$SYSDATE");
    ASSERT_EQ(today.size(), 10u);
    EXPECT_EQ(today[4], '/');
    EXPECT_EQ(ozw_rewrite_value("$SYSDATETIME").substr(0, 10), today);
    setenv("ZS_WRITE_TEST", "from env", 1);
    EXPECT_EQ(ozw_rewrite_value("$ZS_WRITE_TEST"), "from env");
    EXPECT_EQ(ozw_rewrite_value("\\$ZS_WRITE_TEST"), "$ZS_WRITE_TEST");
    EXPECT_EQ(ozw_rewrite_value("$ZS_WRITE_TEST_UNSET_NAME"), "$ZS_WRITE_TEST_UNSET_NAME");
    EXPECT_EQ(ozw_rewrite_value("\"$ZS_WRITE_TEST\""), "\"$ZS_WRITE_TEST\"");
}

TEST(WriteValueRewrite, LongTextsAreCutOnWholeCharacters) {
    std::string text = "\"" + std::string(40000, 'a');
    ozw_cut_cell_text(text, 32767);
    EXPECT_EQ(text.size(), 32767u);   // 32766 characters and the closing quote
    EXPECT_EQ(text.back(), '"');

    std::string wide;
    for (int i = 0; i < 32768; ++i) wide += "字";
    ozw_cut_cell_text(wide, 32767);
    EXPECT_EQ(wide.size(), 32766u * 3);

    std::string exact(32767, 'b');
    ozw_cut_cell_text(exact, 32767);
    EXPECT_EQ(exact.size(), 32767u);
}

}  // namespace
