// Putting values into cell records.
#include "value_store.h"

#include "book_record.h"

#include <climits>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

constexpr int MAX_DECIMALS = 64;

std::string print(const char *pattern, int decimals, double value) {
    const int length = std::snprintf(nullptr, 0, pattern, decimals, value);
    std::string text(static_cast<size_t>(length), '\0');
    std::snprintf(text.data(), text.size() + 1, pattern, decimals, value);
    return text;
}

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

int store_number_text(XLS_CELL &cell, int kind, int number, const std::string &text) {
    if (ozw_set_cell_text(&cell.text, text.data(), text.size()) != 0) return -2;
    cell.type = static_cast<signed char>(kind);
    cell.number = number;
    return 0;
}

}  // namespace

void ozw_trim_zeros(std::string &text) {
    const size_t start = !text.empty() && (text[0] == '-' || text[0] == '+') ? 1 : 0;
    const size_t point = text.find('.');
    // Leading zeros go, except one that stands directly before the point.
    size_t limit = text.size();
    if (point != std::string::npos) limit = point > start ? point - 1 : start;
    size_t first = start;
    while (first < limit && text[first] == '0') ++first;
    text.erase(start, first - start);
    if (point != std::string::npos) {
        const size_t new_point = point - (first - start);
        size_t end = text.size();
        while (end > new_point + 2 && text[end - 1] == '0') --end;
        text.resize(end);
    }
    if (text.size() == start) {
        text.clear();
        text.push_back('0');
    }
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

void ozw_store_empty(XLS_CELL &cell) {
    drop_value_text(cell);
    std::free(cell.formula);
    cell.formula = nullptr;
    cell.type = XLS_CELL_EMPTY;
}

int ozw_store_text(XLS_CELL &cell, std::string_view text) {
    if (ozw_set_cell_text(&cell.text, text.data(), text.size()) != 0) return -2;
    cell.type = XLS_CELL_TEXT;
    return 0;
}

int ozw_store_integer(XLS_CELL &cell, long long value) {
    const auto low_bits = static_cast<int32_t>(static_cast<uint32_t>(static_cast<unsigned long long>(value)));
    return store_number_text(cell, XLS_CELL_INTEGER, low_bits, std::to_string(value));
}

int ozw_store_decimal(XLS_CELL &cell, int kind, double value, int decimals) {
    if (kind != XLS_CELL_DECIMAL && kind != XLS_CELL_PERCENT) return -1;
    if (decimals < 0) decimals = 6;
    if (decimals > MAX_DECIMALS) decimals = MAX_DECIMALS;
    return store_number_text(cell, kind, whole_part(value), print("%.*f", decimals, value));
}

int ozw_store_date(XLS_CELL &cell, const DateParts &date) {
    const std::optional<double> serial = ozw_date_to_serial(date.year, date.month, date.day);
    if (!serial) return -4;
    drop_value_text(cell);
    cell.type = XLS_CELL_DATE;
    cell.number = whole_part(*serial);
    return 0;
}

int ozw_store_date_time(XLS_CELL &cell, int kind, const DateParts &date) {
    if (kind != XLS_CELL_DATE_TIME && kind != XLS_CELL_TIME_HM && kind != XLS_CELL_TIME_HMS) return -1;
    const bool time_only = date.year < 1900;
    const std::optional<double> serial =
        ozw_date_to_serial(time_only ? 0 : date.year, time_only ? 0 : date.month,
                           time_only ? 0 : date.day, date.hour, date.minute, date.second);
    if (!serial) return -4;
    const double day = std::floor(*serial);
    return store_number_text(cell, kind, whole_part(day), print("%.*f", 6, *serial - day));
}

int ozw_store_shared_string(XLS_CELL &cell, int index) {
    drop_value_text(cell);
    cell.type = XLS_CELL_SHARED_STRING;
    cell.number = index;
    return 0;
}

int ozw_store_formula(XLS_CELL &cell, int kind, std::string_view formula) {
    if (kind != XLS_CELL_FORMULA && kind != XLS_CELL_FORMULA_VALUE) return -1;
    if (ozw_set_cell_text(&cell.formula, formula.data(), formula.size()) != 0) return -2;
    cell.type = static_cast<signed char>(kind);
    return 0;
}

int ozw_store_number(XLS_CELL &cell, int kind, double value) {
    switch (kind) {
    case XLS_CELL_PERCENT:
        return ozw_store_decimal(cell, XLS_CELL_PERCENT, value, 6);
    case XLS_CELL_DATE:
    case XLS_CELL_DATE_TIME:
    case XLS_CELL_TIME_HM:
    case XLS_CELL_TIME_HMS: {
        DateParts date = ozw_serial_to_date(value);
        // Serials below 1 fall on the day 1900-01-00, which no calendar date
        // names: all-zero parts keep them as day 0 with the time alone.
        if (date.day == 0) date.year = date.month = date.day = 0;
        if (kind == XLS_CELL_DATE) return ozw_store_date(cell, date);
        return ozw_store_date_time(cell, kind, date);
    }
    case OZW_KIND_GENERAL: {
        if (value == std::floor(value) && std::fabs(value) < 9.2e18) {
            return ozw_store_integer(cell, static_cast<long long>(value));
        }
        std::string text = print("%.*f", 6, value);
        ozw_trim_zeros(text);
        return store_number_text(cell, XLS_CELL_DECIMAL, whole_part(value), text);
    }
    default:
        return -1;
    }
}
