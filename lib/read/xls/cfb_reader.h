// Reading compound files: the container format of Excel 97-2003 books.
//
// A compound file is a small file system inside one file: a 512-byte
// header, a big-block allocation table, a small-block allocation table for
// streams shorter than 4096 bytes, and a directory of 128-byte entries.
// CfbStorage opens such a file read-only and loads the tables and the
// directory; CfbStream reads one stream of it.  Every chain walk is bounded
// by the size of its table, so a damaged file fails instead of looping.
#pragma once

#include "byte_source.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

// Special values of allocation-table entries.
constexpr uint32_t CFB_FREE = 0xFFFFFFFF;
constexpr uint32_t CFB_END_OF_CHAIN = 0xFFFFFFFE;
constexpr uint32_t CFB_BAT_SECTOR = 0xFFFFFFFD;
constexpr uint32_t CFB_META_SECTOR = 0xFFFFFFFC;

// Streams shorter than this live in small blocks.
constexpr uint32_t CFB_THRESHOLD = 4096;
// Sector numbers of the big-block table that the header itself holds.
constexpr int CFB_HEADER_BAT_BLOCKS = 109;

// The header fields the reader keeps.
struct CfbHeader {
    uint16_t b_shift = 9;          // sector size = 1 << b_shift
    uint16_t s_shift = 6;          // short-sector size = 1 << s_shift
    uint32_t num_bat = 0;          // sectors holding the big-block table
    uint32_t dirent_start = 0;     // first sector of the directory
    uint32_t threshold = CFB_THRESHOLD;
    uint32_t sbat_start = CFB_END_OF_CHAIN;
    uint32_t num_sbat = 0;
    uint32_t mbat_start = CFB_END_OF_CHAIN;  // first extension sector of the table list
    uint32_t num_mbat = 0;
    uint32_t bat_blocks[CFB_HEADER_BAT_BLOCKS] = {};
};

// An allocation table: one 32-bit entry per block, each the number of the
// next block of its chain or a special value.
struct CfbAllocTable {
    uint32_t block_size = 4096;
    std::vector<uint32_t> entries = std::vector<uint32_t>(128, CFB_FREE);

    // Decodes little-endian 32-bit entries from raw table sectors.
    void decode(const std::vector<unsigned char> &raw);
    // The blocks of the chain that begins at `start`, in order.  The walk
    // stops at a special value or a number outside the table.  False when
    // the chain is longer than the table (it runs in a circle).
    bool follow(uint32_t start, std::vector<uint32_t> &chain) const;
};

// Entry types.
constexpr int CFB_TYPE_STORAGE = 1;
constexpr int CFB_TYPE_STREAM = 2;
constexpr int CFB_TYPE_ROOT = 5;

// One directory entry.  The name keeps the low byte of each UTF-16 code
// unit (a leading control character dropped), so it is plain ASCII for the
// streams of a book.
struct CfbEntry {
    int index = 0;
    std::string name;
    int type = 0;
    uint32_t previous = CFB_FREE;   // sibling entry indexes
    uint32_t next = CFB_FREE;
    uint32_t child = CFB_FREE;
    uint32_t start = CFB_END_OF_CHAIN;
    uint32_t size = 0;
    bool valid = false;             // type 1, 2 or 5 and a name
    bool is_directory() const { return type != CFB_TYPE_STREAM; }
};

class CfbStorage {
public:
    enum Result { CFB_OK = 0, CFB_OPEN_FAILED = 1, CFB_NOT_COMPOUND = 2, CFB_DAMAGED = 3 };

    // Opens the file at `path` (platform narrow encoding) and loads the
    // header, both allocation tables and the directory.
    explicit CfbStorage(const char *path);
    // The same from bytes the caller holds open; `source` must outlive the
    // storage.
    explicit CfbStorage(ByteSource &source);
    ~CfbStorage();
    CfbStorage(const CfbStorage &) = delete;
    CfbStorage &operator=(const CfbStorage &) = delete;

    bool open() const { return result_ == CFB_OK; }
    int result() const { return result_; }
    void close();

    // The entry a '/'-separated path names ("/" or "" is the root), or null.
    // Names are compared with ASCII letters in either case, as the format
    // defines, so "WorkBook" and "WORKBOOK" are found as "Workbook".
    const CfbEntry *entry(std::string_view path) const;

    const CfbHeader &header() const { return header_; }
    const std::vector<CfbEntry> &directory() const { return directory_; }

private:
    friend class CfbStream;
    int load();
    bool read_at(uint64_t offset, void *buffer, size_t count);
    bool read_big_blocks(const std::vector<uint32_t> &blocks, std::vector<unsigned char> &out);
    bool load_bat_block_list(std::vector<uint32_t> &list);
    // Bytes of the chain's data read from `position` on; fewer at a
    // missing block.
    size_t read_chain(const std::vector<uint32_t> &chain, bool small_blocks, uint64_t position,
                      unsigned char *buffer, size_t count);
    // The chain of the root entry, which holds all small blocks.
    bool load_root_chain();
    // Whether the file has a small-block table and a root entry with data.
    bool has_small_blocks() const;

    std::unique_ptr<ByteSource> own_source_;  // a source opened from a path
    ByteSource *source_ = nullptr;            // null once closed
    uint64_t file_size_ = 0;
    int result_ = CFB_OPEN_FAILED;
    CfbHeader header_;
    CfbAllocTable bat_;
    CfbAllocTable sbat_;
    std::vector<uint32_t> bat_block_list_;
    std::vector<CfbEntry> directory_;
    std::vector<uint32_t> root_chain_;
    bool root_chain_loaded_ = false;
};

// A stream of an open storage, read from its start.
class CfbStream {
public:
    // Opens the stream of an entry already looked up.
    CfbStream(CfbStorage &storage, const CfbEntry &entry);

    // True when the path names no stream or its chain is damaged.
    bool fail() const { return failed_; }
    uint32_t size() const { return size_; }
    // Copies up to `max_length` bytes from the current position; reading
    // past the end gives the bytes that remain.
    size_t read(void *buffer, size_t max_length);
    // True when the file's bytes from the stream's first sector on are the
    // stream: it lies in big blocks in ascending order, with nothing between
    // them but sectors of the allocation table itself.
    bool laid_out_in_order() const;

private:
    void open(const CfbEntry *entry);

    CfbStorage &storage_;
    std::vector<uint32_t> chain_;
    bool small_blocks_ = false;
    bool failed_ = true;
    uint32_t size_ = 0;
    uint64_t position_ = 0;
};

// The workbook stream entry of an open storage: "Workbook", else the older
// "Book", whose stream can be opened; null when there is neither.
const CfbEntry *cfb_workbook_entry(CfbStorage &storage);

// Copies the workbook stream of the Excel 97-2003 book at `book_path`
// ("Workbook", else the older "Book") into a new memory file named
// `memory_file_name`, for the BIFF reader to read through
// TEMP_WORKBOOK_PATH.  0; -1 the file is no readable compound file or has
// neither stream; -2 the memory file cannot be made or written.
int cfb_extract_workbook(const char *book_path, const char *memory_file_name);
