// Date and time texts in every format id.
#include "read/date_serial.h"
#include "read/date_text.h"
#include "read/format_id.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

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

TEST(DateText, IdsOutsideTheTableAreEmpty) {
    for (int id : {0, 100, 107, 201, 300, 320, 336, 344, 400, 408, 501, 900}) {
        EXPECT_EQ(ozw_date_text(42454, id), "") << "id " << id;
    }
}

TEST(DateText, FirstDaysOfTheSystem) {
    EXPECT_EQ(ozw_date_text(0, 302), "1900/1/0");
    EXPECT_EQ(ozw_date_text(0.5, 303), "1900/1/0 12:00");
    EXPECT_EQ(ozw_date_text(1, 302), "1900/1/1");
    EXPECT_EQ(ozw_date_text(59, 302), "1900/2/28");
    EXPECT_EQ(ozw_date_text(60, 302), "1900/2/29");
    EXPECT_EQ(ozw_date_text(61, 302), "1900/3/1");
    EXPECT_EQ(ozw_date_text(42454, 302), "2016/3/25");
}

TEST(DateText, TwoDigitYears) {
    EXPECT_EQ(ozw_date_text(serial_of(1900, 5, 1), 307), "5/1/1900");
    EXPECT_EQ(ozw_date_text(serial_of(1901, 5, 1), 307), "5/1/01");
    EXPECT_EQ(ozw_date_text(serial_of(1999, 5, 1), 308), "05/01/99");
    EXPECT_EQ(ozw_date_text(serial_of(2000, 5, 1), 312), "May-00");
    EXPECT_EQ(ozw_date_text(serial_of(2105, 12, 1), 315), "D-105");
}

TEST(DateText, TwelveHourClock) {
    EXPECT_EQ(ozw_date_text(serial_of(2016, 3, 25, 0, 30), 403), "12:30 AM");
    EXPECT_EQ(ozw_date_text(serial_of(2016, 3, 25, 11, 59), 403), "11:59 AM");
    EXPECT_EQ(ozw_date_text(serial_of(2016, 3, 25, 12, 0), 403), "12:00 PM");
    EXPECT_EQ(ozw_date_text(serial_of(2016, 3, 25, 13, 0, 5), 406), "1:00:05 PM");
    EXPECT_EQ(ozw_date_text(serial_of(2016, 3, 25, 23, 59), 304), "2016/3/25 11:59 PM");
}

TEST(DateText, RoundingToTheEndOfTheDay) {
    const double almost_midnight = 42454.999999;
    EXPECT_EQ(ozw_date_text(almost_midnight, 303), "2016/3/25 24:00");
    EXPECT_EQ(ozw_date_text(almost_midnight, 404), "24:00:00");
    EXPECT_EQ(ozw_date_text(almost_midnight, 403), "12:00 AM");
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
        // The era table ends with Heisei: later dates keep counting its years.
        {2019, 5, 1, "平成31年5月1日", "H31.5.1"},
    };
    for (const auto &e : expected) {
        const double serial = serial_of(e.year, e.month, e.day);
        EXPECT_EQ(ozw_date_text(serial, 335), e.long_text) << e.year << "-" << e.month << "-" << e.day;
        EXPECT_EQ(ozw_date_text(serial, 334), e.short_text) << e.year << "-" << e.month << "-" << e.day;
    }
}

TEST(DateText, WeekdaysAcrossAWeek) {
    const char *const abbreviations[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
    const char *const japanese[] = {"日曜日", "月曜日", "火曜日", "水曜日", "木曜日", "金曜日", "土曜日"};
    const double sunday = serial_of(2016, 3, 20);
    for (int i = 0; i < 7; ++i) {
        EXPECT_EQ(ozw_date_text(sunday + i, 340), abbreviations[i]);
        EXPECT_EQ(ozw_date_text(sunday + i, 343), japanese[i]);
    }
}

XLS_CELL make_cell(signed char type, int number, const char *text) {
    XLS_CELL cell{};
    cell.type = type;
    cell.number = number;
    cell.text = text ? strdup(text) : nullptr;
    return cell;
}

TEST(DateText, CellsChooseTheirFormatByType) {
    XLS_CELL date = make_cell(XLS_CELL_DATE, 42454, nullptr);
    XLS_CELL date_time = make_cell(XLS_CELL_DATE_TIME, 42454, "0.586910");
    XLS_CELL hours = make_cell(XLS_CELL_TIME_HM, 0, "0.586910");
    XLS_CELL seconds = make_cell(XLS_CELL_TIME_HMS, 0, "0.586910");
    XLS_CELL text = make_cell(XLS_CELL_TEXT, 42454, "x");
    XLS_CELL date_with_text = make_cell(XLS_CELL_DATE, 42454, "0.5");
    EXPECT_EQ(ozw_cell_date_text(date, 0), "2016/3/25");
    EXPECT_EQ(ozw_cell_date_text(date_time, 0), "2016/3/25 14:05");
    EXPECT_EQ(ozw_cell_date_text(hours, 0), "14時5分");
    EXPECT_EQ(ozw_cell_date_text(seconds, 0), "14:05:09");
    EXPECT_EQ(ozw_cell_date_text(text, 0), "");
    EXPECT_EQ(ozw_cell_date_text(date_time, 318), "2016/3/25 14:05:09");
    // A date cell ignores any text it holds: only its day counts.
    EXPECT_EQ(ozw_cell_date_text(date_with_text, 404), "0:00:00");
    for (XLS_CELL *cell : {&date, &date_time, &hours, &seconds, &text, &date_with_text}) {
        std::free(cell->text);
    }
}

}  // namespace
