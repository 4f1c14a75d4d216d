// Putting values into cell records.
#include "value_store.h"

#include "book_record.h"
#include "result_codes.h"

#include <charconv>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <type_traits>

namespace {

constexpr int MAX_DECIMALS = 64;

// The whole part of a value as the record's 32-bit integer, held at the
// ends of the range.
int whole_part(double value) {
    if (!(value == value)) return 0;
    const double whole = std::trunc(value);
    if (whole >= static_cast<double>(INT_MAX)) return INT_MAX;
    if (whole <= static_cast<double>(INT_MIN)) return INT_MIN;
    return static_cast<int>(whole);
}

void drop_value_text(XLS_CELL &cell) {
    std::free(cell.text);
    cell.text = nullptr;
}

// A maker of a value, stored into a record at once.
template <typename Maker, typename... Args>
int store_made(XLS_CELL &cell, Maker maker, Args... args) {
    StoredValue value;
    if constexpr (std::is_void_v<decltype(maker(value, args...))>) {
        maker(value, args...);
    } else if (const int rc = maker(value, args...)) {
        return rc;
    }
    return ozw_store_value(cell, value);
}

// The zero trimming on `length` bytes of `text` in place; the new length.
size_t trim_zeros(char *text, size_t length) {
    const size_t start = length > 0 && (text[0] == '-' || text[0] == '+') ? 1 : 0;
    const char *found = static_cast<const char *>(std::memchr(text, '.', length));
    const size_t point = found ? static_cast<size_t>(found - text) : std::string::npos;
    // Leading zeros go, except one that stands directly before the point.
    size_t limit = length;
    if (point != std::string::npos) limit = point > start ? point - 1 : start;
    size_t first = start;
    while (first < limit && text[first] == '0') ++first;
    std::memmove(text + start, text + first, length - first);
    length -= first - start;
    if (point != std::string::npos) {
        const size_t new_point = point - (first - start);
        while (length > new_point + 2 && text[length - 1] == '0') --length;
    }
    if (length == start) {
        text[0] = '0';
        length = 1;
    }
    return length;
}

}  // namespace

void ozw_trim_zeros(std::string &text) { text.resize(trim_zeros(text.data(), text.size())); }

void StoredValue::write_integer(long long number) {
    length_ = static_cast<unsigned>(std::to_chars(digits_, digits_ + sizeof digits_ - 1, number).ptr - digits_);
    digits_[length_] = '\0';
    held_ = true;
}

void StoredValue::write_fixed(double number, int decimals) {
    const auto end = std::to_chars(digits_, digits_ + sizeof digits_ - 1, number, std::chars_format::fixed, decimals).ptr;
    length_ = static_cast<unsigned>(end - digits_);
    digits_[length_] = '\0';
    held_ = true;
}

void StoredValue::trim_zeros() {
    length_ = static_cast<unsigned>(::trim_zeros(digits_, length_));
    digits_[length_] = '\0';
}

bool ozw_is_number_type(int type) {
    switch (type) {
    case XLS_CELL_INTEGER: case XLS_CELL_DECIMAL: case XLS_CELL_PERCENT: case XLS_CELL_DATE:
    case XLS_CELL_DATE_TIME: case XLS_CELL_TIME_HM: case XLS_CELL_TIME_HMS:
        return true;
    default:
        return false;
    }
}

void ozw_text_value(StoredValue &value, std::string_view text) {
    value.set(XLS_CELL_TEXT, value.number());
    value.view_text(text);
}

void ozw_integer_value(StoredValue &value, long long number) {
    const auto low_bits = static_cast<int32_t>(static_cast<uint32_t>(static_cast<unsigned long long>(number)));
    value.set(XLS_CELL_INTEGER, low_bits);
    value.write_integer(number);
}

int ozw_decimal_value(StoredValue &value, int kind, double number, int decimals) {
    if (kind != XLS_CELL_DECIMAL && kind != XLS_CELL_PERCENT) return OZW_WRONG_KIND;
    if (decimals < 0) decimals = 6;
    if (decimals > MAX_DECIMALS) decimals = MAX_DECIMALS;
    value.set(kind, whole_part(number));
    value.write_fixed(number, decimals);
    return 0;
}

int ozw_date_value(StoredValue &value, const DateParts &date) {
    const std::optional<double> serial = ozw_date_to_serial(date.year, date.month, date.day);
    if (!serial) return OZW_BAD_DATE;
    value.set(XLS_CELL_DATE, whole_part(*serial));
    return 0;
}

int ozw_date_time_value(StoredValue &value, int kind, const DateParts &date) {
    if (kind != XLS_CELL_DATE_TIME && kind != XLS_CELL_TIME_HM && kind != XLS_CELL_TIME_HMS) return OZW_WRONG_KIND;
    const bool time_only = date.year < 1900;
    const std::optional<double> serial =
        ozw_date_to_serial(time_only ? 0 : date.year, time_only ? 0 : date.month,
                           time_only ? 0 : date.day, date.hour, date.minute, date.second);
    if (!serial) return OZW_BAD_DATE;
    const double day = std::floor(*serial);
    value.set(kind, whole_part(day));
    value.write_fixed(*serial - day, 6);
    return 0;
}

void ozw_shared_string_value(StoredValue &value, int index) { value.set(XLS_CELL_SHARED_STRING, index); }

int ozw_number_value(StoredValue &value, int kind, double number) {
    switch (kind) {
    case XLS_CELL_PERCENT:
        return ozw_decimal_value(value, XLS_CELL_PERCENT, number, 6);
    case XLS_CELL_DATE:
    case XLS_CELL_DATE_TIME:
    case XLS_CELL_TIME_HM:
    case XLS_CELL_TIME_HMS: {
        DateParts date = ozw_serial_to_date(number);
        // Serials below 1 fall on the day 1900-01-00, which no calendar date
        // names: all-zero parts keep them as day 0 with the time alone.
        if (date.day == 0) date.year = date.month = date.day = 0;
        if (kind == XLS_CELL_DATE) return ozw_date_value(value, date);
        return ozw_date_time_value(value, kind, date);
    }
    case OZW_KIND_GENERAL: {
        if (number == std::floor(number) && std::fabs(number) < 9.2e18) {
            ozw_integer_value(value, static_cast<long long>(number));
            return 0;
        }
        ozw_decimal_value(value, XLS_CELL_DECIMAL, number, 6);
        value.trim_zeros();
        return 0;
    }
    default:
        return OZW_WRONG_KIND;
    }
}

int ozw_store_value(XLS_CELL &cell, const StoredValue &value) {
    const int type = value.type();
    const bool has_text = type == XLS_CELL_TEXT || type == XLS_CELL_INTEGER || type == XLS_CELL_DECIMAL ||
                          type == XLS_CELL_PERCENT || type == XLS_CELL_DATE_TIME || type == XLS_CELL_TIME_HM ||
                          type == XLS_CELL_TIME_HMS;
    if (!has_text) {
        drop_value_text(cell);
    } else if (ozw_set_cell_text(&cell.text, value.text().data(), value.text().size()) != 0) {
        return OXLS_ERR_MEMORY;
    }
    cell.type = static_cast<signed char>(type);
    if (type != XLS_CELL_TEXT) cell.number = value.number();
    return 0;
}

XLS_CELL ozw_cell_view(const StoredValue &value, unsigned style) {
    XLS_CELL cell{static_cast<signed char>(value.type()), style, value.number(), nullptr, nullptr, nullptr};
    // A held text ends with a NUL; the record's readers take it as a C string.
    cell.text = const_cast<char *>(value.text().data());
    return cell;
}

void ozw_store_empty(XLS_CELL &cell) {
    drop_value_text(cell);
    std::free(cell.formula);
    cell.formula = nullptr;
    cell.type = XLS_CELL_EMPTY;
}

int ozw_store_formula(XLS_CELL &cell, int kind, std::string_view formula) {
    if (kind != XLS_CELL_FORMULA && kind != XLS_CELL_FORMULA_VALUE) return OZW_WRONG_KIND;
    if (ozw_set_cell_text(&cell.formula, formula.data(), formula.size()) != 0) return OXLS_ERR_MEMORY;
    cell.type = static_cast<signed char>(kind);
    return 0;
}

int ozw_store_text(XLS_CELL &cell, std::string_view text) { return store_made(cell, ozw_text_value, text); }
int ozw_store_integer(XLS_CELL &cell, long long value) { return store_made(cell, ozw_integer_value, value); }
int ozw_store_decimal(XLS_CELL &cell, int kind, double value, int decimals) {
    return store_made(cell, ozw_decimal_value, kind, value, decimals);
}
int ozw_store_date(XLS_CELL &cell, const DateParts &date) { return store_made(cell, ozw_date_value, date); }
int ozw_store_date_time(XLS_CELL &cell, int kind, const DateParts &date) {
    return store_made(cell, ozw_date_time_value, kind, date);
}
int ozw_store_shared_string(XLS_CELL &cell, int index) { return store_made(cell, ozw_shared_string_value, index); }
