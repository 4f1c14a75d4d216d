// The search's way into a hostile book: the whole file read into the cell
// sink, a package part by part from its zip entries, a compound file's
// workbook stream straight from the file.  Every cell's display text and,
// for a number, its shown text, date form and the bytes its style's texts
// can hold are made, as the search makes them; the texts outside the
// cells (comments, shapes) are asked for and looked at, as the search
// does by default.
#pragma once

#include "fuzz_input.h"
#include "book_cells.h"
#include "cell_display.h"
#include "number_bytes.h"
#include "number_shown_texts.h"

#include <set>

namespace fuzz {

class TextMakingSink : public BookSink {
public:
    int cell(const ReadContext &book, const BookCell &cell) override {
        display_.text(book, cell);
        if (display_.was_number()) {
            if (styles_seen_.insert(cell.style).second)
                ozw_style_number_bytes(book.styles, book.escaped_codes(), cell.style);
            shown_texts_.make(book.styles, book.escaped_codes(), cell.style, display_.number(),
                              book.date_origin_days != 0, shown_, date_);
        }
        return 0;
    }
    // The search passes over numbers of styles that cannot show its words
    // and shared strings without them, reading no place for them: half of
    // each are passed over here, so that both ways are taken.
    bool wants_numbers(const ReadContext &, unsigned style) override { return style % 2 == 0; }
    bool wants_shared_string(const ReadContext &, size_t index) override { return index % 2 == 0; }
    bool wants_notes() const override { return true; }
    int note(const ReadContext &book, int sheet, SheetNote &&note) override {
        // The search names the sheet of every text it keeps.
        if (sheet < 0 || static_cast<size_t>(sheet) >= book.sheet_names.size()) __builtin_trap();
        note_bytes_ += note.text.size() + note.name.size();
        return 0;
    }

private:
    size_t note_bytes_ = 0;
    CellDisplay display_;
    std::set<unsigned> styles_seen_;   // the bytes of each style are worked out once
    std::string shown_, date_;
    NumberShownTexts shown_texts_;
};

inline int run_book_cells(const uint8_t *data, size_t size) {
    const bool package = size >= 2 && data[0] == 'P' && data[1] == 'K';
    const std::string path = put_scratch_file(package ? ".xlsx" : ".xls", data, size);
    BookCellReader reader;
    TextMakingSink sink;
    reader.read(path.c_str(), sink);
    return 0;
}

}  // namespace fuzz
