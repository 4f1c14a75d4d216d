// The three hyperlink calls: each names the cell that carries the link,
// which must exist, and adds the link record.
#include "book_record.h"
#include "cell_name.h"
#include "cell_store.h"
#include "hyperlinks.h"
#include "messages.h"
#include "result_codes.h"

#include <optional>

namespace {

// The cell of the current sheet that is to carry a link; it must exist.
XLS_CELL *existing_cell(XLS_BOOK *book, const CellPos &at) {
    if (!ozw_book_is_open(book) || book->current_sheet < 0 || book->current_sheet >= book->sheet_count) return nullptr;
    XLS_SHEET &sheet = book->sheets[book->current_sheet];
    if (at.row >= sheet.row_count) return nullptr;
    XLS_ROW &row = sheet.rows[at.row];
    if (at.column >= row.cell_count) return nullptr;
    return &row.cells[at.column];
}

// The steps shared by the three calls: the carrying cell must exist, then
// the record is added and the result mapped to the call's codes.
int add_link(XLS_BOOK *book, const char *cell, int kind, const char *book_path, const char *text,
             const CellPos &target) {
    std::optional<CellPos> at = ozw_parse_cell_name(cell);
    if (!at || !existing_cell(book, *at)) return ozw_set_code(book, OXLS_ERR_ARGUMENT);
    int rc = ozw_set_hyperlink(book, book->current_sheet, at->row, at->column, kind, book_path, text,
                               target.row, target.column);
    if (rc == 0) return 0;
    if (rc == OZW_LIMIT_REACHED) return ozw_set_code(book, OXLS_ERR_ARGUMENT);
    if (rc == OXLS_ERR_MEMORY) return ozw_set_error(book, OXLS_ERR_MEMORY, OXLS_00002);
    ozw_set_code(book, rc);
    return OXLS_ERR_FAILED;
}

}  // namespace

int OXLS_sheet_hyperlink(XLS_BOOK *book, const char *cell, const char *sheet_name, const char *target_cell) {
    if (!book) return OXLS_ERR_ARGUMENT;
    ozw_set_code(book, 0);
    if (!cell || !sheet_name || !target_cell) return ozw_set_code(book, OXLS_ERR_ARGUMENT);
    std::optional<CellPos> target = ozw_parse_cell_name(target_cell);
    if (!target) return ozw_set_code(book, OXLS_ERR_ARGUMENT);
    return add_link(book, cell, HYPERLINK_IN_BOOK, nullptr, sheet_name, *target);
}

int OXLS_book_hyperlink(XLS_BOOK *book, const char *cell, const char *book_path, const char *sheet_name,
                        const char *target_cell) {
    if (!book) return OXLS_ERR_ARGUMENT;
    ozw_set_code(book, 0);
    if (!cell || !book_path) return ozw_set_code(book, OXLS_ERR_ARGUMENT);
    CellPos target{-1, -1};
    if (target_cell && target_cell[0]) {
        std::optional<CellPos> parsed = ozw_parse_cell_name(target_cell);
        if (!parsed) return ozw_set_code(book, OXLS_ERR_ARGUMENT);
        target = *parsed;
    }
    return add_link(book, cell, HYPERLINK_OTHER_BOOK, book_path, sheet_name, target);
}

int OXLS_external_hyperlink(XLS_BOOK *book, const char *cell, const char *target) {
    if (!book) return OXLS_ERR_ARGUMENT;
    ozw_set_code(book, 0);
    if (!cell || !target) return ozw_set_code(book, OXLS_ERR_ARGUMENT);
    return add_link(book, cell, HYPERLINK_EXTERNAL, nullptr, target, CellPos{0, 0});
}
