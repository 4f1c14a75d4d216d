#include "number_shown_texts.h"

#include "date_serial.h"
#include "format_id.h"
#include "xml_text.h"

#include <charconv>

namespace {

constexpr int kDays1900To1904 = 1462;
// Styles beyond this index are taken to have no shown text: no real book
// has that many, and a hostile one gets no cache that large.
constexpr unsigned kMostCachedStyles = 1u << 16;

}  // namespace

std::unique_ptr<ShownFormat> ozw_style_shown_format(const StyleTables *styles, bool escaped, unsigned style) {
    const int number = styles ? ozw_style_number_format(*styles, style) : -1;
    if (number < 0) return nullptr;
    for (const NumberFormat &format : styles->number_formats) {
        if (format.id != number) continue;
        if (!escaped) return std::make_unique<ShownFormat>(ShownFormat::compile(format.code));
        std::string code;
        xml_decode_entities(format.code, code);
        return std::make_unique<ShownFormat>(ShownFormat::compile(code));
    }
    if (ShownFormat::builtin_code(number).empty()) return nullptr;
    return std::make_unique<ShownFormat>(ShownFormat::builtin(number));
}

const ShownFormat *NumberShownTexts::format_of(const StyleTables *styles, bool escaped, unsigned style) {
    if (style >= kMostCachedStyles) return nullptr;
    if (style >= formats_.size()) formats_.resize(style + 1);
    Entry &entry = formats_[style];
    if (!entry.compiled) {
        entry.format = ozw_style_shown_format(styles, escaped, style);
        entry.compiled = true;
    }
    return entry.format.get();
}

int NumberShownTexts::make(const StyleTables *styles, bool escaped, unsigned style, double value, bool date1904,
                           std::string &shown, std::string &date) {
    const ShownFormat *format = format_of(styles, escaped, style);
    if (!format || !format->render(value, date1904, shown)) return 0;
    const int date_kind = format->shows_date(value);
    if (date_kind == 0) return 1;
    const DateParts parts = ozw_serial_to_date(date1904 ? value + kDays1900To1904 : value);
    // 2016/3/25, or 2016/3/25 14:05.
    date.clear();
    const auto append = [&date](int number, char after) {
        char digits[16];
        date.append(digits, static_cast<size_t>(std::to_chars(digits, digits + sizeof digits, number).ptr - digits));
        if (after) date += after;
    };
    append(parts.year, '/');
    append(parts.month, '/');
    append(parts.day, date_kind == 2 ? ' ' : 0);
    if (date_kind == 2) {
        append(parts.hour, ':');
        if (parts.minute < 10) date += '0';
        append(parts.minute, 0);
    }
    return 2;
}
