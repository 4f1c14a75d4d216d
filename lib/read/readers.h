// Entry points of the book readers: OXLS_open_book reads a book into its
// record through them, the search reads a book's cells into a sink of its
// own.
#pragma once

#include "book_sink.h"
#include "grow_buffer.h"
#include "oxls.h"

#include <string>
#include <string_view>

// Excel 2007 package reader: extracts the package at `path` (a disk file, or
// a memory file with READ_MEMORY) and fills the book's tables.
// 0; -101/-102 the package cannot be opened; -4 not a readable package (a
// part past the extraction bounds); OZW_NOT_A_BOOK no workbook part, or a
// part in an encoding the library does not read; -2 out of memory; other
// negative codes for other failures.
int ozw_read_excel2007(XLS_BOOK *book, const char *path);
// Reads only the sheet names of the package (MODE=LIST).
int ozw_list_excel2007(XLS_BOOK *book, const char *path);
// Excel 97-2003 reader: compound file and BIFF8 workbook stream.
// 0; -2; -9 (own message text set); -4 encrypted or invalid header;
// 1002 encryption record met later; other values for other failures.
int ozw_read_excel2003(XLS_BOOK *book, const char *path);

// The Excel 2007 package held in `package` read into `context` and `sink`,
// part by part from its zip entries; `buffer` holds each part's text in
// turn.  The context starts empty, with style tables of its own.  Codes as
// the reader's.
int ozw_stream_excel2007(std::string_view package, ReadContext &context, BookSink &sink, GrowBuffer &buffer);
// The Excel 97-2003 book whose file's bytes are `book`, read into
// `context` and `sink`, its workbook stream taken as OXLS_open_book takes
// it without a temporary workbook.  Codes as the reader's.
int ozw_stream_excel2003(std::string_view book, ReadContext &context, BookSink &sink);
