#include "xlsx/xlsx_cell_value.h"

#include "cell_value.h"

#include <charconv>
#include <cmath>
#include <cstdlib>

namespace {

// The shared string index a value names, or -1 when it names none (the
// cell then shows nothing).
long long shared_index(std::string_view value) {
    long long index = 0;
    if (!ozw_leading_integer(value, index) || index < 0 || index > 0x7FFFFFFF) return -1;
    return index;
}

// A number written as text, read as strtod reads it.  Numbers written as
// a plain decimal, as producers write them, are read without a copy.
void read_number(std::string_view text, CellValue &value) {
    value.kind = CellValue::NUMBER;
    value.text = text;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value.number);
    value.plain = error == std::errc() && end == text.data() + text.size() && std::isfinite(value.number);
    if (!value.plain) value.number = std::strtod(std::string(text).c_str(), nullptr);
}

CellValue text_value(std::string_view text, CellValue::Kind kind = CellValue::TEXT) {
    CellValue value;
    value.kind = kind;
    value.text = text;
    return value;
}

}  // namespace

bool xlsx_plain_decimal(std::string_view value) {
    // Longer digit runs could pass what a double holds.
    constexpr size_t kMostDigits = 300;
    size_t at = !value.empty() && value[0] == '-' ? 1 : 0;
    const size_t whole = at;
    while (at < value.size() && value[at] >= '0' && value[at] <= '9') ++at;
    if (at == whole || value.size() > kMostDigits) return false;
    if (at < value.size() && value[at] == '.') {
        const size_t point = ++at;
        while (at < value.size() && value[at] >= '0' && value[at] <= '9') ++at;
        if (at == point) return false;
    }
    return at == value.size();
}

bool xlsx_plain_index(std::string_view value, size_t &index) {
    // Longer values, which no table of shared strings reaches, take the
    // general way.
    if (value.empty() || value.size() > 9) return false;
    index = 0;
    for (const char c : value) {
        if (c < '0' || c > '9') return false;
        index = index * 10 + static_cast<size_t>(c - '0');
    }
    return true;
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

BookCell xlsx_book_cell(const PendingCell &pending, int sheet) {
    BookCell cell;
    cell.sheet = sheet;
    cell.row = pending.row;
    cell.column = pending.column;
    cell.style = pending.style;
    cell.formula = pending.formula;
    const std::string_view value = pending.value;
    if (!pending.has_value && !(pending.type == VALUE_INLINE && pending.has_inline)) return cell;
    switch (pending.type) {
    case VALUE_INLINE:
        cell.value = text_value(pending.has_inline ? pending.inline_text : value);
        break;
    case VALUE_SHARED:
        if (const long long index = shared_index(value); index >= 0) {
            cell.value.kind = CellValue::SHARED;
            cell.value.shared = static_cast<int>(index);
        }
        break;
    case VALUE_FORMULA_TEXT:
        cell.value = text_value(value);
        cell.formula_text = true;
        break;
    case VALUE_ERROR:
        cell.value = text_value(value);
        break;
    case VALUE_BOOLEAN:
        if (value == "1" || value == "true") cell.value = text_value("TRUE");
        else if (value == "0" || value == "false") cell.value = text_value("FALSE");
        else cell.value = text_value(value);
        break;
    case VALUE_ISO_DATE:
        cell.value = text_value(value, CellValue::ISO_DATE);
        break;
    case VALUE_NUMBER:
        if (!value.empty()) read_number(value, cell.value);
        break;
    }
    return cell;
}
