// Serial day numbers of the 1900 date system and back.
#include "read/date_serial.h"

#include <gtest/gtest.h>

namespace {

void expect_date(double serial, int year, int month, int day, int hour = 0, int minute = 0,
                 int second = 0) {
    const DateParts d = ozw_serial_to_date(serial);
    EXPECT_EQ(d.year, year) << "serial " << serial;
    EXPECT_EQ(d.month, month) << "serial " << serial;
    EXPECT_EQ(d.day, day) << "serial " << serial;
    EXPECT_EQ(d.hour, hour) << "serial " << serial;
    EXPECT_EQ(d.minute, minute) << "serial " << serial;
    EXPECT_EQ(d.second, second) << "serial " << serial;
}

TEST(DateSerial, DaysAroundTheFictitiousLeapDay) {
    expect_date(0, 1900, 1, 0);
    expect_date(0.5, 1900, 1, 0, 12);
    expect_date(1, 1900, 1, 1);
    expect_date(1.25, 1900, 1, 1, 6);
    expect_date(59, 1900, 2, 28);
    expect_date(60, 1900, 2, 29);
    expect_date(60.5, 1900, 2, 29);  // the leap day carries no time
    expect_date(61, 1900, 3, 1);
    expect_date(366, 1900, 12, 31);
    expect_date(367, 1901, 1, 1);
}

TEST(DateSerial, CenturyLeapYearsAndTheLastDay) {
    expect_date(42454, 2016, 3, 25);
    expect_date(36585, 2000, 2, 29);   // 2000 is a leap year
    expect_date(73109, 2100, 2, 28);   // 2100 is not
    expect_date(73110, 2100, 3, 1);
    expect_date(2958465, 9999, 12, 31);
}

TEST(DateSerial, OutOfRangeSerialsGiveTheStart) {
    expect_date(-1, 1900, 1, 1);
    expect_date(-0.5, 1900, 1, 1);
    expect_date(2958466, 1900, 1, 1);
    expect_date(1e300, 1900, 1, 1);
}

TEST(DateSerial, TimeRounding) {
    expect_date(42454.000005, 2016, 3, 25);           // below the threshold: no time
    expect_date(42454 + 50709.0 / 86400, 2016, 3, 25, 14, 5, 9);
    expect_date(42454 + 59.6 / 86400, 2016, 3, 25, 0, 1, 0);  // seconds round to nearest
    expect_date(42454.999999, 2016, 3, 25, 24, 0, 0);  // rounds up to the end of the day
}

TEST(DateSerial, PartsToSerial) {
    EXPECT_EQ(ozw_date_to_serial(1900, 1, 1), 1.0);
    EXPECT_EQ(ozw_date_to_serial(1900, 2, 28), 59.0);
    EXPECT_EQ(ozw_date_to_serial(1900, 2, 29), 60.0);
    EXPECT_EQ(ozw_date_to_serial(1900, 3, 1), 61.0);
    EXPECT_EQ(ozw_date_to_serial(2016, 3, 25), 42454.0);
    EXPECT_DOUBLE_EQ(*ozw_date_to_serial(2016, 3, 25, 12, 0, 0), 42454.5);
    EXPECT_DOUBLE_EQ(*ozw_date_to_serial(0, 0, 0, 6, 0, 0), 0.25);  // time alone
    EXPECT_EQ(ozw_date_to_serial(0, 3, 0), ozw_date_to_serial(1900, 3, 1));
    EXPECT_DOUBLE_EQ(*ozw_date_to_serial(2016, 3, 25, 25, 61, 61), 42454.0);  // out-of-range time is 0
    EXPECT_DOUBLE_EQ(*ozw_date_to_serial(2016, 3, 25, 24, 0, 0), 42455.0);
}

TEST(DateSerial, PartsThatDoNotConvert) {
    EXPECT_FALSE(ozw_date_to_serial(1899, 12, 31));
    EXPECT_FALSE(ozw_date_to_serial(2016, 13, 1));
    EXPECT_FALSE(ozw_date_to_serial(2016, -1, 1));
    EXPECT_FALSE(ozw_date_to_serial(2016, 1, 32));
}

TEST(DateSerial, EveryDayRoundTrips) {
    for (int serial = 1; serial <= 80000; ++serial) {
        const DateParts d = ozw_serial_to_date(serial);
        ASSERT_GE(d.day, 1) << serial;
        ASSERT_LE(d.day, d.year == 1900 && d.month == 2 ? 29 : ozw_days_in_month(d.year, d.month))
            << serial;
        ASSERT_EQ(ozw_date_to_serial(d.year, d.month, d.day), static_cast<double>(serial)) << serial;
    }
}

TEST(DateSerial, DayOfWeek) {
    EXPECT_EQ(ozw_day_of_week(2016, 3, 25), 5);   // Friday
    EXPECT_EQ(ozw_day_of_week(2000, 1, 1), 6);    // Saturday, counted in the year before
    EXPECT_EQ(ozw_day_of_week(2000, 2, 29), 2);   // Tuesday
    EXPECT_EQ(ozw_day_of_week(1900, 1, 1), 1);    // Monday
    EXPECT_EQ(ozw_day_of_week(1989, 1, 8), 0);    // Sunday
}

TEST(DateSerial, MonthLengths) {
    EXPECT_EQ(ozw_days_in_month(1900, 2), 28);
    EXPECT_EQ(ozw_days_in_month(2000, 2), 29);
    EXPECT_EQ(ozw_days_in_month(2015, 2), 28);
    EXPECT_EQ(ozw_days_in_month(2016, 4), 30);
    EXPECT_EQ(ozw_days_in_month(2016, 13), 0);
}

}  // namespace
