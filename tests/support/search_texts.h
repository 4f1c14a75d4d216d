// What the search's cell reader makes of a book: its sheet names, the
// display text of each cell ("Sheet!A1", the last of a place met twice)
// and its number format codes by number.
#pragma once

#include "book_cells.h"
#include "cell_display.h"
#include "cell_name.h"

#include <map>
#include <string>
#include <vector>

struct SearchTexts : BookSink {
    int rc = 0;
    std::vector<std::string> sheets;
    std::map<std::string, std::string> cells;
    std::map<int, std::string> formats;
    CellDisplay display;

    explicit SearchTexts(const std::string &path) { rc = BookCellReader().read(path.c_str(), *this); }
    int cell(const ReadContext &book, const BookCell &cell) override {
        cells[book.sheet_names[static_cast<size_t>(cell.sheet)] + "!" + ozw_cell_name(cell.row, cell.column)] =
            std::string(display.text(book, cell));
        return 0;
    }
    int finish(const ReadContext &book) override {
        sheets = book.sheet_names;
        for (const NumberFormat &format : book.styles->number_formats) formats[format.id] = format.code;
        return 0;
    }
};
