// Entry points of the book readers, called by OXLS_open_book.
#pragma once

#include "oxls.h"

#include <string>
#include <string_view>

// Excel 2007 package reader: extracts the package at `path` (a disk file, or
// a memory file with READ_MEMORY) and fills the book's tables.
// 0; -101/-102 the package cannot be opened; -4 not a readable package;
// -2 out of memory; other negative codes for other failures.
int ozw_read_excel2007(XLS_BOOK *book, const char *path);
// Reads only the sheet names of the package (MODE=LIST).
int ozw_list_excel2007(XLS_BOOK *book, const char *path);
// Excel 97-2003 reader: compound file and BIFF8 workbook stream.
// 0; -2; -9 (own message text set); -4 encrypted or invalid header;
// 1002 encryption record met later; other values for other failures.
int ozw_read_excel2003(XLS_BOOK *book, const char *path);

class SheetCellSink;
// The cells of the Excel 2007 package held in `package` handed to `sink`
// sheet by sheet, reading only the parts they need; the book record gets
// the sheet names, shared strings and styles but no cells.  Codes as the
// reader's.  `buffer` holds each part's text in turn.
int ozw_stream_excel2007(XLS_BOOK *book, std::string_view package, SheetCellSink &sink, std::string &buffer);
// The cells of an Excel 97-2003 book's workbook stream, read through the
// compound-file reader, handed to `sink`; the record as above.
int ozw_stream_excel2003(XLS_BOOK *book, const char *path, SheetCellSink &sink);
