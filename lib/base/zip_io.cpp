// File functions for minizip over disk files (through the platform layer)
// or memory files.
#include "zip_io.h"

#include "mfile.h"
#include "oxls.h"
#include "platform/platform.h"

#include <algorithm>
#include <atomic>
#include <cstring>
#include <memory>
#include <new>

namespace {

// Disk files at start; set once before books are read or written.
std::atomic<bool> g_memory_selected{false};

// The opaque word of a table points at a storage; these serve the tables
// over the caller's memory files.
const ZipStorage CALLER_STORAGE[] = {{ZipMedium::Selected, nullptr, {}}, {ZipMedium::Disk, nullptr, {}},
                                     {ZipMedium::Memory, nullptr, {}}};

// Reads from disk files go through a read-ahead buffer: the unzip library
// reads the directory of a package a few bytes at a time.
constexpr size_t READ_AHEAD = 64 * 1024;

// One file opened through the table.
struct ZipStream {
    zplat::File *disk = nullptr;
    MFILE *memory = nullptr;
    bool in_bytes = false;           // reads the storage's bytes
    std::string_view bytes;
    size_t bytes_at = 0;
    int error = 0;   // last error number; the end of a file is not one
    std::unique_ptr<char[]> ahead;   // disk reads: bytes [ahead_at, ahead_end) are unread
    size_t ahead_at = 0;
    size_t ahead_end = 0;
};

size_t unread_ahead(const ZipStream *stream) { return stream->ahead_end - stream->ahead_at; }

// Puts the disk file's position back where the caller thinks it is and
// forgets the read-ahead.
bool drop_read_ahead(ZipStream *stream) {
    size_t unread = unread_ahead(stream);
    stream->ahead_at = stream->ahead_end = 0;
    return unread == 0 || zplat::file_seek(stream->disk, -static_cast<long long>(unread), zplat::SEEK_FROM_CURRENT) == 0;
}

size_t read_disk(ZipStream *stream, char *out, size_t size) {
    size_t done = std::min(size, unread_ahead(stream));
    if (done) std::memcpy(out, stream->ahead.get() + stream->ahead_at, done);
    stream->ahead_at += done;
    if (done == size) return done;
    if (size - done >= READ_AHEAD || !stream->ahead)
        return done + zplat::file_read(stream->disk, out + done, size - done);
    stream->ahead_at = 0;
    stream->ahead_end = zplat::file_read(stream->disk, stream->ahead.get(), READ_AHEAD);
    size_t more = std::min(size - done, stream->ahead_end);
    std::memcpy(out + done, stream->ahead.get(), more);
    stream->ahead_at = more;
    return done + more;
}

enum class Access { Read, Update, Create };

bool access_of(int mode, Access &access) {
    if ((mode & ZLIB_FILEFUNC_MODE_READWRITEFILTER) == ZLIB_FILEFUNC_MODE_READ)
        access = Access::Read;
    else if (mode & ZLIB_FILEFUNC_MODE_EXISTING)
        access = Access::Update;
    else if (mode & ZLIB_FILEFUNC_MODE_CREATE)
        access = Access::Create;
    else
        return false;
    return true;
}

const ZipStorage &storage_of(voidpf opaque) {
    return opaque ? *static_cast<const ZipStorage *>(opaque) : CALLER_STORAGE[0];
}

bool uses_memory(const ZipStorage &storage) {
    if (storage.medium == ZipMedium::Selected) return g_memory_selected.load();
    return storage.medium == ZipMedium::Memory;
}

zplat::File *open_disk(const char *name, Access access) {
    long long size = 0;
    switch (access) {
        case Access::Read: return zplat::file_open(name, zplat::FILE_READ);
        case Access::Update:
            // Read and write an existing file; never create one here.
            if (zplat::file_size(name, &size) != 0) return nullptr;
            return zplat::file_open(name, zplat::FILE_READ_WRITE);
        case Access::Create: return zplat::file_open(name, zplat::FILE_WRITE);
    }
    return nullptr;
}

MFILE *open_memory(MfileTable &files, const char *name, Access access) {
    switch (access) {
        case Access::Read: return files.open(name, "rb");
        // "ab" opens an existing memory file at its start with writing allowed.
        case Access::Update: return files.open(name, "ab");
        case Access::Create: return files.open(name, "wb");
    }
    return nullptr;
}

voidpf open_stream(voidpf opaque, const char *name, int mode) {
    Access access;
    if (!name || !access_of(mode, access)) return nullptr;
    auto *stream = new (std::nothrow) ZipStream;
    if (!stream) return nullptr;
    const ZipStorage &storage = storage_of(opaque);
    if (storage.medium == ZipMedium::Bytes) {
        if (access != Access::Read) {
            delete stream;
            return nullptr;
        }
        stream->in_bytes = true;
        stream->bytes = storage.bytes;
        return stream;
    }
    if (uses_memory(storage)) {
        stream->memory = open_memory(storage.files ? *storage.files : orb_caller_files(), name, access);
    } else {
        stream->disk = open_disk(name, access);
        if (access == Access::Read) stream->ahead.reset(new (std::nothrow) char[READ_AHEAD]);
    }
    if (!stream->memory && !stream->disk) {
        delete stream;
        return nullptr;
    }
    return stream;
}

voidpf ZCALLBACK zip_open64(voidpf opaque, const void *name, int mode) {
    return open_stream(opaque, static_cast<const char *>(name), mode);
}

uLong ZCALLBACK zip_read(voidpf, voidpf handle, void *buffer, uLong size) {
    auto *stream = static_cast<ZipStream *>(handle);
    if (stream->in_bytes) {
        const size_t count = std::min<size_t>(size, stream->bytes.size() - stream->bytes_at);
        std::memcpy(buffer, stream->bytes.data() + stream->bytes_at, count);
        stream->bytes_at += count;
        return static_cast<uLong>(count);
    }
    if (stream->memory) return static_cast<uLong>(mread(buffer, 1, size, stream->memory));
    return static_cast<uLong>(read_disk(stream, static_cast<char *>(buffer), size));
}

uLong ZCALLBACK zip_write(voidpf, voidpf handle, const void *buffer, uLong size) {
    auto *stream = static_cast<ZipStream *>(handle);
    size_t written = 0;
    if (stream->in_bytes)
        written = 0;
    else if (stream->memory)
        written = mwrite(buffer, 1, size, stream->memory);
    else if (drop_read_ahead(stream))
        written = zplat::file_write(stream->disk, buffer, size);
    if (written != size) stream->error = 1;
    return static_cast<uLong>(written);
}

long long tell_stream(ZipStream *stream) {
    if (stream->in_bytes) return static_cast<long long>(stream->bytes_at);
    if (stream->memory) return mtell(stream->memory);
    long long position = zplat::file_tell(stream->disk);
    return position < 0 ? position : position - static_cast<long long>(unread_ahead(stream));
}

long seek_stream(ZipStream *stream, long long offset, int origin) {
    if (stream->in_bytes) {
        const long long size = static_cast<long long>(stream->bytes.size());
        long long base;
        switch (origin) {
            case ZLIB_FILEFUNC_SEEK_SET: base = 0; break;
            case ZLIB_FILEFUNC_SEEK_CUR: base = static_cast<long long>(stream->bytes_at); break;
            case ZLIB_FILEFUNC_SEEK_END: base = size; break;
            default: return -1;
        }
        if (offset > size - base || base + offset < 0) return -1;
        stream->bytes_at = static_cast<size_t>(base + offset);
        return 0;
    }
    if (stream->memory) {
        // Memory files take 0 start, 1 position, 2 end, as the zip origins do.
        if (origin != ZLIB_FILEFUNC_SEEK_SET && origin != ZLIB_FILEFUNC_SEEK_CUR && origin != ZLIB_FILEFUNC_SEEK_END)
            return -1;
        return mseek(stream->memory, offset, origin) == 0 ? 0 : -1;
    }
    if (!drop_read_ahead(stream)) return -1;
    int platform_origin;
    switch (origin) {
        case ZLIB_FILEFUNC_SEEK_SET: platform_origin = 1; break;
        case ZLIB_FILEFUNC_SEEK_END: platform_origin = 2; break;
        case ZLIB_FILEFUNC_SEEK_CUR: platform_origin = 3; break;
        default: return -1;
    }
    return zplat::file_seek(stream->disk, offset, platform_origin) == 0 ? 0 : -1;
}

ZPOS64_T ZCALLBACK zip_tell64(voidpf, voidpf handle) {
    long long position = tell_stream(static_cast<ZipStream *>(handle));
    return position < 0 ? static_cast<ZPOS64_T>(-1) : static_cast<ZPOS64_T>(position);
}

long ZCALLBACK zip_seek64(voidpf, voidpf handle, ZPOS64_T offset, int origin) {
    return seek_stream(static_cast<ZipStream *>(handle), static_cast<long long>(offset), origin);
}

int ZCALLBACK zip_close(voidpf, voidpf handle) {
    auto *stream = static_cast<ZipStream *>(handle);
    if (stream->memory) mclose(stream->memory);
    zplat::file_close(stream->disk);
    delete stream;
    return 0;
}

int ZCALLBACK zip_error(voidpf, voidpf handle) { return static_cast<ZipStream *>(handle)->error; }

voidpf opaque_for(const ZipStorage &storage) { return const_cast<ZipStorage *>(&storage); }

}  // namespace

void orb_fill_zip_filefunc64(zlib_filefunc64_def *table, ZipMedium medium) {
    orb_fill_zip_filefunc64(table, CALLER_STORAGE[static_cast<int>(medium)]);
}

void orb_fill_zip_filefunc64(zlib_filefunc64_def *table, const ZipStorage &storage) {
    table->zopen64_file = zip_open64;
    table->zread_file = zip_read;
    table->zwrite_file = zip_write;
    table->ztell64_file = zip_tell64;
    table->zseek64_file = zip_seek64;
    table->zclose_file = zip_close;
    table->zerror_file = zip_error;
    table->opaque = opaque_for(storage);
}

bool orb_zip_memory_selected() { return g_memory_selected.load(); }

extern "C" int orb_zip_on_memory(int flag) {
    g_memory_selected.store(flag == 0);
    return 0;
}
