// The display text of the cells a reader hands over, as the cell calls
// show them for a book opened to unload it: made only when asked for, and
// for a text or shared string not made at all but viewed.
#pragma once

#include "book_sink.h"
#include "cell_value.h"

#include <string>
#include <string_view>

class CellDisplay {
public:
    // Forgets the book read before.
    void clear() { kinds_.clear(); }

    // The cell's display text, valid until the next call: a view of its
    // text or shared string, or the text of its number or date made into a
    // buffer kept here.
    std::string_view text(const ReadContext &book, const BookCell &cell);
    // Whether the last text was that of a number read as a number, or of
    // a package's ISO date, which have a shown text and date form too.
    bool was_number() const { return number_; }
    // That number as the cell's style formats it: counted from the book's
    // own date origin, an ISO date as the serial it stands for.
    double number() const { return value_; }

private:
    StyleKinds kinds_;
    std::string made_;
    bool number_ = false;
    double value_ = 0;
};
