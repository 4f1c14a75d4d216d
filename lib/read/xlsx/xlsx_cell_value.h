// The value of a worksheet cell element (<c> with its t and s attributes,
// <v>, <f> and inline <is> text) as the package reader gathers it, and the
// value it hands over.
#pragma once

#include "book_sink.h"

#include <string>
#include <string_view>

// What the t attribute of a cell says its value is.
enum XlsxValueType {
    VALUE_NUMBER,        // none, "n", or anything unknown
    VALUE_SHARED,        // "s": index into the shared strings
    VALUE_FORMULA_TEXT,  // "str": text result of a formula
    VALUE_ERROR,         // "e": error text such as #DIV/0!
    VALUE_INLINE,        // "inlineStr": text in <is>
    VALUE_BOOLEAN,       // "b": 1 or 0
    VALUE_ISO_DATE,      // "d": an ISO 8601 date and time
};

XlsxValueType xlsx_value_type(std::string_view t_attribute);

// A cell element as the worksheet scan gathers it.
struct PendingCell {
    int row = 0, column = 0;
    bool placed = false;       // row and column are known and inside the sheet
    unsigned style = 0;
    XlsxValueType type = VALUE_NUMBER;
    bool has_value = false;    // a <v> was met (possibly empty)
    bool has_inline = false;   // an <is> was met
    // The decoded <v> text and <is> text (runs joined): in the part when it
    // holds nothing to decode, else in the buffer beside.
    std::string_view value;
    std::string value_buffer;
    std::string_view inline_text;
    std::string inline_buffer;
    std::string formula;       // decoded <f> text

    // Back to an empty cell, keeping the buffers.  Inline: called for
    // every cell.
    void reset() {
        row = column = 0;
        placed = false;
        style = 0;
        type = VALUE_NUMBER;
        has_value = has_inline = false;
        value = inline_text = {};
        formula.clear();
    }
};

// Whether a value is written as a plain decimal without an exponent, as
// producers write nearly every number: a finite number, stored as one of
// its style's kind whatever the style.
bool xlsx_plain_decimal(std::string_view value);

// Whether a shared-string cell's value is written as producers write it,
// decimal digits naming an index, and which.
bool xlsx_plain_index(std::string_view value, size_t &index);

// The cell as handed over, viewing the texts of `pending`: a number read
// once from its text, a shared string by index (none when its value names
// none), inline strings, formula texts (marked as such) and error texts as
// texts, booleans as TRUE and FALSE, ISO dates as such; no value when the
// cell has none.  The formula goes with any value.
BookCell xlsx_book_cell(const PendingCell &pending, int sheet);
