// Serial day numbers of the 1900 date system and back.
#include "date_serial.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

void expect_date(double serial, int year, int month, int day, int hour = 0, int minute = 0,
                 int second = 0) {
    const DateParts d = ozw_serial_to_date(serial);
    EXPECT_EQ((std::vector<int>{d.year, d.month, d.day, d.hour, d.minute, d.second}),
              (std::vector<int>{year, month, day, hour, minute, second}))
        << "serial " << serial;
}

TEST(DateSerial, CalendarDaysAndRoundedTimes) {
    expect_date(1.25, 1900, 1, 1, 6);
    expect_date(60.5, 1900, 2, 29);  // the system's own leap day carries no time
    expect_date(36585, 2000, 2, 29);
    expect_date(73109, 2100, 2, 28);
    expect_date(73110, 2100, 3, 1);
    expect_date(2958465, 9999, 12, 31);
    for (double outside : {-1.0, -0.5, 2958466.0, 1e300}) expect_date(outside, 1900, 1, 1);
    expect_date(42454.000008, 2016, 3, 25);  // 0.69 s, below the threshold: no time
    expect_date(42454 + 50709.0 / 86400, 2016, 3, 25, 14, 5, 9);
    expect_date(42454 + 59.6 / 86400, 2016, 3, 25, 0, 1, 0);
    expect_date(42454.999999, 2016, 3, 25, 24, 0, 0);
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

}  // namespace
