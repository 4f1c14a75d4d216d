// The text a cell shows to a caller (UTF-8), made from its stored value by
// the formatting rules.  At most XLS_CELL_UTF8_LEN bytes; a longer stored
// text is cut at a character boundary.
#pragma once

#include "oxls.h"
#include "style_tables.h"

#include <string>
#include <string_view>

// Formatted mode (the book's formatted-text flag is off, as after
// MODE=UNLOAD): numbers and dates are shown through the cell's own number
// format.  Stored mode (the flag is on): numbers are shown as stored and
// dates in the fixed form of their type (2016/3/25, 2016/3/25 14:05, 14時5分,
// 14:05:09).  Percentages show the fraction times 100 with "%" in both.
std::string ozw_display_text(const XLS_BOOK *book, const XLS_CELL &cell);

// The same for a cell that is no shared-string cell, with the book's style
// tables (may be null) and mode given.
std::string ozw_value_display_text(const StyleTables *styles, bool formatted, const XLS_CELL &cell);

// The caller's formats instead of the mode rule: numbers by `number_format`
// with `decimals`, percentages with exactly `decimals` digits, dates and
// times by `date_format`; texts as stored; anything else empty.
std::string ozw_display_text_in_formats(const XLS_BOOK *book, const XLS_CELL &cell, int date_format,
                                        int number_format, int decimals);

// A stored text as a caller is handed it: cut to the longest text a
// caller is ever handed (XLS_CELL_UTF8_LEN bytes) without splitting a UTF-8
// character.
std::string_view ozw_bounded_text(std::string_view text);

// True for the date and time types.
bool ozw_is_date_type(int type);
