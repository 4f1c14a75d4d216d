// What a date, time or number shows under a format code, a built-in number
// format or a cell style, and the kind of cell a number becomes.
#include "date_serial.h"
#include "date_text.h"
#include "format_id.h"
#include "number_text.h"

#include <gtest/gtest.h>

#include <string>

namespace {

double serial_of(int year, int month, int day, int hour = 0, int minute = 0, int second = 0) {
    return *ozw_date_to_serial(year, month, day, hour, minute, second);
}

std::string shown_date(const char *code, double when) { return ozw_date_text(when, ozw_classify_format_code(code)); }

TEST(DateText, OneAfternoonUnderEachFormatCode) {
    const double when = serial_of(2016, 3, 25, 14, 5, 9);
    const struct {
        const char *code;
        const char *text;
    } expected[] = {
        {"yyyy/m/d\\ h:mm", "2016/3/25 14:05"}, {"yyyy/m/d\\ h:mm AM/PM", "2016/3/25 02:05 PM"},
        {"yyyy/m/d;@", "2016/3/25"}, {"[$-411]ggge\"年\"m\"月\"d\"日\"", "平成28年3月25日"},
        {"[$-411]ge.m.d", "H28.3.25"}, {"ddd", "Fri"}, {"aaa", "金"}, {"yyyy\"年\"m\"月\"d\"日\"", "2016年3月25日"},
        {"m\"月\"d\"日\"", "3月25日"}, {"yyyy\"年\"m\"月\"", "2016年3月"}, {"h\"時\"mm\"分\"", "14時5分"},
        {"m\"月\"", "3月"}, {"h:mm:ss", "14:05:09"}, {"h:mm", "14:05"}, {"h:mm AM/PM", "02:05 PM"},
        {"mm:ss.0", "05:09"}, {"m/d/yy", "3/25/16"}, {"mm/dd/yy", "03/25/16"}, {"d\\-mmm", "25-Mar"},
        {"mmmmm\\-yy", "M-16"}, {"mmm\\-yy", "Mar-16"}, {"mmmmm", "M"}, {"d", "25"},
        {"dddd\\,\\ mmmm\\ dd\\,\\ yyyy", "Friday"},
        // The tests are substring tests in a fixed order: earlier ones win.
        {"yyyy/m/d", "3/25"}, {"h\"時\"mm\"分\"ss\"秒\"", "14時5分"}, {"dd\\-mmm\\-yy", "25-Mar"},
        {"yyyy/m/d h:mm", "14:05"}, {"[h]:mm:ss", "05:09"}, {"0.00;[Red]0.00", "25"},
        // Codes from a package still carry &quot; for a double quote.
        {"yyyy&quot;年&quot;m&quot;月&quot;d&quot;日&quot;;@", "2016年3月25日"},
        {"h&quot;時&quot;mm&quot;分&quot;;@", "14時5分"},
        {"h&quot;時&quot;mm&quot;分&quot;ss&quot;秒&quot;", "14時05分09秒"},
        {"m&quot;月&quot;", "3月"},
    };
    for (const auto &e : expected) EXPECT_EQ(shown_date(e.code, when), e.text) << e.code;
}

TEST(DateText, NumberFormatCodesShowGroupsCurrencyOrNothing) {
    const struct {
        const char *code;
        const char *text;
    } expected[] = {
        {"\\$#,##0.00", "\\1,234,567"}, {"\"\xC2\xA5\"#,##0;\"\xC2\xA5\"\\-#,##0", "1,234,567"},
        {"#,##0.00_ ;[Red]\\-#,##0.00\\ ", "1,234,567"}, {"&quot;\\&quot;#,##0;&quot;\\&quot;\\-#,##0", "\\1,234,567"},
        {"\"\"", ""}, {"&quot;&quot;", ""}, {"0.00", "1234567"}, {"", "1234567"},
    };
    for (const auto &e : expected)
        EXPECT_EQ(ozw_number_text("1234567", ozw_classify_format_code(e.code), -1), e.text) << e.code;
}

TEST(DateText, FirstDaysYearsHoursAndTheEndOfTheDay) {
    const struct {
        double when;
        const char *code;
        const char *text;
    } expected[] = {
        {0, "yyyy/m/d;@", "1900/1/0"}, {60, "yyyy/m/d;@", "1900/2/29"}, {61, "yyyy/m/d;@", "1900/3/1"},
        {serial_of(1900, 5, 1), "m/d/yy", "5/1/1900"}, {serial_of(1901, 5, 1), "m/d/yy", "5/1/01"},
        {serial_of(2000, 5, 1), "mmm\\-yy", "May-00"}, {serial_of(2105, 12, 1), "mmmmm\\-yy", "D-105"},
        {serial_of(2016, 3, 25, 0, 30), "h:mm AM/PM", "12:30 AM"},
        {42454.999999, "yyyy/m/d\\ h:mm", "2016/3/25 24:00"}, {42454.999999, "h:mm:ss", "24:00:00"},
        {42454.999999, "h:mm AM/PM", "12:00 AM"}, {42454.000005, "yyyy/m/d\\ h:mm", "2016/3/25 00:00"},
    };
    for (const auto &e : expected) EXPECT_EQ(shown_date(e.code, e.when), e.text) << e.code << " " << e.when;
    for (int id : {0, 100, 900}) EXPECT_EQ(ozw_date_text(1, id), "") << id;
}

TEST(DateText, EraBoundaries) {
    const struct {
        int year, month, day;
        const char *long_text;
        const char *short_text;
    } expected[] = {
        {1912, 7, 29, "明治45年7月29日", "M45.7.29"}, {1912, 7, 30, "大正1年7月30日", "T1.7.30"},
        {1926, 12, 24, "大正15年12月24日", "T15.12.24"}, {1926, 12, 25, "昭和1年12月25日", "S1.12.25"},
        {1989, 1, 7, "昭和64年1月7日", "S64.1.7"}, {1989, 1, 8, "平成1年1月8日", "H1.1.8"},
        {2019, 5, 1, "令和1年5月1日", "R1.5.1"},
    };
    for (const auto &e : expected) {
        const double serial = serial_of(e.year, e.month, e.day);
        EXPECT_EQ(shown_date("[$-411]ggge\"年\"m\"月\"d\"日\"", serial), e.long_text) << e.year;
        EXPECT_EQ(shown_date("[$-411]ge.m.d", serial), e.short_text) << e.year;
    }
}

// A book's own formats 176 to 180, and cell styles 0 to 7 over the format
// numbers 0, 14, 3, 176, 177, 178, 20 and a style-only one.
StyleTables book_styles() {
    StyleTables styles;
    const std::pair<int, const char *> formats[] = {
        {176, "yyyy\"年\"m\"月\"d\"日\""}, {177, "0.0"}, {178, "[$-411]ge.m.d"}, {179, "0&quot;%&quot;"}, {180, "h:mm"}};
    for (auto [number, code] : formats) styles.number_formats.push_back({number, code, 0, 0, ozw_classify_format_code(code)});
    for (uint32_t number : {0u, 14u, 3u, 176u, 177u, 178u, 20u, 0xFFFFFFFFu}) styles.xfs.emplace_back().num_format = number;
    return styles;
}

// Shows the afternoon (a date and time cell 42454 + 0.586910) or the
// number 1234567 as a cell of this type and style does.
std::string shown_cell(const StyleTables *styles, signed char type, unsigned style) {
    XLS_CELL cell{};
    cell.type = type;
    cell.style = style;
    cell.number = 42454;
    cell.text = const_cast<char *>(type >= XLS_CELL_DATE ? "0.586910" : "1234567");
    const int id = ozw_cell_format_id(styles, cell);
    return type >= XLS_CELL_DATE ? ozw_cell_date_text(cell, id) : ozw_number_text(cell.text, id, -1);
}

TEST(DateText, CellsShowTheirOwnFormatElseBuiltInElseByType) {
    const StyleTables styles = book_styles();
    EXPECT_EQ(shown_cell(&styles, XLS_CELL_INTEGER, 0), "1234567");
    EXPECT_EQ(shown_cell(&styles, XLS_CELL_DATE, 1), "2016/3/25");
    EXPECT_EQ(shown_cell(&styles, XLS_CELL_INTEGER, 2), "1,234,567");
    EXPECT_EQ(shown_cell(&styles, XLS_CELL_DATE, 3), "2016年3月25日");
    EXPECT_EQ(shown_cell(&styles, XLS_CELL_DECIMAL, 4), "1234567");   // the book's own 177 is no grouped number
    EXPECT_EQ(shown_cell(&styles, XLS_CELL_DATE, 5), "H28.3.25");
    EXPECT_EQ(shown_cell(&styles, XLS_CELL_DATE_TIME, 6), "14:05");
    EXPECT_EQ(shown_cell(&styles, XLS_CELL_TIME_HMS, 7), "14:05:09");   // style-only format
    EXPECT_EQ(shown_cell(&styles, XLS_CELL_DATE_TIME, 99), "2016/3/25");  // past the table
    EXPECT_EQ(shown_cell(nullptr, XLS_CELL_TIME_HM, 0), "14:05:09");
    EXPECT_EQ(shown_cell(&styles, XLS_CELL_TEXT, 0), "1234567");

    // Built-in numbers without an entry of the book's own.
    const struct {
        uint32_t number;
        signed char type;
        const char *text;
    } built_in[] = {{3, XLS_CELL_INTEGER, "1,234,567"}, {5, XLS_CELL_INTEGER, "\\1,234,567"},
                    {18, XLS_CELL_TIME_HM, "02:05 PM"}, {19, XLS_CELL_TIME_HMS, "2:05:09 PM"},
                    {21, XLS_CELL_TIME_HMS, "14:05:09"}, {32, XLS_CELL_TIME_HM, "14時5分"},
                    {33, XLS_CELL_TIME_HMS, "14時05分09秒"}, {45, XLS_CELL_TIME_HMS, "05:09"}};
    for (const auto &e : built_in) {
        StyleTables only;
        only.xfs.emplace_back().num_format = e.number;
        EXPECT_EQ(shown_cell(&only, e.type, 0), e.text) << e.number;
    }
}

}  // namespace
