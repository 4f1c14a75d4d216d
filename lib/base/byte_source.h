// A file's bytes, read at any offset: from the file on disk, or from memory
// when the whole file is already there.  The search reads each book with a
// single open and hands its bytes to the reader, which would otherwise open
// the file once for each of its steps (a round trip each on a file server).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace zplat {
struct File;
}

class ByteSource {
public:
    // Opens the file at `path` (platform narrow encoding); ok() tells.
    explicit ByteSource(const char *path);
    // The bytes of a file read whole; they must outlive the source.
    explicit ByteSource(std::string_view bytes) : bytes_(bytes), size_(bytes.size()), ok_(true) {}
    ~ByteSource();
    ByteSource(const ByteSource &) = delete;
    ByteSource &operator=(const ByteSource &) = delete;

    bool ok() const { return ok_; }
    uint64_t size() const { return size_; }
    // Copies up to `count` bytes from `offset` on: the count copied, fewer
    // at the end of the file or at a read failure.
    size_t read_at(uint64_t offset, void *buffer, size_t count);
    // Whether exactly `count` bytes were copied from `offset` on.
    bool read_exactly(uint64_t offset, void *buffer, size_t count) { return read_at(offset, buffer, count) == count; }

private:
    zplat::File *file_ = nullptr;
    std::string_view bytes_;
    uint64_t size_ = 0;
    bool ok_ = false;
};
