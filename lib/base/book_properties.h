// Book-wide settings of a book being written that the fixed book record has
// no room for (kept at XLS_BOOK.extension): the optional document
// properties, automatic column width, and whether the first sheet was made
// implicitly by writing into a book without sheets.
#pragma once

#include "oxls.h"

#include <string>

struct BookProperties {
    std::string title;      // UTF-8; empty: not written
    std::string subject;
    std::string keywords;   // TAG
    std::string manager;
    bool auto_width = false;
    bool implicit_first_sheet = false;
};

// The book's properties, created on first use; null when memory cannot be
// had.
BookProperties *ozw_book_properties(XLS_BOOK *book);
// The properties when they exist, else null.
const BookProperties *ozw_find_book_properties(const XLS_BOOK *book);
// Frees them (called when the book record is released).
void ozw_free_book_properties(XLS_BOOK *book);
