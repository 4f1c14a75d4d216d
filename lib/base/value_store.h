// Putting values into a cell record: sets the type code, the integer value
// and the texts the way the display and the writer expect them.
//
// Results: 0; -1 a kind the call does not take; -2 no memory for a text;
// -4 a date that cannot be converted.  On -1 and -4 the record is unchanged.
#pragma once

#include "date_serial.h"
#include "oxls.h"

#include <string>
#include <string_view>

// The kind of a number whose format asks for no particular kind: the reader
// stores it as an integer or a decimal.
constexpr int OZW_KIND_GENERAL = 10;

// Removes the zeros that carry no value: leading zeros (keeping the one
// directly before the decimal point) and, when there is a point, trailing
// zeros after it (keeping one digit after the point).  A leading sign stays.
// "2.500000" -> "2.5", "25.000000" -> "25.0", "007" -> "7", "-0.50" -> "-0.5";
// a text that would become empty becomes "0".
void ozw_trim_zeros(std::string &text);

// True for the types a number is stored as: integer, decimal, percentage,
// date and the times.
bool ozw_is_number_type(int type);

// Empty cell (type -1); its texts are freed.
void ozw_store_empty(XLS_CELL &cell);
// Text cell (type 0); the value text is a copy of `text`.
int ozw_store_text(XLS_CELL &cell, std::string_view text);
// Integer cell (type 11): integer value the low 32 bits, value text the
// full decimal number.
int ozw_store_integer(XLS_CELL &cell, long long value);
// Decimal (12) or percentage (13) cell: integer value the whole part, value
// text the number printed with exactly `decimals` digits after the point.
int ozw_store_decimal(XLS_CELL &cell, int kind, double value, int decimals);
// Date cell (20): integer value the serial day of year, month, day (hour,
// minute and second are not used); no value text.  -4 when the date does
// not convert.
int ozw_store_date(XLS_CELL &cell, const DateParts &date);
// Date-and-time (21) or time (23, 24) cell: a year below 1900 keeps only the
// time; integer value the whole serial, value text the time fraction ("%lf").
int ozw_store_date_time(XLS_CELL &cell, int kind, const DateParts &date);
// Shared-string cell (41): integer value the index.
int ozw_store_shared_string(XLS_CELL &cell, int index);
// Formula cell (50 without a kept value, 51 with one): the formula text is a
// copy of `formula`.
int ozw_store_formula(XLS_CELL &cell, int kind, std::string_view formula);

// A number read from a book, stored by the kind its number format gives
// (ozw_number_format_kind): percentages with their "%lf" digits, dates and
// times through their calendar parts, general numbers as an integer when
// whole and otherwise as a decimal with its significant digits (at most six).
int ozw_store_number(XLS_CELL &cell, int kind, double value);
