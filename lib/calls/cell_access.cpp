// Reading cells of a loaded book: one cell by name (OXLS_get_cell,
// OXLS_get_format_cell), a run of cells (OXLS_get_cells), and a search for
// a cell by its text that hands back the cells beside it (OXLS_search).
#include "oxls.h"

#include "book_record.h"
#include "charset.h"
#include "messages.h"
#include "cell_name.h"
#include "display_text.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <string>

namespace {

const char *kDateBufferName = "CELL_DATE/CELL_DATE_TIME";
const char *kStringBufferName = "CELL_STRING";

// A cell of a sheet, or null when the row or column lies beyond what the
// sheet holds.
const XLS_CELL *cell_at(const XLS_SHEET &sheet, int row, int column) {
    if (row < 0 || row >= sheet.row_count || column < 0) return nullptr;
    const XLS_ROW &r = sheet.rows[row];
    return column < r.cell_count ? &r.cells[column] : nullptr;
}

// The caller's text in Shift-JIS, for a message.
std::string message_text(XLS_BOOK *book, const char *text) {
    return orb_convert(ozw_charset(book), CS_SJIS, text ? std::string_view(text) : std::string_view());
}

// How one cell's text is made.
struct TextRule {
    bool formats = false;   // the caller's formats instead of the book's mode
    int date_format = 0;
    int number_format = 0;
    int decimals = 0;
};

std::string cell_text(const XLS_BOOK *book, const XLS_CELL &cell, const TextRule &rule) {
    if (!rule.formats) return ozw_display_text(book, cell);
    return ozw_display_text_in_formats(book, cell, rule.date_format, rule.number_format, rule.decimals);
}

// The common steps of OXLS_get_cell and OXLS_get_format_cell: finds the
// cell of the current sheet, makes its text and copies it, converted, into
// the caller's buffer.  *found is set to the cell when one was found.
int read_cell(XLS_BOOK *book, const char *name, char *text_out, int text_size, const TextRule &rule,
              const XLS_CELL **found) {
    book->log.error_code = 0;
    if (text_out && text_size > 0) text_out[0] = '\0';
    if (book->sheet_count > 0 && (book->current_sheet < 0 || book->current_sheet >= book->sheet_count))
        return ozw_set_code(book, OXLS_ERR_SHEET_RANGE);
    auto pos = name ? ozw_parse_cell_name(name) : std::nullopt;
    if (!pos) return ozw_set_error(book, OXLS_ERR_ARGUMENT, OXLS_02300, message_text(book, name).c_str());
    if (book->sheet_count <= 0 || pos->row >= book->sheets[book->current_sheet].row_count)
        return ozw_set_code(book, OXLS_ERR_ROW_RANGE);
    const XLS_SHEET &sheet = book->sheets[book->current_sheet];
    book->last_row = pos->row;
    const XLS_CELL *cell = cell_at(sheet, pos->row, pos->column);
    if (!cell) return ozw_set_code(book, OXLS_ERR_COLUMN_RANGE);
    book->last_column = pos->column;

    const std::string text = orb_convert(CS_UTF8, ozw_charset(book), cell_text(book, *cell, rule));
    const bool date = ozw_is_date_type(cell->type);
    if (!text_out || static_cast<long long>(text.size()) >= text_size)
        return ozw_set_error(book, OXLS_ERR_BUFFER, OXLS_03009, text_size, date ? kDateBufferName : kStringBufferName);
    std::memcpy(text_out, text.c_str(), text.size() + 1);
    *found = cell;
    return 0;
}

// Type name of a cell for OXLS_get_cell.
std::string type_name(const XLS_CELL &cell) {
    switch (cell.type) {
    case XLS_CELL_TEXT:
    case XLS_CELL_SHARED_STRING: return "CHARACTER";
    case XLS_CELL_INTEGER: return "INTEGER";
    case XLS_CELL_DECIMAL: return "FLOAT";
    case XLS_CELL_PERCENT: return "PERCENT";
    case XLS_CELL_DATE: return "DATE";
    case XLS_CELL_DATE_TIME: return "DATE_TIME";
    case XLS_CELL_FORMULA: return std::string("FORMULA:") + (cell.formula ? cell.formula : "");
    default: return "";   // empty cells and the two time types have no type name
    }
}

// Fills `count` buffers with the texts of the cells from (row, column)
// onwards, to the right (direction 0) or downwards; buffers past the end of
// the row or sheet are emptied.
void fill_texts(XLS_BOOK *book, int direction, int sheet_index, int row, int column, int count, char **texts) {
    if (!texts) return;
    const XLS_SHEET *sheet =
        sheet_index >= 0 && sheet_index < book->sheet_count ? &book->sheets[sheet_index] : nullptr;
    const int charset = ozw_charset(book);
    bool ended = false;
    for (int i = 0; i < count; ++i) {
        if (!texts[i]) continue;
        texts[i][0] = '\0';
        const XLS_CELL *cell = ended || !sheet ? nullptr : cell_at(*sheet, row, column);
        if (!cell) {
            ended = true;
            continue;
        }
        const std::string text = orb_convert(CS_UTF8, charset, ozw_display_text(book, *cell));
        std::memcpy(texts[i], text.c_str(), text.size() + 1);
        if (direction == 0) ++column;
        else ++row;
    }
}

bool same_text(std::string_view a, std::string_view b, bool ignore_case) {
    if (a.size() != b.size()) return false;
    if (!ignore_case) return a == b;
    auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    for (size_t i = 0; i < a.size(); ++i)
        if (lower(a[i]) != lower(b[i])) return false;
    return true;
}

// The area a search covers: the request's range, or the book's limits.
int search_area(XLS_BOOK *book, const XLS_SEARCH &request, CellRange &area) {
    std::string range(request.range, strnlen(request.range, sizeof request.range));
    if (range.empty()) {
        area.first = {0, 0};
        area.last = {book->row_limit - 1, book->column_limit - 1};
        return 0;
    }
    CellRange given;
    if (ozw_parse_range(range, given) != OZW_RANGE_OK) return OXLS_ERR_ARGUMENT;
    area.first = {std::min(given.first.row, given.last.row), std::min(given.first.column, given.last.column)};
    area.last = {std::max(given.first.row, given.last.row), std::max(given.first.column, given.last.column)};
    return 0;
}

// How many further rows (direction 0) or columns a hit cell's merged area
// spans below or beside it; 0 when the cell does not start a merged area.
int merged_span(XLS_BOOK *book, int sheet_index, int row, int column, int direction) {
    const auto *extras = static_cast<const SheetExtras *>(book->sheets[sheet_index].extension);
    if (!extras) return 0;
    for (const MergedArea &area : extras->merges) {
        if (area.first_row != row || area.first_column != column) continue;
        return direction == 0 ? area.last_row - area.first_row : area.last_column - area.first_column;
    }
    return 0;
}

int new_search(XLS_BOOK *book, XLS_SEARCH &request, const char *key, char **texts) {
    const std::string wanted = orb_convert(ozw_charset(book), CS_UTF8, key ? std::string_view(key) : "");
    int first_sheet = 0, last_sheet = book->sheet_count - 1;
    std::string sheet_name(request.sheet_name, strnlen(request.sheet_name, sizeof request.sheet_name));
    if (!sheet_name.empty()) {
        int found = -1;
        for (int s = 0; s < book->sheet_count && found < 0; ++s)
            if (sheet_name == book->sheets[s].name) found = s;
        if (found < 0) return OXLS_ERR_ARGUMENT;
        first_sheet = last_sheet = found;
    }
    CellRange area;
    if (int rc = search_area(book, request, area)) return rc;
    const bool ignore_case = request.match_mode == 1;
    for (int s = first_sheet; s <= last_sheet; ++s) {
        const XLS_SHEET &sheet = book->sheets[s];
        for (int r = area.first.row; r <= area.last.row && r < sheet.row_count; ++r) {
            const XLS_ROW &row = sheet.rows[r];
            for (int c = area.first.column; c <= area.last.column && c < row.cell_count; ++c) {
                if (!same_text(ozw_display_text(book, row.cells[c]), wanted, ignore_case)) continue;
                request.hit_sheet = s;
                request.hit_row = r;
                request.hit_column = c;
                request.remaining = merged_span(book, s, r, c, request.direction);
                fill_texts(book, request.direction, s, r, c, request.count, texts);
                return 0;
            }
        }
    }
    return OXLS_ERR_NOT_FOUND;
}

void continue_search(XLS_BOOK *book, XLS_SEARCH &request, char **texts) {
    if (request.direction != 0) ++request.hit_column;
    else ++request.hit_row;
    fill_texts(book, request.direction, request.hit_sheet, request.hit_row, request.hit_column, request.count, texts);
    --request.remaining;
}

}  // namespace

int OXLS_get_cell(XLS_BOOK *book, const char *cell, char *text_out, int text_size, char *type_out, int type_size) {
    if (!book) return OXLS_ERR_ARGUMENT;
    if (type_out && type_size > 0) type_out[0] = '\0';
    try {
        const XLS_CELL *found = nullptr;
        if (int rc = read_cell(book, cell, text_out, text_size, TextRule{}, &found)) return rc;
        if (!type_out || type_size <= 0) return 0;
        std::string type = type_name(*found);
        if (found->type == XLS_CELL_FORMULA && static_cast<long long>(type.size()) >= type_size)
            return ozw_set_code(book, OXLS_ERR_BUFFER);
        if (static_cast<long long>(type.size()) < type_size - 1) std::memcpy(type_out, type.c_str(), type.size() + 1);
        return 0;
    } catch (const std::bad_alloc &) {
        return ozw_set_code(book, OXLS_ERR_MEMORY);
    }
}

int OXLS_get_format_cell(XLS_BOOK *book, const char *cell, char *text_out, int text_size, int date_format,
                         int number_format, int decimals) {
    if (!book) return OXLS_ERR_ARGUMENT;
    try {
        TextRule rule{true, date_format, number_format, decimals};
        const XLS_CELL *found = nullptr;
        return read_cell(book, cell, text_out, text_size, rule, &found);
    } catch (const std::bad_alloc &) {
        return ozw_set_code(book, OXLS_ERR_MEMORY);
    }
}

int OXLS_get_cells(XLS_BOOK *book, int direction, int sheet_index, int row, int column, int count, char **texts_out) {
    if (!book) return OXLS_ERR_ARGUMENT;
    book->log.error_code = 0;
    try {
        fill_texts(book, direction, sheet_index, row, column, count, texts_out);
    } catch (const std::bad_alloc &) {
        return ozw_set_code(book, OXLS_ERR_MEMORY);
    }
    return 0;
}

int OXLS_search(XLS_BOOK *book, XLS_SEARCH *request, const char *key, char **texts_out) {
    if (!book) return OXLS_ERR_ARGUMENT;
    book->log.error_code = 0;
    if (!request) return ozw_set_code(book, OXLS_ERR_ARGUMENT);
    try {
        if (request->remaining != 0) {
            continue_search(book, *request, texts_out);
            return 0;
        }
        return ozw_set_code(book, new_search(book, *request, key, texts_out));
    } catch (const std::bad_alloc &) {
        return ozw_set_code(book, OXLS_ERR_MEMORY);
    }
}
