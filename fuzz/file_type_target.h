// File-kind detection on hostile bytes: from the caller's 16 bytes, and from
// a memory file of any length (which also runs the compound-file directory
// scan for the encrypted-package stream).  The last input byte picks the
// file name, since the name's ending takes part in the decision.
#pragma once

#include "file_type.h"
#include "fuzz_input.h"
#include <cstring>

namespace fuzz {

constexpr const char *kFileTypeNames[] = {"book.xlsx", "book.xlsm", "book.xls", "book.docx", "book.pptx",
                                  "book.csv",  "book",      "b.x",      "BOOK.XLSX", "book.zip"};

inline int run_file_type(const uint8_t *data, size_t size) {
    if (size == 0) return 0;
    const char *name = kFileTypeNames[data[size - 1] % (sizeof kFileTypeNames / sizeof kFileTypeNames[0])];

    unsigned char header[FILE_HEADER_LEN] = {};
    std::memcpy(header, data, size < sizeof header ? size : sizeof header);
    int type = 0;
    orb_file_type(FILE_SOURCE_HEADER, reinterpret_cast<const char *>(header), &type);

    put_memory_file(name, data, size);
    orb_file_type(FILE_SOURCE_MEMORY, name, &type);
    unsigned start = 0;
    orb_find_cfb_entry(FILE_SOURCE_MEMORY, name, CFB_WORKBOOK, &start);
    mfree_all();
    return 0;
}

}  // namespace fuzz
