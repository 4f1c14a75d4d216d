// The further texts a number cell is found by, beside its display text:
// the text a spreadsheet program shows for it through its number format,
// and for a date the form the search's help teaches, 2016/3/25 (with
// " 14:05" after it when the cell also shows a time of day).
#pragma once

#include "oxls.h"
#include "shown_text.h"

#include <memory>
#include <string>
#include <vector>

class NumberShownTexts {
public:
    // Forgets the formats of the book read before.
    void clear() { formats_.clear(); }

    // Makes the texts of `value` in cell style `style` of `book` (dates of
    // a book counting from 1904 when `date1904`).  Returns 0 when the
    // number has no shown text of its own (General, a date out of range),
    // else 1 with `shown` set, or 2 with `shown` and `date` set.
    int make(const XLS_BOOK &book, unsigned style, double value, bool date1904, std::string &shown,
             std::string &date);

private:
    // The compiled format of a style, or null for one without a shown form.
    const ShownFormat *format_of(const XLS_BOOK &book, unsigned style);

    struct Entry {
        bool compiled = false;
        std::unique_ptr<ShownFormat> format;
    };
    std::vector<Entry> formats_;
};
