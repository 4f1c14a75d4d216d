// The sink that fills the book record, as OXLS_open_book reads a book: the
// sheets, the cells of each sheet's cell table, row heights, merged areas,
// the XML around a package sheet's cell data, notes, the name list and the
// shared strings.
#pragma once

#include "book_sink.h"
#include "cell_value.h"

#include <vector>

// Cells and rows a book may allocate: a fixed allowance plus a few slots
// per byte of a package's worksheet XML, so that a small part or record
// naming a far-away cell in every row cannot make the cell tables grow
// without bound.  A dense old sheet of 65536 rows by 63 columns still fits.
constexpr long long TABLE_SLOT_ALLOWANCE = 4LL * 1024 * 1024;
constexpr long long TABLE_SLOTS_PER_BYTE = 2;

class BookTableSink : public BookSink {
public:
    // Fills `book`, whose sheets the reading starts from none.
    explicit BookTableSink(XLS_BOOK *book) : book_(book) {}

    int cell(const ReadContext &context, const BookCell &cell) override;
    bool wants_notes() const override { return true; }
    int begin_sheet(const ReadContext &context, int sheet, size_t data_bytes) override;
    int row(const ReadContext &context, const BookRow &row) override;
    int default_row_height(const ReadContext &context, int sheet, int hundredths) override;
    int merge(const ReadContext &context, int sheet, const MergedArea &area) override;
    int xml_before_data(const ReadContext &context, int sheet, std::string_view xml) override;
    int xml_after_data(const ReadContext &context, int sheet, std::string_view xml) override;
    int note(const ReadContext &context, int sheet, SheetNote &&note) override;
    int listed_name(const ReadContext &context, std::string_view name) override;
    // The sheets the reader listed, its shared strings and the notes.
    int finish(const ReadContext &context) override;

private:
    // Gives the record a sheet for every listed name (and no more).  0 or -2.
    int keep_sheets(const ReadContext &context);
    // The sheet's extra tables; null when memory runs out.
    SheetExtras *extras(int sheet);
    // The record of the cell's place, charged against the slot allowance;
    // null when the allowance is spent (`failure` then says how the
    // reading fails) or memory runs out (-2).
    XLS_CELL *place(const ReadContext &context, const BookCell &cell, int &failure);

    XLS_BOOK *book_;
    long long slots_left_ = TABLE_SLOT_ALLOWANCE;
    // A row element's height and hidden flag wait for the row's first cell.
    BookRow row_;
    StyleKinds kinds_;
    // Notes by owning sheet: they come before the sheets' cells.
    std::vector<std::vector<SheetNote>> notes_;
};
