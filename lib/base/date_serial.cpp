// Serial day numbers of the 1900 date system.
#include "date_serial.h"

#include <cmath>

namespace {

// Days from 1970-01-01 to a Gregorian date (proleptic calendar, any year).
// The month may be 1..12; the day is added as it is, so day 0 is the last
// day of the month before.
long long days_from_civil(long long year, int month, long long day) {
    year -= month <= 2 ? 1 : 0;
    const long long era = (year >= 0 ? year : year - 399) / 400;
    const long long year_of_era = year - era * 400;
    const long long day_of_year = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const long long day_of_era = year_of_era * 365 + year_of_era / 4 - year_of_era / 100 + day_of_year;
    return era * 146097 + day_of_era - 719468;
}

// The Gregorian date `days` days after 1970-01-01.
void civil_from_days(long long days, DateParts &parts) {
    days += 719468;
    const long long era = (days >= 0 ? days : days - 146096) / 146097;
    const long long day_of_era = days - era * 146097;
    const long long year_of_era =
        (day_of_era - day_of_era / 1460 + day_of_era / 36524 - day_of_era / 146096) / 365;
    const long long day_of_year = day_of_era - (365 * year_of_era + year_of_era / 4 - year_of_era / 100);
    const long long shifted_month = (5 * day_of_year + 2) / 153;
    parts.day = static_cast<int>(day_of_year - (153 * shifted_month + 2) / 5 + 1);
    parts.month = static_cast<int>(shifted_month < 10 ? shifted_month + 3 : shifted_month - 9);
    parts.year = static_cast<int>(year_of_era + era * 400 + (parts.month <= 2 ? 1 : 0));
}

const long long DAY_ZERO = days_from_civil(1899, 12, 31);  // the day before serial 1
constexpr int LEAP_DAY_SERIAL = 60;                          // 1900-02-29

}  // namespace

bool ozw_is_leap_year(int year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int ozw_days_in_month(int year, int month) {
    static const int LENGTHS[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12) return 0;
    return month == 2 && ozw_is_leap_year(year) ? 29 : LENGTHS[month - 1];
}

DateParts ozw_serial_to_date(double serial) {
    DateParts parts;
    if (!(serial >= 0.0) || serial > OZW_MAX_SERIAL) return parts;  // NaN lands here too
    const double whole = std::floor(serial);
    const long long day_number = static_cast<long long>(whole);
    if (day_number == LEAP_DAY_SERIAL) {
        parts.month = 2;
        parts.day = 29;
        return parts;
    }
    if (day_number != 1) {
        // Past the leap day the serial runs one day ahead of the calendar.
        const long long calendar_day = day_number > LEAP_DAY_SERIAL ? day_number - 1 : day_number;
        if (calendar_day == 0) {
            parts.day = 0;  // 1899-12-31 is shown as 1900-01-00
        } else {
            civil_from_days(DAY_ZERO + calendar_day, parts);
        }
    }
    const double fraction = serial - whole;
    if (fraction > 0.00001) {
        const long seconds = static_cast<long>(fraction * 86400.0 + 0.5);
        parts.hour = static_cast<int>(seconds / 3600);
        parts.minute = static_cast<int>(seconds % 3600 / 60);
        parts.second = static_cast<int>(seconds % 60);
    }
    return parts;
}

std::optional<double> ozw_date_to_serial(int year, int month, int day, int hour, int minute,
                                         int second) {
    if (hour < 0 || hour > 24) hour = 0;
    if (minute < 0 || minute > 60) minute = 0;
    if (second < 0 || second > 60) second = 0;
    const double time = (hour * 3600.0 + minute * 60.0 + second) / 86400.0;
    if (year == 0 && month == 0 && day == 0) return time;
    if (year == 0) year = 1900;
    if (month == 0) month = 1;
    if (day == 0) day = 1;
    if (year < 1900 || month < 1 || month > 12 || day < 1 || day > 31) return std::nullopt;
    long long serial = days_from_civil(year, month, day) - DAY_ZERO;
    if (year > 1900 || month > 2) ++serial;  // the system's extra day, 1900-02-29
    return static_cast<double>(serial) + time;
}

int ozw_day_of_week(int year, int month, int day) {
    // Zeller's congruence, January and February counted as months 13 and 14
    // of the year before; h is 0 for Saturday.
    long long y = year;
    long long m = month;
    if (m < 3) {
        m += 12;
        --y;
    }
    const long long century = y >= 0 ? y / 100 : (y - 99) / 100;
    const long long year_of_century = y - century * 100;
    long long h = (day + 13 * (m + 1) / 5 + year_of_century + year_of_century / 4 + century / 4 +
                   5 * century) % 7;
    if (h < 0) h += 7;
    return static_cast<int>((h + 6) % 7);
}
