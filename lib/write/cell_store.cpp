// Cell table helpers of the writer.
#include "cell_store.h"

#include "book_properties.h"
#include "book_record.h"
#include "result_codes.h"
#include "value_store.h"

#include <cstdlib>
#include <cstring>

bool ozw_book_is_open(const XLS_BOOK *book) { return book->styles && book->sheets && book->sst; }

XLS_SHEET *ozw_writing_sheet(XLS_BOOK *book, int sheet_index, int *rc) {
    *rc = 0;
    if (book->sheet_count == 0 && sheet_index == 0) {
        BookProperties *properties = ozw_book_properties(book);
        if (!properties) {
            *rc = OXLS_ERR_MEMORY;
            return nullptr;
        }
        int added = ozw_add_sheet(book, "Sheet1");
        if (added < 0) {
            *rc = added == OXLS_ERR_MEMORY ? OXLS_ERR_MEMORY : OXLS_ERR_ARGUMENT;
            return nullptr;
        }
        properties->implicit_first_sheet = true;
    }
    if (sheet_index < 0 || sheet_index >= book->sheet_count) {
        *rc = OXLS_ERR_ARGUMENT;
        return nullptr;
    }
    return &book->sheets[sheet_index];
}

int ozw_find_sheet(const XLS_BOOK *book, std::string_view name) {
    for (int i = 0; i < book->sheet_count; ++i)
        if (name == book->sheets[i].name) return i;
    return -1;
}

int ozw_store_sst_string(XLS_BOOK *book, XLS_CELL &cell, std::string_view text) {
    int index = ozw_add_sst(book, text.data(), static_cast<int>(text.size()));
    if (index < 0) return OXLS_ERR_MEMORY;
    return ozw_store_shared_string(cell, index);
}

double ozw_column_width(const XLS_SHEET &sheet, int column) {
    if (!sheet.column_widths || column < 0 || column >= sheet.column_width_count) return 0;
    return sheet.column_widths[column];
}

int ozw_set_column_width(XLS_SHEET &sheet, int column, double width) {
    if (column >= sheet.column_width_count) {
        size_t count = static_cast<size_t>(column) + 1;
        auto *widths = static_cast<double *>(std::realloc(sheet.column_widths, count * sizeof(double)));
        if (!widths) return OXLS_ERR_MEMORY;
        for (size_t c = static_cast<size_t>(sheet.column_width_count); c < count; ++c) widths[c] = 0;
        sheet.column_widths = widths;
        sheet.column_width_count = static_cast<int>(count);
    }
    sheet.column_widths[column] = width;
    sheet.width_from_template = 0;
    return 0;
}
