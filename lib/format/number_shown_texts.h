// The further texts a number cell is found by, beside its display text:
// the text a spreadsheet program shows for it through its number format,
// and for a date the form the search's help teaches, 2016/3/25 (with
// " 14:05" after it when the cell also shows a time of day).
#pragma once

#include "shown_text.h"
#include "style_tables.h"

#include <memory>
#include <string>
#include <vector>

// The compiled number format of cell style `style`: the book's own code (a
// package's codes, `escaped`, keep their XML escapes, which are undone
// here) or a built-in one; null for a style without a shown form.
std::unique_ptr<ShownFormat> ozw_style_shown_format(const StyleTables *styles, bool escaped, unsigned style);

// The characters a date form can hold.
constexpr std::string_view OZW_DATE_FORM_BYTES = "0123456789/ :";

class NumberShownTexts {
public:
    // Forgets the formats of the book read before.
    void clear() { formats_.clear(); }

    // Makes the texts of `value` in cell style `style` of a book with these
    // style tables (dates of a book counting from 1904 when `date1904`).
    // Returns 0 when the number has no shown text of its own (General, a
    // date out of range), else 1 with `shown` set, or 2 with `shown` and
    // `date` set.
    int make(const StyleTables *styles, bool escaped, unsigned style, double value, bool date1904, std::string &shown,
             std::string &date);

private:
    // The compiled format of a style, or null for one without a shown form.
    const ShownFormat *format_of(const StyleTables *styles, bool escaped, unsigned style);

    struct Entry {
        bool compiled = false;
        std::unique_ptr<ShownFormat> format;
    };
    std::vector<Entry> formats_;
};
