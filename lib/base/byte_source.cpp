#include "byte_source.h"

#include "platform/platform.h"

#include <algorithm>
#include <cstring>

ByteSource::ByteSource(const char *path) : file_(zplat::file_open(path, zplat::FILE_READ)) {
    const long long length = file_ ? zplat::file_length(file_) : -1;
    ok_ = length >= 0;
    size_ = ok_ ? static_cast<uint64_t>(length) : 0;
}

ByteSource::~ByteSource() { zplat::file_close(file_); }

size_t ByteSource::read_at(uint64_t offset, void *buffer, size_t count) {
    if (!ok_ || offset >= size_) return 0;
    count = static_cast<size_t>(std::min<uint64_t>(count, size_ - offset));
    if (!file_) {
        std::memcpy(buffer, bytes_.data() + offset, count);
        return count;
    }
    if (zplat::file_seek(file_, static_cast<long long>(offset), zplat::SEEK_FROM_START) != 0) return 0;
    return zplat::file_read(file_, buffer, count);
}
