// The BIFF reader on a hostile workbook stream, handed over the way the
// search application does: in the memory file named by the temporary
// workbook path.  An input that is a compound file has its workbook stream
// copied there first, as the search application does with a book; any
// other input is taken for the stream itself.  Every cell of the loaded
// book is then read as text.
#pragma once

#include "fuzz_input.h"
#include "xls/cfb_reader.h"
#include "readers.h"
#include <cstring>

namespace fuzz {

constexpr const char *kBiffStream = "fuzz-workbook.tmp";

inline int run_biff(const uint8_t *data, size_t size) {
    // The reader takes the size of the book file to recognise pieces of an
    // allocation table inside the stream; a file as long as the stream
    // stands in for the book.
    const std::string path = put_scratch_file(".xls", data, size);
    ScopedBook book(BOOK_KIND_XLS);
    if (!book.ready()) return 0;
    book.unload_mode();
    std::strcpy(book.get()->temp_workbook_path, kBiffStream);
    static const unsigned char kSignature[] = {0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1};
    if (size >= sizeof kSignature && std::memcmp(data, kSignature, sizeof kSignature) == 0) {
        if (cfb_extract_workbook(path.c_str(), kBiffStream) != 0) return 0;
    } else {
        put_memory_file(kBiffStream, data, size);
    }
    if (ozw_read_excel2003(book.get(), path.c_str()) == 0) read_every_cell(book.get());
    return 0;
}

}  // namespace fuzz
