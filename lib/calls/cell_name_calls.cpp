// The exported cell-name calls: forming names and ranges from 1-based row
// and column numbers, and telling whether a text is a cell or a range.
#include "cell_name.h"

#include "charset.h"
#include "oxls.h"
#include "result_codes.h"
#include "work_area.h"

#include <cstring>
#include <string>

namespace {

// Texts of this many bytes or more are refused before they are parsed.
constexpr size_t MAX_NAME_TEXT = 4001;

int finish(XLS_BOOK *book, int code) {
    if (book) book->log.error_code = code;
    return code;
}

// 0-based index of a 1-based row or column number; numbers below 1 give -1,
// which no name has (and INT_MIN is not stepped past the int range).
int index_of(int number) {
    return number >= 1 ? number - 1 : -1;
}

int copy_name(const std::string &name, char *name_out) {
    if (name_out) std::memcpy(name_out, name.c_str(), name.size() + 1);
    return name.empty() ? OXLS_ERR_ARGUMENT : OXLS_OK;
}

}  // namespace

int OXLS_cell_name(int row, int column, char *name_out) {
    return copy_name(ozw_cell_name(index_of(row), index_of(column)), name_out);
}

int OXLS_cell_range(int row1, int column1, int row2, int column2, char *name_out) {
    return copy_name(
        ozw_range_name(index_of(row1), index_of(column1), index_of(row2), index_of(column2)),
        name_out);
}

int OXLS_is_cell(XLS_BOOK *book, const char *cell, int *row_out, int *column_out) {
    finish(book, OXLS_OK);
    if (!cell || std::strlen(cell) >= MAX_NAME_TEXT) return finish(book, OXLS_ERR_ARGUMENT);
    const std::optional<CellPos> pos = ozw_parse_cell_name(cell);
    if (!pos) return finish(book, OXLS_ERR_NOT_FOUND);
    if (row_out) *row_out = pos->row + 1;
    if (column_out) *column_out = pos->column + 1;
    return OXLS_OK;
}

int OXLS_is_range(XLS_BOOK *book, const char *range, int *row1_out, int *column1_out,
                  int *row2_out, int *column2_out) {
    finish(book, OXLS_OK);
    if (!range || std::strlen(range) >= MAX_NAME_TEXT) return finish(book, OXLS_ERR_ARGUMENT);
    std::string text;
    if (int rc = orb_convert(ozw_charset(book), CS_UTF8, range, text)) {
        return finish(book, rc == OXLS_ERR_MEMORY ? OXLS_ERR_MEMORY : OXLS_ERR_NOT_FOUND);
    }
    CellRange corners;
    switch (ozw_parse_range(text, corners)) {
    case OZW_RANGE_OK: break;
    case OZW_RANGE_TOO_LONG: return finish(book, OXLS_ERR_ARGUMENT);
    case OZW_RANGE_NO_COLON:
        // A single cell is a name of another kind, not a malformed range.
        return finish(book, ozw_parse_cell_name(text) ? OXLS_ERR_ARGUMENT : OXLS_ERR_NOT_FOUND);
    default: return finish(book, OXLS_ERR_NOT_FOUND);
    }
    if (row1_out) *row1_out = corners.first.row + 1;
    if (column1_out) *column1_out = corners.first.column + 1;
    if (row2_out) *row2_out = corners.last.row + 1;
    if (column2_out) *column2_out = corners.last.column + 1;
    return OXLS_OK;
}
