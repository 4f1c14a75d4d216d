// Cell values: the type code, the integer value and the texts the way the
// display and the writer expect them, made without the heap and put into a
// cell record.
//
// Results: 0; -1 a kind the call does not take; -2 no memory for a text;
// -4 a date that cannot be converted.  On -1 and -4 the value or record is
// unchanged.
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

// A value as a cell record keeps it, made without the heap: its type code,
// integer value and value text.  The text is held here for the number
// types and viewed for a text, whose bytes the maker keeps alive.  Made by
// the ozw_..._value functions below; ozw_store_value puts it into a record.
class StoredValue {
public:
    StoredValue() = default;
    StoredValue(const StoredValue &) = delete;
    StoredValue &operator=(const StoredValue &) = delete;

    int type() const { return type_; }
    int number() const { return number_; }
    // The value text: NUL-terminated when held here.
    std::string_view text() const { return held_ ? std::string_view(digits_, length_) : viewed_; }

    void set(int type, int number) {
        type_ = type;
        number_ = number;
        held_ = false;
        viewed_ = {};
    }
    void view_text(std::string_view text) {
        held_ = false;
        viewed_ = text;
    }
    // The held text: a whole number as "%lld" prints it, or a number with
    // exactly `decimals` digits after the point as "%.*f" prints it (at
    // most 64, which the buffer holds for any double).
    void write_integer(long long number);
    void write_fixed(double number, int decimals);
    // ozw_trim_zeros on the held text.
    void trim_zeros();

private:
    int type_ = XLS_CELL_EMPTY;
    int number_ = 0;
    bool held_ = false;
    std::string_view viewed_;
    unsigned length_ = 0;
    char digits_[400] = {};
};

// Text (type 0); the value views `text`.
void ozw_text_value(StoredValue &value, std::string_view text);
// Integer (type 11): integer value the low 32 bits, value text the full
// decimal number.
void ozw_integer_value(StoredValue &value, long long number);
// Decimal (12) or percentage (13): integer value the whole part, value text
// the number printed with exactly `decimals` digits after the point.
int ozw_decimal_value(StoredValue &value, int kind, double number, int decimals);
// Date (20): integer value the serial day of year, month, day (hour, minute
// and second are not used); no value text.  -4 when the date does not
// convert.
int ozw_date_value(StoredValue &value, const DateParts &date);
// Date and time (21) or time (23, 24): a year below 1900 keeps only the
// time; integer value the whole serial, value text the time fraction ("%lf").
int ozw_date_time_value(StoredValue &value, int kind, const DateParts &date);
// Shared string (41): integer value the index.
void ozw_shared_string_value(StoredValue &value, int index);
// A number read from a book, by the kind its number format gives
// (ozw_number_format_kind): percentages with their "%lf" digits, dates and
// times through their calendar parts, general numbers as an integer when
// whole and otherwise as a decimal with its significant digits (at most six).
int ozw_number_value(StoredValue &value, int kind, double number);

// Puts the value into the record: its type and texts, and its integer
// value unless it is a text.  0 or -2.
int ozw_store_value(XLS_CELL &cell, const StoredValue &value);
// A record that views the value (its text is not owned and must not be
// freed), for the calls that show a cell.
XLS_CELL ozw_cell_view(const StoredValue &value, unsigned style);

// Empty cell (type -1); its texts are freed.
void ozw_store_empty(XLS_CELL &cell);
// Formula cell (50 without a kept value, 51 with one): the formula text is a
// copy of `formula`.
int ozw_store_formula(XLS_CELL &cell, int kind, std::string_view formula);

// The ozw_..._value makers above, stored into a record at once.
int ozw_store_text(XLS_CELL &cell, std::string_view text);
int ozw_store_integer(XLS_CELL &cell, long long value);
int ozw_store_decimal(XLS_CELL &cell, int kind, double value, int decimals);
int ozw_store_date(XLS_CELL &cell, const DateParts &date);
int ozw_store_date_time(XLS_CELL &cell, int kind, const DateParts &date);
int ozw_store_shared_string(XLS_CELL &cell, int index);
