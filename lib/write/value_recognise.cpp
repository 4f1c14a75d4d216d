// Recognising numbers, percentages, dates and times in value texts.
#include "value_recognise.h"

#include "oxls.h"

#include <cerrno>
#include <cstdlib>
#include <string>

namespace {

constexpr size_t NUMBER_TEXT_LIMIT = 20;
constexpr size_t PERCENT_TEXT_LIMIT = 4000;
constexpr int LAST_CARRIED_DAY = 416;
constexpr int HOUR_DIGITS_LIMIT = 5;

bool is_digit(char c) { return c >= '0' && c <= '9'; }

// A run of 1 to max_digits digits at text[pos]; its value, pos advanced.
std::optional<int> read_digits(std::string_view text, size_t &pos, size_t min_digits, size_t max_digits) {
    size_t start = pos;
    int value = 0;
    while (pos < text.size() && is_digit(text[pos]) && pos - start < max_digits)
        value = value * 10 + (text[pos++] - '0');
    if (pos - start < min_digits || (pos < text.size() && is_digit(text[pos]))) return std::nullopt;
    return value;
}

// A month or day of one or two digits: one digit 1 to 9; two digits whose
// first is at most `first_max`.
std::optional<int> read_month_or_day(std::string_view text, size_t &pos, char first_max) {
    size_t start = pos;
    std::optional<int> value = read_digits(text, pos, 1, 2);
    if (!value) return std::nullopt;
    if (pos - start == 1 && *value == 0) return std::nullopt;
    if (pos - start == 2 && text[start] > first_max) return std::nullopt;
    return value;
}

bool is_calendar_day(int year, int month, int day) {
    if (year < 1900 || month < 1 || month > 12 || day < 1) return false;
    // The 1900 date system keeps 29 February 1900.
    if (year == 1900 && month == 2) return day <= 29;
    return day <= ozw_days_in_month(year, month);
}

std::optional<DateParts> read_date(std::string_view text, size_t &pos) {
    std::optional<int> year = read_digits(text, pos, 4, 4);
    if (!year || pos >= text.size() || (text[pos] != '/' && text[pos] != '-')) return std::nullopt;
    char separator = text[pos++];
    std::optional<int> month = read_month_or_day(text, pos, '1');
    if (!month || pos >= text.size() || text[pos] != separator) return std::nullopt;
    ++pos;
    std::optional<int> day = read_month_or_day(text, pos, '3');
    if (!day || !is_calendar_day(*year, *month, *day)) return std::nullopt;
    DateParts parts;
    parts.year = *year;
    parts.month = *month;
    parts.day = *day;
    return parts;
}

struct TimeOfDay {
    int hour = 0, minute = 0, second = 0;
    bool with_seconds = false;
};

std::optional<TimeOfDay> read_time(std::string_view text, size_t &pos) {
    TimeOfDay time;
    std::optional<int> hour = read_digits(text, pos, 1, HOUR_DIGITS_LIMIT);
    if (!hour || pos >= text.size() || text[pos] != ':') return std::nullopt;
    ++pos;
    std::optional<int> minute = read_digits(text, pos, 2, 2);
    if (!minute || *minute >= 60) return std::nullopt;
    time.hour = *hour;
    time.minute = *minute;
    if (pos < text.size() && text[pos] == ':') {
        ++pos;
        std::optional<int> second = read_digits(text, pos, 2, 2);
        if (!second || *second >= 60) return std::nullopt;
        time.second = *second;
        time.with_seconds = true;
    }
    return time;
}

std::optional<DateTimeValue> lone_time(std::string_view text) {
    size_t pos = 0;
    std::optional<TimeOfDay> time = read_time(text, pos);
    if (!time || pos != text.size()) return std::nullopt;
    DateTimeValue result;
    result.kind = time->with_seconds ? XLS_CELL_TIME_HMS : XLS_CELL_TIME_HM;
    int days = time->hour / 24;
    if (days > LAST_CARRIED_DAY) return std::nullopt;
    if (days == 0) {
        result.parts.year = result.parts.month = result.parts.day = 0;
    } else {
        result.parts = ozw_serial_to_date(days);
    }
    result.parts.hour = time->hour % 24;
    result.parts.minute = time->minute;
    result.parts.second = time->second;
    return result;
}

}  // namespace

std::optional<NumberValue> ozw_recognise_number(std::string_view text) {
    if (text.empty() || text.size() >= NUMBER_TEXT_LIMIT) return std::nullopt;
    std::string plain;
    NumberValue number;
    bool digits = false;
    bool point = false;
    for (size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (is_digit(c)) {
            digits = true;
            if (point) ++number.decimals;
        } else if (c == '.') {
            if (point) return std::nullopt;
            point = true;
        } else if (c == '+' || c == '-') {
            if (i != 0) return std::nullopt;
        } else if (c == ',') {
            continue;
        } else {
            return std::nullopt;
        }
        plain += c;
    }
    if (!digits) return std::nullopt;
    number.decimal = point;
    errno = 0;
    char *end = nullptr;
    if (point) {
        number.value = std::strtod(plain.c_str(), &end);
    } else {
        number.integer = std::strtoll(plain.c_str(), &end, 10);
        number.value = static_cast<double>(number.integer);
    }
    if (errno == ERANGE || *end != '\0') return std::nullopt;
    return number;
}

std::optional<NumberValue> ozw_recognise_percent(std::string_view text) {
    if (text.size() < 2 || text.size() >= PERCENT_TEXT_LIMIT || text.back() != '%') return std::nullopt;
    std::optional<NumberValue> number = ozw_recognise_number(text.substr(0, text.size() - 1));
    if (!number) return std::nullopt;
    number->value /= 100;
    number->decimals += 2;
    number->decimal = true;
    return number;
}

std::optional<DateTimeValue> ozw_recognise_date_time(std::string_view text) {
    if (text.find(':') != std::string_view::npos && text.find(' ') == std::string_view::npos) return lone_time(text);
    size_t pos = 0;
    std::optional<DateParts> date = read_date(text, pos);
    if (!date) return std::nullopt;
    DateTimeValue result;
    result.parts = *date;
    if (pos == text.size()) {
        result.kind = XLS_CELL_DATE;
        return result;
    }
    if (text[pos] != ' ') return std::nullopt;
    ++pos;
    std::optional<TimeOfDay> time = read_time(text, pos);
    if (!time || pos != text.size() || time->hour >= 24) return std::nullopt;
    result.kind = XLS_CELL_DATE_TIME;
    result.parts.hour = time->hour;
    result.parts.minute = time->minute;
    result.parts.second = time->second;
    return result;
}

int ozw_display_width(std::string_view text) {
    int width = 0;
    for (size_t i = 0; i < text.size();) {
        unsigned char lead = static_cast<unsigned char>(text[i]);
        size_t length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
        if (i + length > text.size()) length = text.size() - i;
        unsigned code = lead;
        if (length == 3)
            code = ((lead & 0x0Fu) << 12) | ((static_cast<unsigned char>(text[i + 1]) & 0x3Fu) << 6) |
                   (static_cast<unsigned char>(text[i + 2]) & 0x3Fu);
        bool half_width = length == 1 || (length == 3 && code >= 0xFF61 && code <= 0xFF9F);
        width += half_width ? 1 : 2;
        i += length;
    }
    return width;
}
