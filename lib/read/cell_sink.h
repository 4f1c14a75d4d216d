// Where a reader hands the cells of a book one at a time, instead of
// placing them in the book's cell tables: a search reads every cell once
// and keeps only what it looks for, so it never holds the whole book.
#pragma once

#include "oxls.h"
#include "value_store.h"

#include <cstdlib>

// One cell as a reader hands it over.
struct SheetCell {
    int sheet = 0;    // an index into the book's sheets
    int row = 0;      // from 0
    int column = 0;   // from 0
    // The value as the cell tables would keep it; it belongs to the reader
    // and changes with the next cell.
    const XLS_CELL *value = nullptr;
    // For a cell holding a number: the number as the book stores it, and
    // whether the book counts its dates from 1904.
    bool is_number = false;
    double number = 0;
    bool date1904 = false;
};

class SheetCellSink {
public:
    virtual ~SheetCellSink() = default;
    // One cell, in the order the book holds it.  `book` has the sheet
    // names, shared strings and styles the cell's display text is made
    // from.  A cell met twice is handed over twice.  A nonzero result stops
    // the reading, which then fails.
    virtual int cell(const XLS_BOOK &book, const SheetCell &cell) = 0;
    // Whether the number cells of cell style `style` may interest the sink.
    // A reader leaves out the number cells of a style the sink does not
    // want without making their values, which is much of the work of
    // reading a book of numbers.
    virtual bool wants_numbers(const XLS_BOOK &book, unsigned style) {
        (void)book;
        (void)style;
        return true;
    }
    // Whether the cells showing shared string `index` (within the book's
    // table) may interest the sink; a reader leaves out the others.
    virtual bool wants_shared_string(const XLS_BOOK &book, int index) {
        (void)book;
        (void)index;
        return true;
    }
};

// The one cell record a reader fills for each cell it hands to a sink; its
// texts are reused from cell to cell and freed with it.
class SinkCell {
public:
    SinkCell() = default;
    ~SinkCell() { clear(); }
    SinkCell(const SinkCell &) = delete;
    SinkCell &operator=(const SinkCell &) = delete;

    // Empty again, with no style and no kept attributes.
    XLS_CELL &clear() {
        ozw_store_empty(cell_);
        std::free(cell_.extra);
        cell_.extra = nullptr;
        cell_.style = 0;
        cell_.number = 0;
        return cell_;
    }
    XLS_CELL &cell() { return cell_; }

private:
    XLS_CELL cell_{XLS_CELL_EMPTY, 0, 0, nullptr, nullptr, nullptr};
};
