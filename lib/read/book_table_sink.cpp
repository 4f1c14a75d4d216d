#include "book_table_sink.h"

#include "messages.h"
#include "result_codes.h"

#include <algorithm>
#include <cstdlib>
#include <new>

int BookTableSink::keep_sheets(const ReadContext &context) {
    const auto listed = static_cast<int>(context.sheet_names.size());
    while (book_->sheet_count < listed) {
        if (ozw_add_sheet(book_, context.sheet_names[static_cast<size_t>(book_->sheet_count)].c_str()) < 0) return OXLS_ERR_MEMORY;
    }
    book_->sheet_count = listed;
    return 0;
}

SheetExtras *BookTableSink::extras(int sheet) {
    return sheet < book_->sheet_count ? ozw_sheet_extras(&book_->sheets[sheet]) : nullptr;
}

int BookTableSink::begin_sheet(const ReadContext &context, int, size_t data_bytes) {
    slots_left_ += static_cast<long long>(data_bytes) * TABLE_SLOTS_PER_BYTE;
    row_ = BookRow{};
    return keep_sheets(context);
}

int BookTableSink::row(const ReadContext &, const BookRow &row) {
    row_ = row.row >= 0 && (row.height > 0 || row.hidden) ? row : BookRow{};
    return 0;
}

XLS_CELL *BookTableSink::place(const ReadContext &context, const BookCell &cell, int &failure) {
    failure = OXLS_ERR_MEMORY;
    if (cell.sheet >= book_->sheet_count && keep_sheets(context) != 0) return nullptr;
    XLS_SHEET &sheet = book_->sheets[cell.sheet];
    const long long rows_before = sheet.row_count;
    const long long cells_before = cell.row < sheet.row_count ? sheet.rows[cell.row].cell_count : 0;
    const long long cost = (std::max<long long>(rows_before, cell.row + 1) - rows_before) +
                           (std::max<long long>(cells_before, cell.column + 1) - cells_before);
    if (cost > slots_left_) {
        // An old book's reader names the exhausted table; a package's
        // reading just runs out of room.
        if (context.book_kind == BOOK_KIND_XLS)
            failure = ozw_set_error(book_, OZW_LIMIT_REACHED, OXLS_03009, static_cast<int>(TABLE_SLOT_ALLOWANCE), "BIFF cell table");
        return nullptr;
    }
    XLS_CELL *record = ozw_ensure_cell(&sheet, cell.row, cell.column);
    if (!record) return nullptr;
    slots_left_ -= cost;
    if (cell.sheet == row_.sheet && cell.row == row_.row) {
        XLS_ROW &row = sheet.rows[cell.row];
        row.height = static_cast<unsigned short>(std::min(row_.height * 100.0, 65535.0));
        row.hidden = row_.hidden ? 1 : 0;
        row_ = BookRow{};
    }
    return record;
}

int BookTableSink::cell(const ReadContext &context, const BookCell &cell) {
    int failure = 0;
    XLS_CELL *record = place(context, cell, failure);
    if (!record) return failure;
    // A place met again keeps nothing of its earlier value.
    ozw_store_empty(*record);
    std::free(record->extra);
    record->extra = nullptr;
    record->style = cell.style;
    const int kind = cell.value.kind == CellValue::NUMBER ? kinds_.of(context.styles, cell.style) : OZW_KIND_GENERAL;
    return ozw_store_book_cell(*record, cell, kind, context.date_origin_days);
}

int BookTableSink::default_row_height(const ReadContext &, int sheet, int hundredths) {
    if (sheet < book_->sheet_count) book_->sheets[sheet].default_row_height = hundredths;
    return 0;
}

int BookTableSink::merge(const ReadContext &, int sheet, const MergedArea &area) {
    SheetExtras *sheet_extras = extras(sheet);
    if (!sheet_extras) return OXLS_ERR_MEMORY;
    sheet_extras->merges.push_back(area);
    return 0;
}

int BookTableSink::xml_before_data(const ReadContext &, int sheet, std::string_view xml) {
    SheetExtras *sheet_extras = extras(sheet);
    if (!sheet_extras) return OXLS_ERR_MEMORY;
    sheet_extras->xml_before_data.assign(xml);
    return 0;
}

int BookTableSink::xml_after_data(const ReadContext &, int sheet, std::string_view xml) {
    SheetExtras *sheet_extras = extras(sheet);
    if (!sheet_extras) return OXLS_ERR_MEMORY;
    sheet_extras->xml_after_data.assign(xml);
    return 0;
}

int BookTableSink::note(const ReadContext &, int sheet, SheetNote &&note) {
    if (notes_.size() <= static_cast<size_t>(sheet)) notes_.resize(static_cast<size_t>(sheet) + 1);
    notes_[static_cast<size_t>(sheet)].push_back(std::move(note));
    return 0;
}

int BookTableSink::listed_name(const ReadContext &, std::string_view name) {
    // Only a book opened to unload its names keeps them; a full list keeps
    // the names it has.
    if (book_->flags[OXLS_FLAG_KEEP_NAMES] != 0 || !ozw_name_list(book_)) return 0;
    ozw_add_list_name(book_, std::string(name).c_str());
    return 0;
}

int BookTableSink::finish(const ReadContext &context) {
    if (int rc = keep_sheets(context)) return rc;
    for (size_t i = 0; i < context.shared_strings.size(); ++i) {
        const std::string_view text = context.shared_strings[i];
        if (ozw_add_sst(book_, text.data(), static_cast<int>(text.size())) < 0) return OXLS_ERR_MEMORY;
    }
    for (size_t s = 0; s < notes_.size() && s < static_cast<size_t>(book_->sheet_count); ++s) {
        if (notes_[s].empty()) continue;
        SheetExtras *sheet_extras = extras(static_cast<int>(s));
        if (!sheet_extras) return OXLS_ERR_MEMORY;
        sheet_extras->notes = std::move(notes_[s]);
    }
    return 0;
}
