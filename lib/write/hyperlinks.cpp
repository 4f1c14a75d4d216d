// The link records of the cells of a book being written.
#include "hyperlinks.h"

#include "book_record.h"
#include "caller_text.h"
#include "messages.h"
#include "result_codes.h"
#include "styles.h"

#include <new>
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

}  // namespace

int ozw_set_hyperlink(XLS_BOOK *book, int sheet_index, int row, int column, int kind,
                      const char *book_path, const char *text, int target_row, int target_column) {
    SheetHyperlink link;
    link.kind = kind;
    link.row = row;
    link.column = column;
    link.target_row = target_row;
    link.target_column = target_column;
    if (kind != HYPERLINK_IN_BOOK && kind != HYPERLINK_EXTERNAL && kind != HYPERLINK_OTHER_BOOK) return OXLS_ERR_ARGUMENT;
    try {
        if (kind == HYPERLINK_EXTERNAL) {
            if (!text) return OXLS_ERR_ARGUMENT;
            std::string target;
            if (ozw_caller_to_utf8(book, text, target) != 0) return OXLS_ERR_MEMORY;
            link.target = is_mail_address(target) ? "mailto:" + target : target;
        } else {
            if (kind == HYPERLINK_OTHER_BOOK) {
                if (!book_path) return OXLS_ERR_ARGUMENT;
                if (ozw_caller_to_utf8(book, book_path, link.target) != 0) return OXLS_ERR_MEMORY;
            }
            if (ozw_caller_to_utf8(book, text ? text : "", link.sheet) != 0) return OXLS_ERR_MEMORY;
            if (link.sheet.size() > XLS_SHEET_LEN)
                return ozw_set_error(book, OZW_LIMIT_REACHED, OXLS_03009, static_cast<int>(link.sheet.size()),
                                     "ozw_set_hyperlink() XLS_SHEET_LEN");
        }
        SheetExtras *extras = ozw_sheet_extras(&book->sheets[sheet_index]);
        if (!extras) return OXLS_ERR_MEMORY;
        extras->hyperlinks.push_back(std::move(link));
    } catch (const std::bad_alloc &) {
        return OXLS_ERR_MEMORY;
    }
    XLS_CELL &cell = book->sheets[sheet_index].rows[row].cells[column];
    cell.style = is_date_or_time(cell) ? STYLE_HYPERLINK_DATE : STYLE_HYPERLINK;
    return 0;
}
