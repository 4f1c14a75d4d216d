// The cell table of a book being written: the sheet a write goes to, string
// cells through the shared string table, and column widths.
#pragma once

#include "oxls.h"

#include <string_view>

// Whether the record holds the tables of an open book (a released record
// has none); the writing calls refuse other records with -3.
bool ozw_book_is_open(const XLS_BOOK *book);

// The sheet at `sheet_index` for writing.  A book without sheets gets its
// first sheet ("Sheet1") here, so that cells written before any sheet was
// added have a home; saving adds the other two sheets of a new book.
// Null when the index names no sheet or memory cannot be had (*rc -3 or -2).
XLS_SHEET *ozw_writing_sheet(XLS_BOOK *book, int sheet_index, int *rc);

// Index of the sheet with exactly this name (UTF-8), or -1.
int ozw_find_sheet(const XLS_BOOK *book, std::string_view name);

// Makes the cell a shared-string cell holding a new entry with `text`
// (UTF-8).  Equal texts are not merged: every string cell has its own entry.
// 0 or -2.
int ozw_store_sst_string(XLS_BOOK *book, XLS_CELL &cell, std::string_view text);

// The column's width (0 when none is set) and setting it, raising the
// sheet's used-column count to cover the column and clearing its
// width-from-template marker.  0 or -2.
double ozw_column_width(const XLS_SHEET &sheet, int column);
int ozw_set_column_width(XLS_SHEET &sheet, int column, double width);
