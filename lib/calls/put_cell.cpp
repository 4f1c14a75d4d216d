// OXLS_put_cell: one value into one named cell of the current sheet.
#include "book_record.h"
#include "messages.h"
#include "cell_name.h"
#include "result_codes.h"
#include "value_store.h"
#include "caller_text.h"
#include "cell_store.h"
#include "value_rewrite.h"
#include "value_typing.h"

#include <cstring>
#include <new>
#include <optional>
#include <string>

namespace {

constexpr size_t XLS_CELL_LEN = 65534;
constexpr size_t CELL_TEXT_CHARS = 32767;

int put_cell(XLS_BOOK *book, const char *name, const char *value) {
    std::optional<CellPos> at = ozw_parse_cell_name(name);
    if (!at) return ozw_set_error(book, OXLS_ERR_ARGUMENT, OXLS_02300, ozw_caller_to_sjis(book, name).c_str());
    int rc;
    XLS_SHEET *sheet = ozw_writing_sheet(book, book->current_sheet, &rc);
    if (!sheet && rc == OXLS_ERR_MEMORY) return ozw_set_error(book, OXLS_ERR_MEMORY, OXLS_00002);
    if (!sheet) return ozw_set_error(book, OXLS_ERR_ARGUMENT, OXLS_02300, ozw_caller_to_sjis(book, name).c_str());
    XLS_CELL *cell = ozw_ensure_cell(sheet, at->row, at->column);
    if (!cell) return ozw_set_error(book, OXLS_ERR_MEMORY, OXLS_00002);
    bool template_mode = !book->flags[OXLS_FLAG_CREATE];
    if (template_mode && (cell->type == XLS_CELL_FORMULA || cell->type == XLS_CELL_FORMULA_VALUE))
        return ozw_set_error(book, OXLS_ERR_ARGUMENT, OXLS_03203, ozw_caller_to_sjis(book, name).c_str());
    if (std::strlen(value) > XLS_CELL_LEN)
        return ozw_set_error(book, OXLS_ERR_BUFFER, OXLS_03009, static_cast<int>(XLS_CELL_LEN), "XLS_CELL_LEN");

    std::string text;
    if (ozw_caller_to_utf8(book, ozw_rewrite_value(value), text) != 0) return ozw_set_error(book, OXLS_ERR_MEMORY, OXLS_00002);
    ozw_cut_cell_text(text, CELL_TEXT_CHARS);
    rc = ozw_put_cell(book, book->current_sheet, at->row, at->column, text.c_str());
    if (rc == PUT_CELL_EMPTY) {
        ozw_store_empty(*cell);
        return 0;
    }
    if (rc == OXLS_ERR_MEMORY) return ozw_set_error(book, OXLS_ERR_MEMORY, OXLS_00002);
    if (rc != 0) {
        char detail[64];
        std::snprintf(detail, sizeof detail, "ozw_put_cell() return=%d", rc);
        return ozw_set_error(book, OXLS_ERR_FAILED, OXLS_03600, detail);
    }
    return 0;
}

}  // namespace

int OXLS_put_cell(XLS_BOOK *book, const char *cell, const char *value, int) {
    if (!book) return OXLS_ERR_ARGUMENT;
    ozw_set_code(book, 0);
    if (!ozw_book_is_open(book)) return ozw_set_code(book, OXLS_ERR_ARGUMENT);
    if (!cell || !value) return ozw_set_error(book, OXLS_ERR_ARGUMENT, OXLS_02300, cell ? cell : "");
    try {
        return put_cell(book, cell, value);
    } catch (const std::bad_alloc &) {
        return ozw_set_error(book, OXLS_ERR_MEMORY, OXLS_00002);
    }
}
