// Date and time texts in every format id.
#include "read/date_serial.h"
#include "read/date_text.h"
#include "read/format_id.h"

#include <gtest/gtest.h>

#include <string>

namespace {

double serial_of(int year, int month, int day, int hour = 0, int minute = 0, int second = 0) {
    return *ozw_date_to_serial(year, month, day, hour, minute, second);
}

TEST(DateText, EveryIdForOneAfternoon) {
    const double when = serial_of(2016, 3, 25, 14, 5, 9);
    const struct {
        int id;
        const char *text;
    } expected[] = {
        {301, "2016/3"}, {302, "2016/3/25"}, {303, "2016/3/25 14:05"},
        {304, "2016/3/25 02:05 PM"}, {305, "3"}, {306, "3/25"}, {307, "3/25/16"},
        {308, "03/25/16"}, {309, "25-Mar"}, {310, "25-Mar-16"}, {311, "25-Mar-16"},
        {312, "Mar-16"}, {313, "March-16"}, {314, "M"}, {315, "M-16"}, {316, "20160325"},
        {317, "20160325140509"}, {318, "2016/3/25 14:05:09"}, {319, "25"}, {330, "3月"},
        {331, "3月25日"}, {332, "2016年3月"}, {333, "2016年3月25日"}, {334, "H28.3.25"},
        {335, "平成28年3月25日"}, {340, "Fri"}, {341, "Friday"}, {342, "金"}, {343, "金曜日"},
        {401, "14:05"}, {402, "14時5分"}, {403, "02:05 PM"}, {404, "14:05:09"},
        {405, "14時05分09秒"}, {406, "2:05:09 PM"}, {407, "05:09"},
    };
    for (const auto &e : expected) EXPECT_EQ(ozw_date_text(when, e.id), e.text) << "id " << e.id;
}

TEST(DateText, FirstDaysOfTheSystem) {
    EXPECT_EQ(ozw_date_text(0, 302), "1900/1/0");
    EXPECT_EQ(ozw_date_text(0.5, 303), "1900/1/0 12:00");
    EXPECT_EQ(ozw_date_text(59, 302), "1900/2/28");
    EXPECT_EQ(ozw_date_text(60, 302), "1900/2/29");
    EXPECT_EQ(ozw_date_text(61, 302), "1900/3/1");
    for (int id : {0, 100, 300, 320, 336, 344, 400, 408, 900}) EXPECT_EQ(ozw_date_text(1, id), "") << id;
}

TEST(DateText, YearsAndHoursShortened) {
    EXPECT_EQ(ozw_date_text(serial_of(1900, 5, 1), 307), "5/1/1900");
    EXPECT_EQ(ozw_date_text(serial_of(1901, 5, 1), 307), "5/1/01");
    EXPECT_EQ(ozw_date_text(serial_of(2000, 5, 1), 312), "May-00");
    EXPECT_EQ(ozw_date_text(serial_of(2105, 12, 1), 315), "D-105");
    EXPECT_EQ(ozw_date_text(serial_of(2016, 3, 25, 0, 30), 403), "12:30 AM");
    EXPECT_EQ(ozw_date_text(serial_of(2016, 3, 25, 11, 59), 403), "11:59 AM");
    EXPECT_EQ(ozw_date_text(serial_of(2016, 3, 25, 12, 0), 403), "12:00 PM");
    EXPECT_EQ(ozw_date_text(serial_of(2016, 3, 25, 13, 0, 5), 406), "1:00:05 PM");
}

TEST(DateText, RoundingToTheEndOfTheDay) {
    EXPECT_EQ(ozw_date_text(42454.999999, 303), "2016/3/25 24:00");
    EXPECT_EQ(ozw_date_text(42454.999999, 404), "24:00:00");
    EXPECT_EQ(ozw_date_text(42454.999999, 403), "12:00 AM");
    EXPECT_EQ(ozw_date_text(42454.000005, 303), "2016/3/25 00:00");
}

TEST(DateText, EraBoundaries) {
    const struct {
        int year, month, day;
        const char *long_text;
        const char *short_text;
    } expected[] = {
        {1900, 1, 1, "明治33年1月1日", "M33.1.1"},
        {1912, 7, 29, "明治45年7月29日", "M45.7.29"},
        {1912, 7, 30, "大正1年7月30日", "T1.7.30"},
        {1926, 12, 24, "大正15年12月24日", "T15.12.24"},
        {1926, 12, 25, "昭和1年12月25日", "S1.12.25"},
        {1989, 1, 7, "昭和64年1月7日", "S64.1.7"},
        {1989, 1, 8, "平成1年1月8日", "H1.1.8"},
        {2019, 4, 30, "平成31年4月30日", "H31.4.30"},
        {2019, 5, 1, "令和1年5月1日", "R1.5.1"},
        {2026, 12, 6, "令和8年12月6日", "R8.12.6"},
    };
    for (const auto &e : expected) {
        const double serial = serial_of(e.year, e.month, e.day);
        EXPECT_EQ(ozw_date_text(serial, 335), e.long_text) << e.year << "-" << e.month << "-" << e.day;
        EXPECT_EQ(ozw_date_text(serial, 334), e.short_text) << e.year << "-" << e.month << "-" << e.day;
    }
}

// Text of a cell of this type, day and value text in a format id.
std::string cell_text(signed char type, int day, const char *text, int format_id) {
    XLS_CELL cell{};
    cell.type = type;
    cell.number = day;
    cell.text = const_cast<char *>(text);
    return ozw_cell_date_text(cell, format_id);
}

TEST(DateText, CellsChooseTheirFormatByType) {
    EXPECT_EQ(cell_text(XLS_CELL_DATE, 42454, nullptr, 0), "2016/3/25");
    EXPECT_EQ(cell_text(XLS_CELL_DATE_TIME, 42454, "0.586910", 0), "2016/3/25 14:05");
    EXPECT_EQ(cell_text(XLS_CELL_TIME_HM, 0, "0.586910", 0), "14時5分");
    EXPECT_EQ(cell_text(XLS_CELL_TIME_HMS, 0, "0.586910", 0), "14:05:09");
    EXPECT_EQ(cell_text(XLS_CELL_TEXT, 42454, "x", 0), "");
    EXPECT_EQ(cell_text(XLS_CELL_DATE_TIME, 42454, "0.586910", 318), "2016/3/25 14:05:09");
    EXPECT_EQ(cell_text(XLS_CELL_DATE, 42454, "0.5", 404), "0:00:00");  // a date has no time
}

}  // namespace
