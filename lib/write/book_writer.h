// Saving a book (OXLS_close_book with SAVE).
#pragma once

#include "oxls.h"

// Writes the book as an Excel 2007 package: a new package in create mode.
// Returns 0 or the call's result code (-103 with OXLS-03121 when the file
// cannot be written, -2, -4, -9); the message text is set on failure and
// the book stays open for another try.
int ozw_save_book(XLS_BOOK *book);
