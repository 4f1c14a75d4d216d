// The shared string table of a workbook stream: the SST record and the
// CONTINUE records after it are collected piece by piece, then parsed in
// one pass into the reader's shared strings.
#pragma once

#include "oxls.h"
#include "shared_strings.h"

#include <cstddef>
#include <vector>

// Most pieces (the SST record and its CONTINUE records) one table may have.
constexpr int OZW_MAX_CONTINUE = 4096;
// Longest shared string in characters.
constexpr int XLS_CELL_STR_LEN = 32767;

class BiffSstCollector {
public:
    // Starts a new table with the SST record's data as its first piece.
    // 0, or -2 out of memory.
    int start(const unsigned char *data, size_t length);
    // Adds a CONTINUE record's data as the next piece.  0; -2; -9 when the
    // table would have more than OZW_MAX_CONTINUE pieces (message set on
    // `report` when given).
    int append(XLS_BOOK *report, const unsigned char *data, size_t length);
    // Adds the collected strings to `strings` and empties the collection.
    // 0; -1 a piece continues a string with an option byte other than 0 or
    // 1, or a 16-bit character is split; -2; -9 a string longer than
    // XLS_CELL_STR_LEN characters (message set as above).
    int parse(SharedStrings &strings, XLS_BOOK *report);

private:
    int parse_strings(SharedStrings &strings, XLS_BOOK *report);
    size_t piece_end() const;
    bool read_bytes(size_t count, const unsigned char *&bytes);

    std::vector<unsigned char> data_;
    std::vector<size_t> piece_starts_;
    size_t piece_ = 0;
    size_t position_ = 0;
};
