// Serial day numbers of the 1900 date system and their calendar parts.
//
// Day 1 is 1900-01-01.  The system keeps the day 1900-02-29 that the
// Gregorian calendar does not have (serial 60), so every later date is one
// day further on than a plain day count gives.  The fraction of a serial is
// the time of day.
#pragma once

#include <optional>

struct DateParts {
    int year = 1900;
    int month = 1;   // 1 to 12
    int day = 1;     // 0 only for the serials below 1 (shown as 1900/1/0)
    int hour = 0;    // 24 when a time rounds up to the end of the day
    int minute = 0;
    int second = 0;
};

// Largest serial that still has a date (9999-12-31).
constexpr double OZW_MAX_SERIAL = 2958465.0;

// Calendar parts of a serial.  Serials below 0 or above OZW_MAX_SERIAL give
// 1900-01-01 00:00:00; serial 60 gives 1900-02-29 without a time; serials
// from 0 up to 1 give the day 1900-01-00.  A fraction of at most 0.00001
// counts as no time; seconds are rounded to the nearest whole second.
DateParts ozw_serial_to_date(double serial);

// The serial of calendar parts.  Year, month and day all 0 give the time
// fraction alone; otherwise a 0 year means 1900 and a 0 month or day means 1.
// An hour outside 0..24 or a minute or second outside 0..60 counts as 0.
// Nothing when the year is below 1900, the month outside 1..12 or the day
// outside 1..31 (days past the month's end run on into the next month).
std::optional<double> ozw_date_to_serial(int year, int month, int day, int hour = 0,
                                         int minute = 0, int second = 0);

// Gregorian day of the week: 0 Sunday to 6 Saturday.
int ozw_day_of_week(int year, int month, int day);

// Gregorian leap year and month length (February 28 or 29).
bool ozw_is_leap_year(int year);
int ozw_days_in_month(int year, int month);
