// Value typing: what a written text becomes in the cell.
#include "value_typing.h"

#include "book_properties.h"
#include "book_record.h"
#include "charset.h"
#include "result_codes.h"
#include "value_store.h"
#include "cell_store.h"
#include "styles.h"
#include "value_recognise.h"
#include "values_string.h"

#include <string>
#include <string_view>

namespace {

// "\n" becomes CR LF and "\\" one backslash; other backslashes stay.
std::string resolve_escapes(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\\' && i + 1 < text.size() && (text[i + 1] == 'n' || text[i + 1] == '\\')) {
            out += text[i + 1] == 'n' ? "\r\n" : "\\";
            ++i;
        } else {
            out += text[i];
        }
    }
    return out;
}

int store_string(XLS_BOOK *book, XLS_CELL &cell, std::string_view text, std::string &shown) {
    shown = resolve_escapes(text);
    int rc = ozw_store_sst_string(book, cell, shown);
    if (rc != 0) return rc;
    if (shown.find_first_of("\r\n") != std::string::npos) return ozw_set_cell_alignment_flags(book, cell, ALIGN_WRAP);
    return 0;
}

// A formula a spreadsheet can read back: its quotes are closed, its
// parentheses balance, and it does not start with another "=".  Texts such
// as "== title ==" stay strings instead of making the book unreadable.
bool is_readable_formula(std::string_view formula) {
    if (formula.empty() || formula.front() == '=') return false;
    int depth = 0;
    bool quoted = false;
    for (char c : formula) {
        if (c == '"') quoted = !quoted;
        if (quoted) continue;
        if (c == '(') ++depth;
        if (c == ')' && --depth < 0) return false;
    }
    return !quoted && depth == 0;
}

int store_formula(XLS_CELL &cell, std::string_view text) {
    std::string formula(text);
    orb_upper(CS_UTF8, formula.data());
    return ozw_store_formula(cell, XLS_CELL_FORMULA, formula);
}

int store_number(XLS_CELL &cell, int kind, const NumberValue &number) {
    if (number.decimal) return ozw_store_decimal(cell, kind, number.value, number.decimals);
    return ozw_store_integer(cell, number.integer);
}

unsigned default_style(int kind) {
    switch (kind) {
    case XLS_CELL_PERCENT: return STYLE_PERCENT;
    case XLS_CELL_DATE: return STYLE_DATE;
    case XLS_CELL_DATE_TIME: return STYLE_DATE_TIME;
    case XLS_CELL_TIME_HM: return STYLE_TIME;
    case XLS_CELL_TIME_HMS: return STYLE_ELAPSED_TIME;
    default: return 0;
    }
}

bool widens_column(int kind) {
    return kind == XLS_CELL_INTEGER || kind == XLS_CELL_DECIMAL || kind == XLS_CELL_DATE ||
           kind == XLS_CELL_DATE_TIME || kind == XLS_CELL_SHARED_STRING;
}

// With automatic width, a text wider than its column widens it to the
// text's width plus the cell margin.
int fit_column(XLS_BOOK *book, XLS_SHEET &sheet, int column, std::string_view shown) {
    const BookProperties *properties = ozw_find_book_properties(book);
    if (!properties || !properties->auto_width) return 0;
    int width = ozw_display_width(shown);
    if (width <= ozw_column_width(sheet, column)) return 0;
    return ozw_set_column_width(sheet, column, (8.0 * width + 5) / 8);
}

// Types `text` (quotes removed, not empty) and stores it; `shown` receives
// the text the column width is measured on.
int type_and_store(XLS_BOOK *book, XLS_CELL &cell, std::string_view text, std::string &shown) {
    if (cell.type == XLS_CELL_TEXT) return ozw_store_text(cell, text);
    if (text.front() == '\'') return store_string(book, cell, text.substr(1), shown);
    if (text.front() == '=' && is_readable_formula(text.substr(1))) return store_formula(cell, text.substr(1));
    shown.assign(text);
    if (std::optional<NumberValue> number = ozw_recognise_number(text))
        return store_number(cell, XLS_CELL_DECIMAL, *number);
    if (std::optional<DateTimeValue> date = ozw_recognise_date_time(text)) {
        if (date->kind == XLS_CELL_DATE) return ozw_store_date(cell, date->parts);
        return ozw_store_date_time(cell, date->kind, date->parts);
    }
    if (std::optional<NumberValue> percent = ozw_recognise_percent(text))
        return ozw_store_decimal(cell, XLS_CELL_PERCENT, percent->value, percent->decimals);
    return store_string(book, cell, text, shown);
}

}  // namespace

int ozw_put_cell(XLS_BOOK *book, int sheet_index, int row, int column, const char *value) {
    int rc;
    XLS_SHEET *sheet = ozw_writing_sheet(book, sheet_index, &rc);
    if (!sheet) return rc == OXLS_ERR_MEMORY ? OXLS_ERR_MEMORY : OZW_FAILED;
    XLS_CELL *cell = ozw_ensure_cell(sheet, row, column);
    if (!cell) return OXLS_ERR_MEMORY;
    std::string_view text = ozw_unquoted(value ? value : "");
    if (text.empty()) return PUT_CELL_EMPTY;
    std::string shown;
    rc = type_and_store(book, *cell, text, shown);
    if (rc != 0) return rc == OXLS_ERR_MEMORY ? OXLS_ERR_MEMORY : OZW_FAILED;
    if (cell->style == 0 && book->flags[OXLS_FLAG_CREATE]) cell->style = default_style(cell->type);
    if (!widens_column(cell->type)) return 0;
    return fit_column(book, *sheet, column, shown) == 0 ? 0 : OXLS_ERR_MEMORY;
}
