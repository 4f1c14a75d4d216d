// Memory files: tables of named byte buffers.  Slots are appended and never
// reused until everything is freed, so a slot number stays valid for the
// life of the table; a name index makes opening by name independent of the
// number of slots.
#include "mfile.h"

#include "platform/platform.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>
#include <string>

namespace {

constexpr long long kInitialSize = 1024;
constexpr int kGrowthFactor = 2;
constexpr long long kLargeFile = 104857600;   // 100 MiB: from here on grow in fixed steps
constexpr long long kLargeStep = 10485760;    // 10 MiB

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
        if (file->table) file->table->set_error("%s malloc()", caller);
        return false;
    }
    file->data = static_cast<unsigned char *>(grown);
    file->capacity = capacity;
    return true;
}

}  // namespace

MfileTable::~MfileTable() {
    free_slots(active_);
    free_slots(saved_);
}

void MfileTable::note_error(const char *format, ...) {
    va_list args;
    va_start(args, format);
    std::vsnprintf(error_, sizeof error_, format, args);
    va_end(args);
}

void MfileTable::set_error(const char *format, ...) {
    std::lock_guard<std::mutex> hold(lock_);
    va_list args;
    va_start(args, format);
    std::vsnprintf(error_, sizeof error_, format, args);
    va_end(args);
}

MFILE *MfileTable::find(const char *name) {
    auto it = active_.by_name.find(name);
    return it == active_.by_name.end() ? nullptr : it->second;
}

// A new record in a new slot, registered under its name; null (with the
// error text set) when the table is full or memory runs out.
MFILE *MfileTable::new_slot(const char *name) {
    if (active_.slots.size() >= static_cast<size_t>(MFILE_MAX_OPEN_FILES)) {
        note_error("mopen() Mfile_ct >= MFILE_MAX_OPEN_FILES");
        return nullptr;
    }
    auto *file = static_cast<MFILE *>(std::calloc(1, sizeof(MFILE)));
    if (!file) {
        note_error("mopen() malloc()");
        return nullptr;
    }
    std::strcpy(file->name, name);
    file->slot = static_cast<int>(active_.slots.size());
    file->table = this;
    try {
        active_.slots.push_back(file);
        active_.by_name[name] = file;
    } catch (const std::bad_alloc &) {
        if (!active_.slots.empty() && active_.slots.back() == file) active_.slots.pop_back();
        std::free(file);
        note_error("mopen() malloc()");
        return nullptr;
    }
    return file;
}

// Drops the record in the last slot again (a load that failed).
void MfileTable::drop_last_slot(MFILE *file) {
    active_.by_name.erase(file->name);
    active_.slots.pop_back();
    std::free(file->data);
    std::free(file);
}

MFILE *MfileTable::load_from_disk(const char *name) {
    long long size = 0;
    int rc = zplat::file_size(name, &size);
    if (rc != 0) {
        note_error("mopen() aod_fsze() rc=%d", rc);
        return nullptr;
    }
    MFILE *file = new_slot(name);
    if (!file) return nullptr;
    file->data = static_cast<unsigned char *>(std::malloc(static_cast<size_t>(size > 0 ? size : 1)));
    if (!file->data) {
        note_error("mopen() malloc()");
        drop_last_slot(file);
        return nullptr;
    }
    zplat::File *disk = zplat::file_open(name, zplat::FILE_READ);
    if (!disk) {
        note_error("mopen() fopen()");
        drop_last_slot(file);
        return nullptr;
    }
    size_t got = zplat::file_read(disk, file->data, static_cast<size_t>(size));
    zplat::file_close(disk);
    if (got < static_cast<size_t>(size)) {
        note_error("mopen() fread()");
        drop_last_slot(file);
        return nullptr;
    }
    file->increment = kInitialSize;
    file->capacity = size;
    file->factor = kGrowthFactor;
    file->length = size;
    return file;
}

MFILE *MfileTable::open_from_fallback(const char *name) {
    if (!fallback_) return nullptr;
    std::lock_guard<std::mutex> hold(fallback_->lock_);
    MFILE *file = fallback_->find(name);
    if (file) {
        file->position = 0;
        file->status = MFILE_OPEN;
    }
    return file;
}

void MfileTable::free_slots(Slots &slots) {
    for (MFILE *file : slots.slots) {
        std::free(file->data);
        std::free(file);
    }
    slots.slots.clear();
    slots.slots.shrink_to_fit();
    slots.by_name.clear();
}

MFILE *MfileTable::open(const char *name, const char *mode) {
    std::lock_guard<std::mutex> hold(lock_);
    error_[0] = '\0';
    if (!name || !*name || std::strlen(name) > MFILE_NAME_LEN) {
        note_error("mopen() name");
        return nullptr;
    }
    bool reading = mode && (std::strcmp(mode, "rb") == 0 || std::strcmp(mode, "ab") == 0);
    bool writing = mode && std::strcmp(mode, "wb") == 0;
    if (!reading && !writing) {
        note_error("mopen() mode");
        return nullptr;
    }
    MFILE *file = find(name);
    if (reading) {
        if (!file && (file = open_from_fallback(name))) return file;
        if (!file) return load_from_disk(name);
        file->position = 0;
        file->status = MFILE_OPEN;
        return file;
    }
    auto *buffer = static_cast<unsigned char *>(std::malloc(kInitialSize));
    if (!buffer) {
        note_error("mopen() malloc()");
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

int MfileTable::release(const char *name) {
    std::lock_guard<std::mutex> hold(lock_);
    if (MFILE *file = name ? find(name) : nullptr) {
        std::free(file->data);
        file->data = nullptr;
        file->capacity = file->length = file->position = 0;
    }
    return 0;
}

int MfileTable::remove(const char *name) {
    std::lock_guard<std::mutex> hold(lock_);
    if (MFILE *file = name ? find(name) : nullptr) {
        active_.by_name.erase(file->name);
        std::free(file->data);
        file->data = nullptr;
        file->capacity = file->length = file->position = 0;
        file->name[0] = '\0';
        file->status = MFILE_DELETED;
    }
    return 0;
}

int MfileTable::remove_everywhere(const char *name) {
    remove(name);
    return fallback_ ? fallback_->remove_everywhere(name) : 0;
}

long long MfileTable::length(const char *name) {
    if (!name) return 0;
    {
        std::lock_guard<std::mutex> hold(lock_);
        if (MFILE *file = find(name)) return file->length;
    }
    return fallback_ ? fallback_->length(name) : 0;
}

int MfileTable::list(std::vector<std::string> &names) {
    std::lock_guard<std::mutex> hold(lock_);
    names.clear();
    try {
        for (const MFILE *file : active_.slots)
            if (file->status != MFILE_DELETED) names.emplace_back(file->name);
    } catch (const std::bad_alloc &) {
        note_error("mlist() malloc()");
        return -1;
    }
    return 0;
}

int MfileTable::free_all() {
    std::lock_guard<std::mutex> hold(lock_);
    free_slots(active_);
    return 0;
}

int MfileTable::save_or_restore(int direction) {
    std::lock_guard<std::mutex> hold(lock_);
    Slots &from = direction == 0 ? active_ : saved_;
    Slots &to = direction == 0 ? saved_ : active_;
    // One level of saving: whatever the destination held is let go.
    free_slots(to);
    std::swap(from, to);
    return 0;
}

const char *MfileTable::error() { return error_; }

int MfileTable::count() {
    std::lock_guard<std::mutex> hold(lock_);
    return static_cast<int>(active_.slots.size());
}

MfileTable &orb_caller_files() {
    static MfileTable table;
    return table;
}

MFILE *mopen(const char *name, const char *mode) { return orb_caller_files().open(name, mode); }
int mrelease(const char *name) { return orb_caller_files().release(name); }
int mdelete(const char *name) { return orb_caller_files().remove(name); }
long long mlength(const char *name) { return orb_caller_files().length(name); }
int mlist(std::vector<std::string> &names) { return orb_caller_files().list(names); }
int mfree_all() { return orb_caller_files().free_all(); }
int mcopy(int direction) { return orb_caller_files().save_or_restore(direction); }
const char *merror() { return orb_caller_files().error(); }
int mcount() { return orb_caller_files().count(); }

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
        if (file->table) file->table->set_error("mwrite() malloc()");
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
