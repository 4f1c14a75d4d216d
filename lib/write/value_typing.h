// Typing a value text and storing it into a cell of a book being written.
#pragma once

#include "oxls.h"

// Result of ozw_put_cell for an empty value.
constexpr int PUT_CELL_EMPTY = 1403;

// Stores `value` (UTF-8, possibly in double quotes) into the cell at the
// 0-based row and column of the sheet, typed by its text, first match wins:
// surrounding double quotes are removed; a leading "'" makes the rest a
// string; a leading "=" a formula (upper-cased outside quotes) when its
// quotes and parentheses are whole, else the text is a string; then a
// number, a date, a time or a date and time, a percentage; anything else a
// string, whose "\n" escapes become line breaks (and wrap the cell) and
// "\\" a backslash.  A cell that holds a plain string takes any value as a
// plain string.  In create mode an unstyled date, time or percentage cell
// takes the book's default style for its kind.  With automatic column width
// on, a longer number, date or string widens its column.
// 0; PUT_CELL_EMPTY (nothing stored); -2 no memory; -1 other failures.
int ozw_put_cell(XLS_BOOK *book, int sheet_index, int row, int column, const char *value);
