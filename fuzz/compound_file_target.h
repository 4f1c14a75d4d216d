// The compound-file reader on a hostile file: header checks, the table
// sector list with its meta sectors, chains that loop or leave the table,
// the directory tree, and reading every stream it names.  Then the two
// ways the workbook stream is found: extraction through the reader, and the
// direct scan of the raw file; then a whole load without an extracted stream.
#pragma once

#include "fuzz_input.h"
#include "xls/biff_direct_scan.h"
#include "xls/cfb_reader.h"
#include "readers.h"
#include <vector>

namespace fuzz {

inline int run_compound_file(const uint8_t *data, size_t size) {
    const std::string path = put_scratch_file(".xls", data, size);
    {
        CfbStorage storage(path.c_str());
        if (storage.open()) {
            unsigned char buffer[1024];
            for (const CfbEntry &entry : storage.directory()) {
                if (!entry.valid || entry.is_directory()) continue;
                CfbStream stream(storage, entry);
                stream.laid_out_in_order();
                while (!stream.fail() && stream.read(buffer, sizeof buffer) == sizeof buffer) {
                }
            }
            storage.entry("Workbook");
            storage.entry("/book");
            storage.entry("a/b/c");
        }
    }
    cfb_extract_workbook(path.c_str(), "fuzz-workbook");

    ScopedBook book(BOOK_KIND_XLS);
    if (book.ready()) {
        std::vector<BiffStreamSpan> spans;
        ByteSource source(path.c_str());
        biff_scan_workbook_streams(book.get(), source, spans);
    }
    // The whole load without an extracted stream: the scan, or the
    // compound-file reader where the scan cannot give the stream.
    ScopedBook direct(BOOK_KIND_XLS);
    if (direct.ready()) {
        direct.unload_mode();
        if (ozw_read_excel2003(direct.get(), path.c_str()) == 0) read_every_cell(direct.get());
    }
    return 0;
}

}  // namespace fuzz
