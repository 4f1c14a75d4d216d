#include "cell_value.h"

#include "format_id.h"
#include "result_codes.h"

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

// Tag text kept with cells holding the text result of a formula, so that a
// saved book marks them the same way.
constexpr std::string_view kFormulaTextTag = "t=\"str\"";
constexpr int8_t kKindUnknown = -1;

bool is_digit(char c) { return c >= '0' && c <= '9'; }
bool is_space(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f'; }

// A sign and digits as strtoll and strtol read them: leading blanks, an
// optional sign, digits, held at the ends of the range; false when no
// digit follows.
bool signed_digits(std::string_view text, size_t at, long long most, long long &value) {
    while (at < text.size() && is_space(text[at])) ++at;
    const bool negative = at < text.size() && text[at] == '-';
    if (at < text.size() && (text[at] == '-' || text[at] == '+')) ++at;
    if (at >= text.size() || !is_digit(text[at])) return false;
    unsigned long long magnitude = 0;
    const unsigned long long limit = negative ? static_cast<unsigned long long>(most) + 1 : static_cast<unsigned long long>(most);
    for (; at < text.size() && is_digit(text[at]); ++at)
        magnitude = std::min(limit, magnitude * 10 + static_cast<unsigned>(text[at] - '0'));
    value = negative ? static_cast<long long>(0 - magnitude) : static_cast<long long>(magnitude);
    return true;
}

}  // namespace

bool ozw_leading_integer(std::string_view text, long long &value) {
    size_t at = 0;
    while (at < text.size() && (text[at] == ' ' || text[at] == '\t' || text[at] == '\r' || text[at] == '\n')) ++at;
    const size_t digit = at + (at < text.size() && (text[at] == '-' || text[at] == '+'));
    return digit < text.size() && is_digit(text[digit]) && signed_digits(text, at, LLONG_MAX, value);
}

namespace {

// Digits a decimal keeps after the point: those written after it, moved by
// the exponent when there is one ("1.5E-5" keeps six), within what a
// double can show.
int written_decimals(std::string_view text) {
    const size_t point = text.find('.');
    size_t i = point + 1;
    while (i < text.size() && is_digit(text[i])) ++i;
    long long decimals = static_cast<long long>(i - point - 1);
    long long exponent = 0;
    if (i < text.size() && (text[i] == 'E' || text[i] == 'e') && signed_digits(text, i + 1, LONG_MAX, exponent))
        decimals -= exponent;
    return static_cast<int>(std::clamp(decimals, 0LL, 30LL));
}

// The number a package writes, read as strtod reads it; false when strtod
// reads nothing of it.
bool written_number(const CellValue &value, double &number) {
    if (value.plain) {
        number = value.number;
        return true;
    }
    const std::string copy(value.text);
    char *end = nullptr;
    number = std::strtod(copy.c_str(), &end);
    return end != copy.c_str();
}

int number_value(StoredValue &stored, int kind, double number, int date_origin_days) {
    // A date moves to the 1900 system; a time of day alone stays.
    const bool dated = kind == XLS_CELL_DATE || kind == XLS_CELL_DATE_TIME ||
                       ((kind == XLS_CELL_TIME_HM || kind == XLS_CELL_TIME_HMS) && number >= 1);
    return ozw_number_value(stored, kind, dated ? number + date_origin_days : number);
}

int written_number_value(StoredValue &stored, const CellValue &value, int kind, int date_origin_days) {
    const std::string_view text = value.text;
    if (kind == OZW_KIND_GENERAL && text.find('.') == std::string_view::npos) {
        long long whole = 0;
        // Written without a point: a whole number, its leading sign and
        // digits as "%lld" reads them (so "1E+20" is 1).
        if (ozw_leading_integer(text, whole)) ozw_integer_value(stored, whole);
        else ozw_text_value(stored, text);
        return 0;
    }
    double number = 0;
    if (!written_number(value, number)) {
        ozw_text_value(stored, text);
        return 0;
    }
    if (kind == OZW_KIND_GENERAL) return ozw_decimal_value(stored, XLS_CELL_DECIMAL, number, written_decimals(text));
    if (number_value(stored, kind, number, date_origin_days) != 0) ozw_text_value(stored, text);
    return 0;
}

// An ISO date as a date or time; any other text stays text.
void iso_date_value(StoredValue &stored, std::string_view text) {
    const std::optional<IsoDate> date = ozw_iso_date(text);
    if (!date || ozw_number_value(stored, date->kind, date->serial) != 0) ozw_text_value(stored, text);
}

}  // namespace

std::optional<IsoDate> ozw_iso_date(std::string_view text) {
    const std::string copy(text);
    int year = 0, month = 0, day = 0, used = 0;
    const char *time = copy.c_str();
    const bool dated = std::sscanf(copy.c_str(), "%4d-%2d-%2d%n", &year, &month, &day, &used) == 3;
    if (dated) {
        time = copy[static_cast<size_t>(used)] == 'T' ? copy.c_str() + used + 1 : nullptr;
    }
    int hour = 0, minute = 0;
    double seconds = 0;
    const bool timed = time && std::sscanf(time, "%2d:%2d:%lf", &hour, &minute, &seconds) >= 2;
    if (!dated && !timed) return std::nullopt;
    // The days before 1900-01-01 that the 1900 system counts as day 0.
    const bool day_zero = dated && year == 1899 && month == 12 && (day == 30 || day == 31);
    const bool time_only = !dated || day_zero;
    const std::optional<double> serial =
        time_only ? ozw_date_to_serial(0, 0, 0, hour, minute, static_cast<int>(seconds))
                  : ozw_date_to_serial(year, month, day, hour, minute, static_cast<int>(seconds));
    if (!serial) return std::nullopt;
    const int kind = time_only ? XLS_CELL_TIME_HMS : timed ? XLS_CELL_DATE_TIME : XLS_CELL_DATE;
    return IsoDate{*serial, kind};
}

int ozw_cell_stored_value(StoredValue &stored, const CellValue &value, int kind, int date_origin_days) {
    switch (value.kind) {
    case CellValue::NONE:
        stored.set(XLS_CELL_EMPTY, 0);
        return 0;
    case CellValue::SHARED:
        ozw_shared_string_value(stored, value.shared);
        return 0;
    case CellValue::TEXT:
        ozw_text_value(stored, value.text);
        return 0;
    case CellValue::ISO_DATE:
        iso_date_value(stored, value.text);
        return 0;
    case CellValue::NUMBER:
        if (!value.text.empty()) return written_number_value(stored, value, kind, date_origin_days);
        number_value(stored, kind, value.number, date_origin_days);
        return 0;
    }
    return 0;
}

int ozw_store_book_cell(XLS_CELL &record, const BookCell &cell, int kind, int date_origin_days) {
    StoredValue stored;
    if (int rc = ozw_cell_stored_value(stored, cell.value, kind, date_origin_days)) return rc;
    if (stored.type() != XLS_CELL_EMPTY) {
        if (ozw_store_value(record, stored) != 0) return OXLS_ERR_MEMORY;
        if (cell.formula_text && ozw_set_cell_text(&record.extra, kFormulaTextTag.data(), kFormulaTextTag.size()) != 0)
            return OXLS_ERR_MEMORY;
    }
    if (cell.formula.empty()) return 0;
    if (record.type < 0) return ozw_store_formula(record, XLS_CELL_FORMULA, cell.formula);
    return ozw_set_cell_text(&record.formula, cell.formula.data(), cell.formula.size());
}

int StyleKinds::of(const StyleTables *styles, unsigned style) {
    if (!styles || style >= styles->xfs.size()) return OZW_KIND_GENERAL;
    if (style >= kinds_.size()) kinds_.resize(styles->xfs.size(), kKindUnknown);
    if (kinds_[style] == kKindUnknown) kinds_[style] = static_cast<int8_t>(ozw_style_cell_kind(styles, style));
    return kinds_[style];
}
