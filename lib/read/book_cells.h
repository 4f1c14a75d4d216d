// A book's cells read straight into a sink, for callers that look at every
// cell once (the search) and need neither the cell tables nor a temporary
// file: an Excel 2007 package is read part by part from its zip entries, an
// Excel 97-2003 book's workbook stream through the compound-file reader.
#pragma once

#include "read/cell_sink.h"

// Which reader a caller expects the file to need, told by its name.
enum class BookFormat { Excel2007, Excel2003 };

// Reads the book at `path` (a disk path in the platform's path encoding)
// and hands every cell of its worksheets to `sink`, with the book opened
// as for unloading: display texts through each cell's number format.
// 0; -1 the file is not a readable book of `format`; -2 out of memory;
// another negative code when the reader refuses the book or the sink
// stopped it.
int ozw_read_book_cells(const char *path, BookFormat format, SheetCellSink &sink);
