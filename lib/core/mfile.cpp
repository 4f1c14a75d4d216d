// Memory files: one process-wide table of named byte buffers.  Slots are
// appended and never reused until everything is freed, so a slot number
// stays valid for the life of the table; a name index makes opening by
// name independent of the number of slots.
#include "mfile.h"

#include "platform/platform.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>
#include <string>
#include <unordered_map>

namespace {

constexpr long long kInitialSize = 1024;
constexpr int kGrowthFactor = 2;
constexpr long long kLargeFile = 104857600;   // 100 MiB: from here on grow in fixed steps
constexpr long long kLargeStep = 10485760;    // 10 MiB

struct Table {
    std::vector<MFILE *> slots;
    std::unordered_map<std::string, MFILE *> by_name;   // slots not deleted
};

Table g_active;
Table g_saved;
char g_error[256];

void set_error(const char *format, ...) {
    va_list args;
    va_start(args, format);
    std::vsnprintf(g_error, sizeof g_error, format, args);
    va_end(args);
}

MFILE *find(const char *name) {
    auto it = g_active.by_name.find(name);
    return it == g_active.by_name.end() ? nullptr : it->second;
}

// A new record in a new slot, registered under its name; null (with the
// error text set) when the table is full or memory runs out.
MFILE *new_slot(const char *name) {
    if (g_active.slots.size() >= static_cast<size_t>(MFILE_MAX_OPEN_FILES)) {
        set_error("mopen() Mfile_ct >= MFILE_MAX_OPEN_FILES");
        return nullptr;
    }
    auto *file = static_cast<MFILE *>(std::calloc(1, sizeof(MFILE)));
    if (!file) {
        set_error("mopen() malloc()");
        return nullptr;
    }
    std::strcpy(file->name, name);
    file->slot = static_cast<int>(g_active.slots.size());
    try {
        g_active.slots.push_back(file);
        g_active.by_name[name] = file;
    } catch (const std::bad_alloc &) {
        if (!g_active.slots.empty() && g_active.slots.back() == file) g_active.slots.pop_back();
        std::free(file);
        set_error("mopen() malloc()");
        return nullptr;
    }
    return file;
}

// Drops the record in the last slot again (a load that failed).
void drop_last_slot(MFILE *file) {
    g_active.by_name.erase(file->name);
    g_active.slots.pop_back();
    std::free(file->data);
    std::free(file);
}

MFILE *load_from_disk(const char *name) {
    long long size = 0;
    int rc = zplat::file_size(name, &size);
    if (rc != 0) {
        set_error("mopen() aod_fsze() rc=%d", rc);
        return nullptr;
    }
    MFILE *file = new_slot(name);
    if (!file) return nullptr;
    file->data = static_cast<unsigned char *>(std::malloc(static_cast<size_t>(size > 0 ? size : 1)));
    if (!file->data) {
        set_error("mopen() malloc()");
        drop_last_slot(file);
        return nullptr;
    }
    zplat::File *disk = zplat::file_open(name, 1);
    if (!disk) {
        set_error("mopen() fopen()");
        drop_last_slot(file);
        return nullptr;
    }
    size_t got = zplat::file_read(disk, file->data, static_cast<size_t>(size));
    zplat::file_close(disk);
    if (got < static_cast<size_t>(size)) {
        set_error("mopen() fread()");
        drop_last_slot(file);
        return nullptr;
    }
    file->increment = kInitialSize;
    file->capacity = size;
    file->factor = kGrowthFactor;
    file->length = size;
    return file;
}

// Makes room so that the data can end at `end` (exclusive) with one byte
// to spare.  `fit` raises the increment to a multiple of itself that covers
// the whole write at once.  False, with status -9 and the caller's error
// text, when memory runs out; the data is left as it was.
bool grow_for(MFILE *file, long long end, bool fit, const char *caller) {
    if (end < file->capacity - 1) return true;
    if (file->capacity < kLargeFile) file->increment *= file->factor;
    else file->increment = kLargeStep;
    if (file->increment <= 0) file->increment = kInitialSize;
    long long missing = end - file->capacity + 1;
    if (fit && file->increment <= missing) file->increment *= missing / file->increment + 1;
    long long capacity = file->capacity + file->increment;
    // Growing in place where the allocator can avoids copying large buffers.
    void *grown = std::realloc(file->data, static_cast<size_t>(capacity));
    if (!grown) {
        file->status = MFILE_GROWTH_FAILED;
        set_error("%s malloc()", caller);
        return false;
    }
    file->data = static_cast<unsigned char *>(grown);
    file->capacity = capacity;
    return true;
}

void free_table(Table &table) {
    for (MFILE *file : table.slots) {
        std::free(file->data);
        std::free(file);
    }
    table.slots.clear();
    table.slots.shrink_to_fit();
    table.by_name.clear();
}

}  // namespace

MFILE *mopen(const char *name, const char *mode) {
    g_error[0] = '\0';
    if (!name || !*name || std::strlen(name) > MFILE_NAME_LEN) {
        set_error("mopen() name");
        return nullptr;
    }
    bool reading = mode && (std::strcmp(mode, "rb") == 0 || std::strcmp(mode, "ab") == 0);
    bool writing = mode && std::strcmp(mode, "wb") == 0;
    if (!reading && !writing) {
        set_error("mopen() mode");
        return nullptr;
    }
    MFILE *file = find(name);
    if (reading) {
        if (!file) return load_from_disk(name);
        file->position = 0;
        file->status = MFILE_OPEN;
        return file;
    }
    auto *buffer = static_cast<unsigned char *>(std::malloc(kInitialSize));
    if (!buffer) {
        set_error("mopen() malloc()");
        return nullptr;
    }
    if (file) {
        std::free(file->data);
    } else if (!(file = new_slot(name))) {
        std::free(buffer);
        return nullptr;
    }
    file->data = buffer;
    file->increment = kInitialSize;
    file->capacity = kInitialSize;
    file->factor = kGrowthFactor;
    file->length = 0;
    file->position = 0;
    file->status = MFILE_OPEN;
    return file;
}

int mclose(MFILE *file) {
    if (!file) return -1;
    file->status = MFILE_CLOSED;
    file->position = 0;
    return 0;
}

size_t mread(void *buffer, size_t size, size_t count, MFILE *file) {
    if (!file || !file->data || file->position >= file->length || size == 0) return 0;
    size_t available = static_cast<size_t>(file->length - file->position);
    size_t wanted = count > available / size ? available : size * count;
    std::memcpy(buffer, file->data + file->position, wanted);
    file->position += static_cast<long long>(wanted);
    return wanted;
}

size_t mwrite(const void *buffer, size_t size, size_t count, MFILE *file) {
    if (!file || size == 0 || count == 0) return 0;
    if (count > static_cast<size_t>(kLargeFile) * 1024 / size) {
        set_error("mwrite() malloc()");
        return 0;
    }
    long long bytes = static_cast<long long>(size * count);
    long long end = file->position + bytes;
    if (!grow_for(file, end, true, "mwrite()")) return 0;
    // A position set beyond the data leaves a gap; it reads as zero bytes.
    if (file->position > file->length)
        std::memset(file->data + file->length, 0, static_cast<size_t>(file->position - file->length));
    std::memcpy(file->data + file->position, buffer, static_cast<size_t>(bytes));
    file->position = end;
    if (end > file->length) file->length = end;
    return count;
}

int mputc(int byte, MFILE *file) {
    if (!file || !grow_for(file, file->length + 1, false, "mputc()")) return -1;
    file->data[file->length++] = static_cast<unsigned char>(byte);
    return static_cast<unsigned char>(byte);
}

int mputs(const char *text, MFILE *file) {
    if (!file || !text) return -1;
    long long length = static_cast<long long>(std::strlen(text));
    if (!grow_for(file, file->length + length + 1, true, "mputs()")) return -1;
    std::memcpy(file->data + file->length, text, static_cast<size_t>(length) + 1);
    file->length += length + 1;
    return static_cast<int>(length);
}

int mgetc(MFILE *file) {
    if (!file) return -1;
    if (file->position >= file->length) {
        file->position = 0;
        return -1;
    }
    return file->data[file->position++];
}

char *mgets(char *buffer, int size, MFILE *file) {
    if (!file || !buffer || size <= 0) return nullptr;
    if (file->position >= file->length) {
        file->position = 0;
        return nullptr;
    }
    const unsigned char *start = file->data + file->position;
    size_t available = static_cast<size_t>(file->length - file->position);
    size_t limit = available < static_cast<size_t>(size - 1) ? available : static_cast<size_t>(size - 1);
    const void *line_feed = std::memchr(start, '\n', limit);
    size_t taken = line_feed ? static_cast<size_t>(static_cast<const unsigned char *>(line_feed) - start) + 1 : limit;
    std::memcpy(buffer, start, taken);
    buffer[taken] = '\0';
    file->position += static_cast<long long>(taken);
    // Lines written with mputs end in LF and NUL; the NUL goes with its line.
    if (line_feed && file->position < file->length && file->data[file->position] == '\0') ++file->position;
    return buffer;
}

int mseek(MFILE *file, long long offset, int origin) {
    if (!file) return -1;
    long long base;
    switch (origin) {
        case 0: base = 0; break;
        case 1: base = file->position; break;
        case 2: base = file->length; break;
        default: return -1;
    }
    long long target = base + offset;
    if (target < 0 || target > file->capacity) return -1;
    file->position = target;
    return 0;
}

long long mtell(MFILE *file) {
    if (!file || file->position < 0 || file->position > file->capacity) return -1;
    return file->position;
}

int meof(MFILE *file) { return file && file->position < file->length ? 0 : -1; }

int mrelease(const char *name) {
    if (MFILE *file = name ? find(name) : nullptr) {
        std::free(file->data);
        file->data = nullptr;
        file->capacity = file->length = file->position = 0;
    }
    return 0;
}

int mdelete(const char *name) {
    if (MFILE *file = name ? find(name) : nullptr) {
        g_active.by_name.erase(file->name);
        std::free(file->data);
        file->data = nullptr;
        file->capacity = file->length = file->position = 0;
        file->name[0] = '\0';
        file->status = MFILE_DELETED;
    }
    return 0;
}

long long mlength(const char *name) {
    MFILE *file = name ? find(name) : nullptr;
    return file ? file->length : 0;
}

int mlist(std::vector<std::string> &names) {
    names.clear();
    try {
        for (const MFILE *file : g_active.slots)
            if (file->status != MFILE_DELETED) names.emplace_back(file->name);
    } catch (const std::bad_alloc &) {
        set_error("mlist() malloc()");
        return -1;
    }
    return 0;
}

int mfree_all() {
    free_table(g_active);
    return 0;
}

int mcopy(int direction) {
    Table &from = direction == 0 ? g_active : g_saved;
    Table &to = direction == 0 ? g_saved : g_active;
    // One level of saving: whatever the destination held is let go.
    free_table(to);
    std::swap(from, to);
    return 0;
}

const char *merror() { return g_error; }

int mcount() { return static_cast<int>(g_active.slots.size()); }
