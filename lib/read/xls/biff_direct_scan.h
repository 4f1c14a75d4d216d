// Finding the workbook stream of a compound file without reading its
// allocation tables: a quick scan of the file for directory entries named
// "Workbook".  The stream is then read as contiguous bytes from its first
// sector, which holds for books whose stream was written in one piece.
#pragma once

#include "byte_source.h"
#include "oxls.h"

#include <cstdint>
#include <vector>

// A workbook stream as the scan finds it.
struct BiffStreamSpan {
    uint64_t offset = 0;   // file offset of its first byte
    uint32_t size = 0;     // bytes
};

// Most workbook directory entries the scan takes from one file.
constexpr int BIFF_MAX_SCANNED_STREAMS = 100;

// Checks the header (byte order FE FF, 512-byte sectors, 64-byte short
// sectors) of the file in `source` and collects the spans of the entries
// named "Workbook".  The causes of failure go to the book's message list.
// 0; -4 the header fails a check (message 4000 with "Invalid Byte Order",
// "Invalid Sector Size" or "Invalid Short-sector Size"); -1 the file holds
// more than 100 workbook entries (message 4000 with "WORKBOOK").
int biff_scan_workbook_streams(XLS_BOOK *book, ByteSource &source, std::vector<BiffStreamSpan> &spans);

// Pushes numbered message `number` with its detail text onto the book's
// message list (nothing when the book has no work area).
void biff_push_message(XLS_BOOK *book, int number, const char *detail);
