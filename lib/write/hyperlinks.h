// Hyperlinks of the cells of a book being written: a cell of this book,
// another book (optionally a sheet and cell in it), or any external target.
// Kept per sheet (SheetExtras::hyperlinks) until the book is saved.
#pragma once

#include "oxls.h"

constexpr int HYPERLINK_FROM_VALUE = -1;
constexpr int HYPERLINK_IN_BOOK = 0;
constexpr int HYPERLINK_EXTERNAL = 1;
constexpr int HYPERLINK_OTHER_BOOK = 3;

// Records a link of `kind` on the cell (0-based row and column) of the sheet
// and gives the cell the hyperlink style.  `text` is the target sheet name
// (kinds 0 and 3) or the external target (kind 1); `book_path` the other
// book (kind 3).  Texts are in the caller's character set.  Target row and
// column are 0-based, -1 for none.  0; -2 memory; -3 bad kind or missing
// text; -9 sheet name over XLS_SHEET_LEN bytes (OXLS-03009 set).
int ozw_set_hyperlink(XLS_BOOK *book, int sheet_index, int row, int column, int kind,
                      const char *book_path, const char *text, int target_row, int target_column);
