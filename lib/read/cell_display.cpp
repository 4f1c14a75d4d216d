#include "cell_display.h"

#include "display_text.h"

namespace {

// A text as the record keeps it: a C string, so that it ends at its first
// NUL, and as a caller is handed it.
std::string_view shown(std::string_view text) { return ozw_bounded_text(text.substr(0, text.find('\0'))); }

}  // namespace

std::string_view CellDisplay::text(const ReadContext &book, const BookCell &cell) {
    number_ = false;
    const CellValue &value = cell.value;
    switch (value.kind) {
    case CellValue::NONE:
        return {};
    case CellValue::TEXT:
        return shown(value.text);
    case CellValue::SHARED:
        if (value.shared < 0 || static_cast<size_t>(value.shared) >= book.shared_strings.size()) return {};
        return ozw_bounded_text(book.shared_strings[static_cast<size_t>(value.shared)]);
    case CellValue::NUMBER:
    case CellValue::ISO_DATE:
        break;
    }
    const int kind = value.kind == CellValue::NUMBER ? kinds_.of(book.styles, cell.style) : OZW_KIND_GENERAL;
    StoredValue stored;
    if (ozw_cell_stored_value(stored, value, kind, book.date_origin_days) != 0) return {};
    if (stored.type() == XLS_CELL_TEXT) return shown(stored.text());
    if (value.kind == CellValue::NUMBER) {
        number_ = ozw_is_number_type(stored.type());
        value_ = value.number;
    } else if (const std::optional<IsoDate> date = ozw_iso_date(value.text)) {
        number_ = true;
        value_ = date->serial - book.date_origin_days;
    }
    made_ = ozw_value_display_text(book.styles, true, ozw_cell_view(stored, cell.style));
    return made_;
}
