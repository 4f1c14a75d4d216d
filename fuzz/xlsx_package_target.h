// The Excel 2007 package reader on a hostile package held in memory:
// extraction, the part list, the relationship pass, and the XML of the
// workbook, shared strings, styles, worksheets, comments and drawings.
// Every cell of the loaded book is then read as text.
#pragma once

#include "fuzz_input.h"
#include "readers.h"

namespace fuzz {

constexpr const char *kXlsxPackage = "fuzz.xlsx";

inline int run_xlsx_package(const uint8_t *data, size_t size) {
    orb_zip_on_memory(0);
    ScopedBook book(BOOK_KIND_XLSX);
    if (!book.ready()) return 0;
    book.unload_mode();
    put_memory_file(kXlsxPackage, data, size);
    if (ozw_read_excel2007(book.get(), kXlsxPackage) == 0) read_every_cell(book.get());
    return 0;
}

}  // namespace fuzz
