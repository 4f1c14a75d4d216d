// The search's way into a hostile book: the whole file read into the cell
// sink, a package part by part from its zip entries, a compound file's
// workbook stream through the compound-file reader.  Every cell's display
// text and, for a number, its shown text and date form are made, as the
// search makes them.
#pragma once

#include "fuzz_input.h"
#include "book_cells.h"
#include "display_text.h"
#include "number_shown_texts.h"

namespace fuzz {

class TextMakingSink : public SheetCellSink {
public:
    int cell(const XLS_BOOK &book, const SheetCell &cell) override {
        text_ = ozw_display_text(&book, *cell.value);
        if (cell.is_number) shown_texts_.make(book, cell.value->style, cell.number, cell.date1904, shown_, date_);
        return 0;
    }

private:
    std::string text_, shown_, date_;
    NumberShownTexts shown_texts_;
};

inline int run_book_cells(const uint8_t *data, size_t size) {
    const bool package = size >= 2 && data[0] == 'P' && data[1] == 'K';
    const std::string path = put_scratch_file(package ? ".xlsx" : ".xls", data, size);
    BookCellReader reader;
    TextMakingSink sink;
    reader.read(path.c_str(), package ? BookFormat::Excel2007 : BookFormat::Excel2003, sink);
    return 0;
}

}  // namespace fuzz
