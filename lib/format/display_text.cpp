// Display texts of cells.
#include "display_text.h"

#include "book_record.h"
#include "date_text.h"
#include "format_id.h"
#include "number_text.h"
#include "value_store.h"

#include <string_view>

namespace {

std::string_view value_text(const XLS_CELL &cell) { return cell.text ? std::string_view(cell.text) : std::string_view(); }

std::string bounded(std::string_view text) { return std::string(ozw_bounded_text(text)); }

std::string shared_string(const XLS_BOOK *book, const XLS_CELL &cell) {
    if (cell.number < 0 || cell.number >= book->sst_count || !book->sst[cell.number].text) return "";
    return bounded(std::string_view(book->sst[cell.number].text, book->sst[cell.number].length));
}

bool formatted_mode(const XLS_BOOK *book) { return !book->flags[OXLS_FLAG_FORMATTED_TEXT]; }

const StyleTables *styles_of(const XLS_BOOK *book) { return static_cast<const StyleTables *>(book->styles); }

}  // namespace

std::string_view ozw_bounded_text(std::string_view text) {
    if (text.size() <= XLS_CELL_UTF8_LEN) return text;
    size_t cut = XLS_CELL_UTF8_LEN;
    while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80) --cut;
    return text.substr(0, cut);
}

bool ozw_is_date_type(int type) {
    return type == XLS_CELL_DATE || type == XLS_CELL_DATE_TIME || type == XLS_CELL_TIME_HM ||
           type == XLS_CELL_TIME_HMS;
}

std::string ozw_display_text(const XLS_BOOK *book, const XLS_CELL &cell) {
    if (cell.type == XLS_CELL_SHARED_STRING) return shared_string(book, cell);
    return ozw_value_display_text(styles_of(book), formatted_mode(book), cell);
}

std::string ozw_value_display_text(const StyleTables *styles, bool formatted, const XLS_CELL &cell) {
    switch (cell.type) {
    case XLS_CELL_TEXT:
        return bounded(value_text(cell));
    case XLS_CELL_INTEGER:
    case XLS_CELL_DECIMAL:
        if (formatted) return ozw_number_text(value_text(cell), ozw_cell_format_id(styles, cell), -1);
        if (cell.type == XLS_CELL_DECIMAL) {
            std::string text(value_text(cell));
            ozw_trim_zeros(text);
            return text;
        }
        return std::string(value_text(cell));
    case XLS_CELL_PERCENT:
        return ozw_percent_text(value_text(cell), -1);
    case XLS_CELL_DATE:
    case XLS_CELL_DATE_TIME:
    case XLS_CELL_TIME_HM:
    case XLS_CELL_TIME_HMS:
        return ozw_cell_date_text(cell, formatted ? ozw_cell_format_id(styles, cell) : FMT_NONE);
    default:
        return "";
    }
}

std::string ozw_display_text_in_formats(const XLS_BOOK *book, const XLS_CELL &cell, int date_format,
                                        int number_format, int decimals) {
    switch (cell.type) {
    case XLS_CELL_TEXT:
        return bounded(value_text(cell));
    case XLS_CELL_INTEGER:
    case XLS_CELL_DECIMAL:
        return ozw_number_text(value_text(cell), number_format, decimals);
    case XLS_CELL_PERCENT:
        return ozw_percent_text(value_text(cell), decimals);
    case XLS_CELL_DATE:
    case XLS_CELL_DATE_TIME:
    case XLS_CELL_TIME_HM:
    case XLS_CELL_TIME_HMS:
        return ozw_cell_date_text(cell, date_format);
    case XLS_CELL_SHARED_STRING:
        return shared_string(book, cell);
    default:
        return "";
    }
}
