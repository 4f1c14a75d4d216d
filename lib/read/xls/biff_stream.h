// Cutting a workbook stream into BIFF records.
//
// The stream is taken in 256-byte blocks, read from the source 64 KiB at a
// time.  A stream found by the direct scan is taken as contiguous bytes of
// the file, so sectors of the allocation table that lie between its
// sectors would be read as stream data; such blocks are recognised and
// passed over.
#pragma once

#include "xls/biff_records.h"

#include <cstdint>
#include <functional>
#include <vector>

constexpr size_t BIFF_BLOCK_SIZE = 256;
constexpr size_t BIFF_READ_SIZE = 256 * BIFF_BLOCK_SIZE;

// Fills the buffer with the next bytes of the stream; 0 at its end.
using BiffByteSource = std::function<size_t(unsigned char *buffer, size_t count)>;

// True when every 32-bit word of the block is a special allocation value
// (0xFFFFFFFA and above) or a sector number from 1 to file_sectors - 1, and
// no sector number appears twice: a piece of an allocation table.
bool biff_is_table_block(const unsigned char *block, uint64_t file_sectors);

class BiffRecordReader {
public:
    // `stream_size` bytes of stream data are delivered at most.  With
    // `skip_table_blocks`, every block after the first that looks like a
    // piece of an allocation table (in a file of `file_sectors` 512-byte
    // sectors) is passed over and does not count as stream data.
    BiffRecordReader(BiffByteSource source, uint64_t stream_size, uint64_t file_sectors, bool skip_table_blocks);

    // The next record; false at the end of the stream, at a record cut off
    // by it, or at a record number 0 after an EOF record.  The record's data
    // stays valid until the next call.
    bool next(biff::Record &record);

private:
    bool take(unsigned char *out, size_t count);
    bool refill();
    // The next block of the source into block_: its length, 0 at the end.
    size_t next_block();

    BiffByteSource source_;
    uint64_t stream_size_;
    uint64_t file_sectors_;
    bool skip_table_blocks_;
    std::vector<unsigned char> read_;   // the bytes read from the source and not yet taken
    size_t read_position_ = 0;
    unsigned char block_[BIFF_BLOCK_SIZE];
    size_t block_length_ = 0;
    size_t block_position_ = 0;
    uint64_t blocks_read_ = 0;
    uint64_t delivered_ = 0;
    uint16_t last_number_ = 0;
    std::vector<unsigned char> data_;
};
