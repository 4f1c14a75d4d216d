// Plain files over the platform layer.
#include "plain_file.h"

#include "mfile.h"
#include "platform/platform.h"
#include "result_codes.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <new>

namespace {

constexpr size_t kReadAhead = 8192;
constexpr size_t kCopyChunk = 1 << 20;

// Gives the bytes read ahead back to the handle, so that it stands where
// the caller believes the file to be.
bool drop_read_ahead(PlainFile *file) {
    size_t unread = file->ahead.size() - file->ahead_pos;
    file->ahead.clear();
    file->ahead_pos = 0;
    return unread == 0 || zplat::file_seek(file->handle, -static_cast<long long>(unread), zplat::SEEK_FROM_CURRENT) == 0;
}

// The next byte for the line reader, -1 at the end.
int next_byte(PlainFile *file) {
    if (file->ahead_pos >= file->ahead.size()) {
        file->ahead.resize(kReadAhead);
        size_t got = zplat::file_read(file->handle, file->ahead.data(), kReadAhead);
        file->ahead.resize(got);
        file->ahead_pos = 0;
        if (got == 0) return -1;
    }
    return static_cast<unsigned char>(file->ahead[file->ahead_pos++]);
}

void give_back(PlainFile *file) { --file->ahead_pos; }

// Copies everything from a source to a sink through a buffer.
template <typename Read, typename Write>
int copy_through(Read read, Write write) {
    std::string buffer;
    try {
        buffer.resize(kCopyChunk);
    } catch (const std::bad_alloc &) {
        return OXLS_ERR_MEMORY;
    }
    for (;;) {
        size_t got = read(buffer.data(), buffer.size());
        if (got == 0) return 0;
        if (write(buffer.data(), got) != got) return OXLS_ERR_WRITE;
    }
}

}  // namespace

PlainFile *orb_file_open(const char *path, int mode) {
    zplat::File *handle = zplat::file_open(path, mode);
    if (!handle) return nullptr;
    PlainFile *file = new (std::nothrow) PlainFile{handle, mode, std::string(), 0};
    if (!file) zplat::file_close(handle);
    return file;
}

int orb_file_close(PlainFile *file) {
    if (!file) return 0;
    zplat::file_close(file->handle);
    delete file;
    return 0;
}

size_t orb_file_read(void *buffer, size_t count, PlainFile *file) {
    if (!file) return 0;
    auto *out = static_cast<char *>(buffer);
    size_t from_ahead = std::min(count, file->ahead.size() - file->ahead_pos);
    std::memcpy(out, file->ahead.data() + file->ahead_pos, from_ahead);
    file->ahead_pos += from_ahead;
    return from_ahead + zplat::file_read(file->handle, out + from_ahead, count - from_ahead);
}

size_t orb_file_write(const void *buffer, size_t count, PlainFile *file) {
    if (!file || !drop_read_ahead(file)) return 0;
    return zplat::file_write(file->handle, buffer, count);
}

int orb_file_seek(PlainFile *file, long long offset, int origin) {
    if (origin < 1 || origin > 3) return OXLS_ERR_ARGUMENT;
    if (!file || !drop_read_ahead(file)) return OZW_SEEK_REFUSED;
    return zplat::file_seek(file->handle, offset, origin);
}

int orb_read_line(char *buffer, int size, PlainFile *file) {
    if (!file || !buffer || size <= 0) return 0;
    int used = 0;
    bool read_any = false;
    bool in_quotes = false;
    while (used < size - 1) {
        int byte = next_byte(file);
        if (byte < 0) break;
        read_any = true;
        if (!in_quotes && byte == '\n') break;
        if (!in_quotes && byte == '\r') {
            int after = next_byte(file);
            if (after >= 0 && after != '\n') give_back(file);
            break;
        }
        if (byte == '"') in_quotes = !in_quotes;
        buffer[used++] = static_cast<char>(byte);
    }
    buffer[used] = '\0';
    return read_any ? 1 : 0;
}

int orb_write_line(const char *text, PlainFile *file) {
    size_t length = std::strlen(text);
    bool has_line_end = length >= 2 && (text[length - 1] == '\n' || text[length - 2] == '\r');
    if (orb_file_write(text, length, file) != length) return OXLS_ERR_WRITE;
    if (!has_line_end && orb_file_write("\r\n", 2, file) != 2) return OXLS_ERR_WRITE;
    return 0;
}

int orb_copy_file(int on_disk, const char *destination, const char *source) {
    if (on_disk) {
        PlainFile *in = orb_file_open(source, zplat::FILE_READ);
        if (!in) return OXLS_ERR_OPEN;
        PlainFile *out = orb_file_open(destination, zplat::FILE_WRITE);
        if (!out) {
            orb_file_close(in);
            return OXLS_ERR_OPEN;
        }
        int rc = copy_through([&](char *b, size_t n) { return orb_file_read(b, n, in); },
                              [&](const char *b, size_t n) { return orb_file_write(b, n, out); });
        orb_file_close(in);
        orb_file_close(out);
        return rc;
    }
    MFILE *in = mopen(source, "rb");
    if (!in) return OXLS_ERR_OPEN;
    if (std::strcmp(source, destination) == 0) return mclose(in);   // opening it for writing would empty it
    MFILE *out = mopen(destination, "wb");
    if (!out) {
        mclose(in);
        return OXLS_ERR_OPEN;
    }
    int rc = mwrite(in->data, 1, static_cast<size_t>(in->length), out) == static_cast<size_t>(in->length) || in->length == 0
                 ? 0
                 : OXLS_ERR_WRITE;
    mclose(in);
    mclose(out);
    return rc;
}

int orb_read_whole_file(int on_disk, const char *path, std::string &content) {
    try {
        if (!on_disk) {
            MFILE *in = mopen(path, "rb");
            if (!in) {
                content.clear();
                return OXLS_ERR_OPEN;
            }
            content.assign(reinterpret_cast<const char *>(in->data), static_cast<size_t>(in->length));
            mclose(in);
            return 0;
        }
        // The size comes from the open file, not from a second look up of
        // its name.
        PlainFile *in = orb_file_open(path, zplat::FILE_READ);
        const long long size = in ? zplat::file_length(in->handle) : -1;
        if (size < 0) {
            orb_file_close(in);
            content.clear();
            return OXLS_ERR_OPEN;
        }
        // The bytes the string held are overwritten, not cleared first.
        content.resize(static_cast<size_t>(size));
        content.resize(orb_file_read(content.data(), content.size(), in));
        orb_file_close(in);
    } catch (const std::bad_alloc &) {
        content.clear();
        return OXLS_ERR_MEMORY;
    }
    return 0;
}

int orb_file_time(const char *path, int date[6]) {
    std::tm local{};
    if (zplat::file_time(path, &local) != 0) return OXLS_ERR_OPEN;
    date[0] = local.tm_year + 1900;
    date[1] = local.tm_mon + 1;
    date[2] = local.tm_mday;
    date[3] = local.tm_hour;
    date[4] = local.tm_min;
    date[5] = local.tm_sec;
    return 0;
}

int orb_append_line(const char *path, const char *text) {
    if (!path || !*path || !text || !*text) return 0;
    FILE *out = std::fopen(path, "a");
    if (!out) return OXLS_ERR_OPEN;
    std::fprintf(out, "%s\n", text);
    std::fclose(out);
    return 0;
}
