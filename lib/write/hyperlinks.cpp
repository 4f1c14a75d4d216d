// The three hyperlink calls and the link records they add.
#include "write/hyperlinks.h"

#include "book_record.h"
#include "messages.h"
#include "read/cell_name.h"
#include "write/caller_text.h"
#include "write/cell_store.h"
#include "write/styles.h"

#include <new>
#include <optional>
#include <string>

namespace {

// A mail address: an "@" with a "." somewhere after it.
bool is_mail_address(const std::string &text) {
    size_t at = text.find('@');
    return at != std::string::npos && text.find('.', at + 1) != std::string::npos;
}

bool is_date_or_time(const XLS_CELL &cell) {
    return cell.type == XLS_CELL_DATE || cell.type == XLS_CELL_DATE_TIME ||
           cell.type == XLS_CELL_TIME_HM || cell.type == XLS_CELL_TIME_HMS;
}

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
    if (!at || !existing_cell(book, *at)) return ozw_set_code(book, -3);
    int rc = ozw_set_hyperlink(book, book->current_sheet, at->row, at->column, kind, book_path, text,
                               target.row, target.column);
    if (rc == 0) return 0;
    if (rc == -9) return ozw_set_code(book, -3);
    if (rc == -2) return ozw_set_error(book, -2, OXLS_00002);
    ozw_set_code(book, rc);
    return -1;
}

}  // namespace

int ozw_set_hyperlink(XLS_BOOK *book, int sheet_index, int row, int column, int kind,
                      const char *book_path, const char *text, int target_row, int target_column) {
    SheetHyperlink link;
    link.kind = kind;
    link.row = row;
    link.column = column;
    link.target_row = target_row;
    link.target_column = target_column;
    if (kind != HYPERLINK_IN_BOOK && kind != HYPERLINK_EXTERNAL && kind != HYPERLINK_OTHER_BOOK) return -3;
    try {
        if (kind == HYPERLINK_EXTERNAL) {
            if (!text) return -3;
            std::string target;
            if (ozw_caller_to_utf8(book, text, target) != 0) return -2;
            link.target = is_mail_address(target) ? "mailto:" + target : target;
        } else {
            if (kind == HYPERLINK_OTHER_BOOK) {
                if (!book_path) return -3;
                if (ozw_caller_to_utf8(book, book_path, link.target) != 0) return -2;
            }
            if (ozw_caller_to_utf8(book, text ? text : "", link.sheet) != 0) return -2;
            if (link.sheet.size() > XLS_SHEET_LEN)
                return ozw_set_error(book, -9, OXLS_03009, static_cast<int>(link.sheet.size()),
                                     "ozw_set_hyperlink() XLS_SHEET_LEN");
        }
        SheetExtras *extras = ozw_sheet_extras(&book->sheets[sheet_index]);
        if (!extras) return -2;
        extras->hyperlinks.push_back(std::move(link));
    } catch (const std::bad_alloc &) {
        return -2;
    }
    XLS_CELL &cell = book->sheets[sheet_index].rows[row].cells[column];
    cell.style = is_date_or_time(cell) ? STYLE_HYPERLINK_DATE : STYLE_HYPERLINK;
    return 0;
}

int OXLS_sheet_hyperlink(XLS_BOOK *book, const char *cell, const char *sheet_name, const char *target_cell) {
    if (!book) return -3;
    ozw_set_code(book, 0);
    if (!cell || !sheet_name || !target_cell) return ozw_set_code(book, -3);
    std::optional<CellPos> target = ozw_parse_cell_name(target_cell);
    if (!target) return ozw_set_code(book, -3);
    return add_link(book, cell, HYPERLINK_IN_BOOK, nullptr, sheet_name, *target);
}

int OXLS_book_hyperlink(XLS_BOOK *book, const char *cell, const char *book_path, const char *sheet_name,
                        const char *target_cell) {
    if (!book) return -3;
    ozw_set_code(book, 0);
    if (!cell || !book_path) return ozw_set_code(book, -3);
    CellPos target{-1, -1};
    if (target_cell && target_cell[0]) {
        std::optional<CellPos> parsed = ozw_parse_cell_name(target_cell);
        if (!parsed) return ozw_set_code(book, -3);
        target = *parsed;
    }
    return add_link(book, cell, HYPERLINK_OTHER_BOOK, book_path, sheet_name, target);
}

int OXLS_external_hyperlink(XLS_BOOK *book, const char *cell, const char *target) {
    if (!book) return -3;
    ozw_set_code(book, 0);
    if (!cell || !target) return ozw_set_code(book, -3);
    return add_link(book, cell, HYPERLINK_EXTERNAL, nullptr, target, CellPos{0, 0});
}
