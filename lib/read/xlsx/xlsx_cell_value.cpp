// Cell values of a worksheet: the number rule and the text types.
#include "xlsx/xlsx_cell_value.h"

#include "book_record.h"
#include "value_format.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

// Tag text kept with cells holding the text result of a formula, so that a
// saved book marks them the same way.
constexpr std::string_view kFormulaTextTag = "t=\"str\"";

bool is_digit(char c) { return c >= '0' && c <= '9'; }

// A number written without a point is read as a whole number: its leading
// sign and digits, as "%lld" reads it (so "1E+20" is 1).  False when there
// are no digits.
bool leading_integer(const std::string &text, long long &value) {
    // Plain digits, as nearly every value is, need no library call.
    if (!text.empty() && text.size() <= 18) {
        long long v = 0;
        size_t i = 0;
        while (i < text.size() && is_digit(text[i])) v = v * 10 + (text[i++] - '0');
        if (i == text.size()) {
            value = v;
            return true;
        }
    }
    const char *p = text.c_str();
    while (*p == ' ' || *p == '\t' || *p == '\r' || *p == '\n') ++p;
    const char *digits = p + (*p == '-' || *p == '+');
    if (!is_digit(*digits)) return false;
    value = std::strtoll(p, nullptr, 10);
    return true;
}

// Digits a decimal keeps after the point: those written after it, moved by
// the exponent when there is one ("1.5E-5" keeps six), within what a
// double can show.
int written_decimals(const std::string &text) {
    size_t point = text.find('.');
    size_t i = point + 1;
    while (i < text.size() && is_digit(text[i])) ++i;
    long decimals = static_cast<long>(i - point - 1);
    if (i < text.size() && (text[i] == 'E' || text[i] == 'e'))
        decimals -= std::strtol(text.c_str() + i + 1, nullptr, 10);
    return static_cast<int>(std::clamp(decimals, 0L, 30L));
}

int store_number(XLS_CELL &cell, const std::string &text, int kind, int date_origin_days) {
    if (kind == OZW_KIND_GENERAL && text.find('.') == std::string::npos) {
        long long whole = 0;
        if (leading_integer(text, whole)) return ozw_store_integer(cell, whole);
        return ozw_store_text(cell, text);
    }
    char *end = nullptr;
    double value = std::strtod(text.c_str(), &end);
    if (end == text.c_str()) return ozw_store_text(cell, text);
    if (kind == OZW_KIND_GENERAL) return ozw_store_decimal(cell, XLS_CELL_DECIMAL, value, written_decimals(text));
    // A date moves to the 1900 system; a time of day alone stays.
    bool dated = kind == XLS_CELL_DATE || kind == XLS_CELL_DATE_TIME || value >= 1;
    if (kind != XLS_CELL_PERCENT && dated) value += date_origin_days;
    int rc = ozw_store_number(cell, kind, value);
    return rc == -2 ? -2 : (rc == 0 ? 0 : ozw_store_text(cell, text));
}

// "2016-03-25", "2016-03-25T14:05:09" (fractions of seconds and a zone
// letter allowed): a date cell, or a date-and-time cell when a time is
// given; any other text stays text.
int store_iso_date(XLS_CELL &cell, const std::string &text) {
    DateParts parts;
    int used = 0;
    if (std::sscanf(text.c_str(), "%4d-%2d-%2d%n", &parts.year, &parts.month, &parts.day, &used) != 3)
        return ozw_store_text(cell, text);
    double seconds = 0;
    if (text[static_cast<size_t>(used)] == 'T' &&
        std::sscanf(text.c_str() + used + 1, "%2d:%2d:%lf", &parts.hour, &parts.minute, &seconds) >= 2) {
        parts.second = static_cast<int>(seconds);
        int rc = ozw_store_date_time(cell, XLS_CELL_DATE_TIME, parts);
        return rc == -4 ? ozw_store_text(cell, text) : rc;
    }
    int rc = ozw_store_date(cell, parts);
    return rc == -4 ? ozw_store_text(cell, text) : rc;
}

int store_value(XLS_CELL &cell, const PendingCell &pending, int number_kind, int date_origin_days) {
    const std::string &value = pending.value;
    switch (pending.type) {
    case VALUE_INLINE:
        return ozw_store_text(cell, pending.has_inline ? pending.inline_text : value);
    case VALUE_SHARED: {
        const long long index = xlsx_shared_index(value);
        return index < 0 ? 0 : ozw_store_shared_string(cell, static_cast<int>(index));
    }
    case VALUE_FORMULA_TEXT: {
        int rc = ozw_store_text(cell, value);
        return rc ? rc : ozw_set_cell_text(&cell.extra, kFormulaTextTag.data(), kFormulaTextTag.size());
    }
    case VALUE_ERROR:
        return ozw_store_text(cell, value);
    case VALUE_BOOLEAN:
        if (value == "1" || value == "true") return ozw_store_text(cell, "TRUE");
        if (value == "0" || value == "false") return ozw_store_text(cell, "FALSE");
        return ozw_store_text(cell, value);
    case VALUE_ISO_DATE:
        return store_iso_date(cell, value);
    case VALUE_NUMBER:
        if (value.empty()) return 0;
        return store_number(cell, value, number_kind, date_origin_days);
    }
    return 0;
}

}  // namespace

long long xlsx_shared_index(const std::string &value) {
    long long index = 0;
    if (!leading_integer(value, index) || index < 0 || index > 0x7FFFFFFF) return -1;
    return index;
}

XlsxValueType xlsx_value_type(std::string_view t) {
    if (t == "s") return VALUE_SHARED;
    if (t == "str") return VALUE_FORMULA_TEXT;
    if (t == "e") return VALUE_ERROR;
    if (t == "inlineStr") return VALUE_INLINE;
    if (t == "b") return VALUE_BOOLEAN;
    if (t == "d") return VALUE_ISO_DATE;
    return VALUE_NUMBER;
}

void PendingCell::reset() {
    row = column = 0;
    placed = false;
    style = 0;
    type = VALUE_NUMBER;
    has_value = has_inline = false;
    value.clear();
    inline_text.clear();
    formula.clear();
}

int xlsx_store_cell_value(XLS_CELL &cell, const PendingCell &pending, int number_kind, int date_origin_days) {
    bool has_value = pending.has_value || (pending.type == VALUE_INLINE && pending.has_inline);
    if (has_value) {
        if (int rc = store_value(cell, pending, number_kind, date_origin_days)) return rc;
    }
    if (pending.formula.empty()) return 0;
    if (cell.type < 0) return ozw_store_formula(cell, XLS_CELL_FORMULA, pending.formula);
    return ozw_set_cell_text(&cell.formula, pending.formula.data(), pending.formula.size());
}
