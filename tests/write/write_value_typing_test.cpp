// What a written value becomes: its cell type, stored fields and style, and
// what the shared string table receives.
#include "value_typing.h"

#include "book_properties.h"
#include "book_record.h"
#include "cell_store.h"
#include "styles.h"
#include "value_recognise.h"
#include "value_rewrite.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>

namespace {

class WriteValueTyping : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(ozw_init_book(book.get(), BOOK_KIND_XLSX), 0); }
    void TearDown() override { ozw_release_book(book.get()); }

    // Puts the value into the next cell of row 1 and returns the cell.
    const XLS_CELL &put(const std::string &value, int rc = 0) {
        const int column = next_column++;
        EXPECT_EQ(ozw_put_cell(book.get(), 0, 0, column, value.c_str()), rc) << value;
        return book->sheets[0].rows[0].cells[column];
    }
    // The cell as "type number text style", the text being the shared
    // string for a string cell.
    std::string typed(const std::string &value) {
        const XLS_CELL &cell = put(value);
        const char *text = cell.type == XLS_CELL_SHARED_STRING ? book->sst[cell.number].text : cell.text;
        return std::to_string(cell.type) + " " + std::to_string(cell.type == XLS_CELL_SHARED_STRING ? 0 : cell.number) +
               " " + (text ? text : "-") + " " + std::to_string(cell.style);
    }

    std::unique_ptr<XLS_BOOK> book = std::make_unique<XLS_BOOK>();
    int next_column = 0;
};

TEST_F(WriteValueTyping, ValuesBecomeNumbersDatesTimesPercentagesFormulasOrStrings) {
    const std::string s = std::to_string(XLS_CELL_SHARED_STRING) + " 0 ";
    const struct {
        const char *value;
        std::string cell;
    } cases[] = {
        {"\"123\"", "11 123 123 0"},
        {"+42", "11 42 42 0"},
        {"-1,234.50", "12 -1234 -1234.50 0"},
        {"\"'123\"", s + "123 0"},
        {"1-2", s + "1-2 0"},                                   // a sign only first
        {"1.2.3", s + "1.2.3 0"},
        {"9999999999999999999", s + "9999999999999999999 0"},   // beyond 64 bits
        {"2016/1/5", "20 42374 - 1"},
        {"2016-03-25", "20 42454 - 1"},
        {"1900/2/29", "20 60 - 1"},
        {"25:30", "23 1 0.062500 3"},                             // whole days carry into the date
        {"9:05:30", "24 0 0.378819 4"},
        {"9999:00", "23 416 0.625000 3"},                         // the last that carries
        {"2016/3/25 14:05:09", "21 42454 0.586910 2"},
        {"50%", "13 0 0.50 6"},      // the digits given
        {"12.5%", "13 0 0.125 6"},
        {"\"C:\\\\data\\x.xlsx\"", s + "C:\\data\\x.xlsx 0"},
        {"=sum(a1:a2)&\"x y\"", "50 0 - 0"},
    };
    for (const auto &c : cases) EXPECT_EQ(typed(c.value), c.cell) << c.value;
    for (const char *string : {"2016/13/5", "2016/2/30", "2016/1-5", "16/1/5", "2016/1/5x", "2015/2/29", "10008:00",
                               "3:2", "12:60", "%", "=", "== title ==", "=(1", "=sum(1))", "=\"open"})
        EXPECT_EQ(typed(string), s + string + " 0") << string;
    EXPECT_STREQ(put("=sum(a1:a2)&\"x y\"").formula, "SUM(A1:A2)&\"x y\"") << "upper case outside quotes";

    const XLS_CELL &two_lines = put("\"first\\nsecond\"");
    EXPECT_STREQ(book->sst[two_lines.number].text, "first\r\nsecond");
    EXPECT_TRUE(ozw_cell_xf(book.get(), two_lines).alignment_flags & ALIGN_WRAP);
    put("\"\"", PUT_CELL_EMPTY);
    put("", PUT_CELL_EMPTY);
}

TEST_F(WriteValueTyping, AutomaticWidthOnlyWidensWhenOn) {
    XLS_SHEET *sheet;
    int rc;
    ASSERT_TRUE(sheet = ozw_writing_sheet(book.get(), 0, &rc));
    ASSERT_EQ(ozw_set_column_width(*sheet, 0, 50.625), 0);
    const auto width_after = [&](const std::string &value) {
        EXPECT_EQ(ozw_put_cell(book.get(), 0, 1, 0, value.c_str()), 0);
        return ozw_column_width(*sheet, 0);
    };
    EXPECT_DOUBLE_EQ(width_after(std::string(60, 'x')), 50.625);
    ozw_book_properties(book.get())->auto_width = true;
    EXPECT_DOUBLE_EQ(width_after(std::string(60, 'x')), 60.625);
    EXPECT_DOUBLE_EQ(width_after(std::string(40, 'y')), 60.625);
    EXPECT_DOUBLE_EQ(width_after(std::string(58, 'z') + "全角"), 62.625);   // double-byte characters count two
    EXPECT_EQ(ozw_display_width("全角ｶﾅabc"), 9);
}

TEST(WriteValueRewrite, SystemDateEnvironmentEscapeAndLongTexts) {
    const std::string today = ozw_rewrite_value("$SYSDATE");
    ASSERT_EQ(today.size(), 10u);
    EXPECT_EQ(ozw_rewrite_value("$SYSDATETIME").substr(0, 10), today);
    setenv("ZS_WRITE_TEST", "from env", 1);
    EXPECT_EQ(ozw_rewrite_value("$ZS_WRITE_TEST"), "from env");
    EXPECT_EQ(ozw_rewrite_value("\\$ZS_WRITE_TEST"), "$ZS_WRITE_TEST");
    EXPECT_EQ(ozw_rewrite_value("$ZS_WRITE_TEST_UNSET_NAME"), "$ZS_WRITE_TEST_UNSET_NAME");
    EXPECT_EQ(ozw_rewrite_value("\"$ZS_WRITE_TEST\""), "\"$ZS_WRITE_TEST\"");

    std::string text = "\"" + std::string(40000, 'a');
    ozw_cut_cell_text(text, 32767);
    EXPECT_EQ(text.size(), 32767u);   // 32766 characters and the closing quote
    EXPECT_EQ(text.back(), '"');
    std::string wide;
    for (int i = 0; i < 32768; ++i) wide += "字";
    ozw_cut_cell_text(wide, 32767);
    EXPECT_EQ(wide.size(), 32766u * 3);
}

}  // namespace
