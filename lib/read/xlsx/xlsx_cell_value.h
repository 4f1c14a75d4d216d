// Turning the value of a worksheet cell element (<c> with its t and s
// attributes, <v>, <f> and inline <is> text) into a cell record.
#pragma once

#include "oxls.h"

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

// The shared string index of a cell of type "s", or -1 when its value names
// none (the cell then shows nothing).
long long xlsx_shared_index(const std::string &value);

// A cell element as the worksheet scan gathers it.
struct PendingCell {
    int row = 0, column = 0;
    bool placed = false;       // row and column are known and inside the sheet
    unsigned style = 0;
    XlsxValueType type = VALUE_NUMBER;
    bool has_value = false;    // a <v> was met (possibly empty)
    bool has_inline = false;   // an <is> was met
    std::string value;         // decoded <v> text
    std::string inline_text;   // decoded <is> text, runs joined
    std::string formula;       // decoded <f> text

    // Back to an empty cell, keeping the string buffers.
    void reset();
};

// Stores the value into `cell` (which is empty, with its style set):
// numbers by `number_kind`, the kind their number format gives
// (ozw_style_cell_kind; only looked at for numbers), integers for whole
// numbers written without a point, decimals keeping their digits after the
// point; shared strings by index; formula texts, error texts, inline
// strings and booleans ("TRUE", "FALSE") as text cells; the formula text is
// kept with any value, and a formula without a value is a formula cell.
// Dates and times are moved by `date_origin_days` into the 1900 system.
// 0, or -2 when memory runs out.
int xlsx_store_cell_value(XLS_CELL &cell, const PendingCell &pending, int number_kind, int date_origin_days);
