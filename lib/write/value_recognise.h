// Recognising what a value text written into a cell stands for: a number,
// a percentage, a date, a time or a date and time.  Anything else is kept
// as a string by the caller.
#pragma once

#include "date_serial.h"

#include <optional>
#include <string_view>

struct NumberValue {
    bool decimal = false;   // written with a decimal point
    long long integer = 0;  // the value when not decimal
    double value = 0;       // the value (also for integers)
    int decimals = 0;       // digits after the point
};

// A number shorter than 20 bytes: digits (at least one), a sign only as the
// first character, at most one point, commas anywhere (ignored).  Nothing
// for other texts and for integers beyond 64 bits.
std::optional<NumberValue> ozw_recognise_number(std::string_view text);

// "12.5%": a number followed by "%" (texts under 4000 bytes), as the
// fraction (0.125) with two decimals more than written, so that no digit is
// lost.
std::optional<NumberValue> ozw_recognise_percent(std::string_view text);

struct DateTimeValue {
    int kind = 0;        // XLS_CELL_DATE, _DATE_TIME, _TIME_HM or _TIME_HMS
    DateParts parts;     // year, month and day 0 for a time of the first day
};

// Dates "2016/3/5" or "2016-03-05" (four-digit year, the same separator
// twice, months and days of one or two digits, a valid calendar day), times
// "h:mm" and "h:mm:ss" (minutes and seconds two digits below 60), and a date
// followed by a blank and a time.  Hours of 24 or more in a lone time carry
// whole days into the date: day d counts from 1 January 1900 with the 29-day
// February of 1900, up to day 416; more days make the text no time.
std::optional<DateTimeValue> ozw_recognise_date_time(std::string_view text);

// Display width: one for ASCII and half-width katakana, two for every other
// character (UTF-8 text).
int ozw_display_width(std::string_view text);
