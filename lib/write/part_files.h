// Where the parts of a package being written are built before they are
// zipped: memory files named by their part names (with the book's "[n]"
// thread prefix), or files in a folder under the temporary folder.
#pragma once

#include "mfile.h"

#include <string>
#include <vector>

#include <zip.h>

// Result of PartFiles::write when the memory-file table or a buffer cannot
// grow: the package is to be built again on disk.
constexpr int PART_MEMORY_FULL = 1234;

class PartFiles {
public:
    // Memory parts go to `files` (the book's own table), or to the caller's.
    explicit PartFiles(int thread_no, MfileTable *files = nullptr)
        : thread_no_(thread_no), files_(files ? *files : orb_caller_files()) {}
    ~PartFiles() { release(); }
    PartFiles(const PartFiles &) = delete;
    PartFiles &operator=(const PartFiles &) = delete;

    // Drops what was built so far and builds further parts as files in
    // `folder` (created with its parents).  0, or -101.
    int use_disk(const std::string &folder);
    bool on_disk() const { return on_disk_; }

    // Creates the part and writes `data` into it.  0; -101 it cannot be
    // created; -103 fewer bytes were written; PART_MEMORY_FULL.
    int write(const std::string &part_name, const std::string &data);

    // Calls `sink(bytes, count)` for the part's data in blocks of
    // `block_size` bytes; stops when `sink` returns false.  0, -101 the
    // part cannot be opened, or the first failing result of `sink` as -103.
    template <typename Sink>
    int read(const std::string &part_name, size_t block_size, Sink sink);

    // The zip entry time of a part: its file time on disk, all zero in
    // memory.
    tm_zip entry_time(const std::string &part_name) const;

    // Deletes every part built so far (memory files, or the folder).
    void release();

private:
    std::string stored_name(const std::string &part_name) const;
    int read_blocks(const std::string &part_name, size_t block_size,
                    bool (*sink)(void *context, const char *bytes, size_t count), void *context);

    int thread_no_;
    MfileTable &files_;
    bool on_disk_ = false;
    std::string folder_;
    std::vector<std::string> written_;   // stored names of the parts built so far
};

template <typename Sink>
int PartFiles::read(const std::string &part_name, size_t block_size, Sink sink) {
    auto call = [](void *context, const char *bytes, size_t count) {
        return (*static_cast<Sink *>(context))(bytes, count);
    };
    return read_blocks(part_name, block_size, call, &sink);
}
