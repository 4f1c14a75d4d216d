// orb_zip_extract and the package extraction the Excel 2007 reader uses.
#include "zip_extract.h"

#include "messages.h"
#include "mfile.h"
#include "platform/platform.h"
#include "result_codes.h"
#include "temp_folders.h"
#include "zip_io.h"

#include <unzip.h>
#include <libdeflate.h>
#include <zlib.h>

#include <algorithm>
#include <cctype>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <memory>
#include <new>
#include <unordered_map>

namespace {

constexpr int COPY_CHUNK = 8192;
constexpr int NAME_LIST_STEP = 1000;

// Why an extraction ended.
enum class Outcome { Done, ListTooSmall, Failed };

// Extraction failures are diagnostics for the debug log; the library
// never writes to its caller's standard output.
void log_failure(const char *format, ...) __attribute__((format(printf, 1, 2)));
void log_failure(const char *format, ...) {
    char line[1024];
    va_list arguments;
    va_start(arguments, format);
    std::vsnprintf(line, sizeof line, format, arguments);
    va_end(arguments);
    orb_log_line(line);
}

struct UnzipCloser {
    void operator()(void *handle) const { unzClose(handle); }
};
using Unzip = std::unique_ptr<void, UnzipCloser>;

bool is_folder_entry(const char *name) {
    size_t length = std::strlen(name);
    return length > 0 && (name[length - 1] == '/' || name[length - 1] == '\\');
}

// A part name must stay inside the extraction folder: not absolute, no
// drive, no ".." level.
bool is_safe_part_name(const char *name) {
    if (name[0] == '/' || name[0] == '\\' || std::strchr(name, ':')) return false;
    const char *level = name;
    for (const char *p = name;; ++p) {
        if (*p == '/' || *p == '\\' || *p == '\0') {
            if (p - level == 2 && level[0] == '.' && level[1] == '.') return false;
            if (*p == '\0') return true;
            level = p + 1;
        }
    }
}

std::string stored_name_of(int thread_no, const char *part) {
    std::string stored;
    if (thread_no >= 0) {
        char prefix[16];
        std::snprintf(prefix, sizeof prefix, "[%d]", thread_no);
        stored = prefix;
    }
    return stored.append(part);
}

// The folders along `path` up to its last separator.
void create_parent_folders(const std::string &path) {
    size_t at = path.size();
    while (at > 0 && !orb_is_path_separator(path[at - 1])) --at;
    if (at > 1) orb_create_path(path.substr(0, at - 1).c_str());
}

// Where one part is written: a memory file or a disk file.
class PartTarget {
public:
    PartTarget(const PartTarget &) = delete;
    PartTarget &operator=(const PartTarget &) = delete;
    PartTarget(bool to_disk, MfileTable &files, std::string path)
        : to_disk_(to_disk), files_(files), path_(std::move(path)) {}
    ~PartTarget() { close(); }

    bool open() {
        if (!to_disk_) {
            memory_ = files_.open(path_.c_str(), "wb");
            return memory_ != nullptr;
        }
        disk_ = zplat::file_open(path_.c_str(), zplat::FILE_WRITE);
        if (!disk_) {
            create_parent_folders(path_);
            disk_ = zplat::file_open(path_.c_str(), zplat::FILE_WRITE);
        }
        return disk_ != nullptr;
    }
    // 0, or -2 (memory) / -103 (disk) when the bytes cannot be written.
    int write(const void *data, size_t length) {
        if (!to_disk_) return mwrite(data, 1, length, memory_) == length ? 0 : OXLS_ERR_MEMORY;
        return zplat::file_write(disk_, data, length) == length ? 0 : OXLS_ERR_WRITE;
    }
    // Gives the part the entry's date and time, then closes it.
    void finish(const tm_unz &date) {
        if (memory_) {
            int values[6] = {static_cast<int>(date.tm_year), static_cast<int>(date.tm_mon) + 1,
                             static_cast<int>(date.tm_mday), static_cast<int>(date.tm_hour),
                             static_cast<int>(date.tm_min), static_cast<int>(date.tm_sec)};
            std::copy(std::begin(values), std::end(values), memory_->date);
        }
        close();
        if (to_disk_) {
            std::tm local{};
            local.tm_year = static_cast<int>(date.tm_year) - 1900;
            local.tm_mon = static_cast<int>(date.tm_mon);
            local.tm_mday = static_cast<int>(date.tm_mday);
            local.tm_hour = static_cast<int>(date.tm_hour);
            local.tm_min = static_cast<int>(date.tm_min);
            local.tm_sec = static_cast<int>(date.tm_sec);
            zplat::set_file_time(path_.c_str(), local);
        }
    }

private:
    void close() {
        if (memory_) mclose(memory_);
        memory_ = nullptr;
        zplat::file_close(disk_);
        disk_ = nullptr;
    }
    bool to_disk_;
    MfileTable &files_;
    std::string path_;
    MFILE *memory_ = nullptr;
    zplat::File *disk_ = nullptr;
};

// Counts what the package inflates to and refuses it past the limits.
class InflateGuard {
public:
    explicit InflateGuard(const ZipExtractLimits &limits, long long total = 0) : limits_(limits), total_(total) {}
    void start_part(unsigned long long compressed) {
        part_ = 0;
        compressed_ = static_cast<long long>(std::max<unsigned long long>(compressed, 1));
    }
    bool accept(long long bytes) {
        part_ += bytes;
        total_ += bytes;
        return fits(part_, total_);
    }
    // Whether the current part could be `bytes` long within the bounds
    // (nothing is counted).
    bool allows(long long bytes) const { return fits(bytes, total_ + bytes); }

    long long total() const { return total_; }
    long long part_limit() const { return limits_.part_bytes; }
    // The length below which a part's ratio is not looked at.
    long long unchecked_bytes() const { return limits_.ratio_from_bytes; }

private:
    bool fits(long long part, long long total) const {
        if (part > limits_.part_bytes || total > limits_.package_bytes) return false;
        return !(part > limits_.ratio_from_bytes && part / compressed_ > limits_.ratio);
    }

    const ZipExtractLimits &limits_;
    long long part_ = 0;
    long long total_ = 0;
    long long compressed_ = 1;
};

// Copies the current entry of the package into the target.
int copy_entry(unzFile zip, PartTarget &target, InflateGuard &guard) {
    char buffer[COPY_CHUNK];
    for (;;) {
        int got = unzReadCurrentFile(zip, buffer, COPY_CHUNK);
        if (got < 0) {
            log_failure("error %d with zipfile in unzReadCurrentFile", got);
            return got;
        }
        if (got == 0) return 0;
        if (!guard.accept(got)) return ORB_ZIP_REFUSED;
        int rc = target.write(buffer, static_cast<size_t>(got));
        if (rc != 0) return rc;
    }
}

// Extracts the entry the package stands on; its stored name goes into the
// next slot of the list.
int extract_entry(unzFile zip, bool to_disk, MfileTable &files, int thread_no, const char *out_folder, int capacity,
                  int *count, char (*names)[ORB_PART_NAME_SLOT], InflateGuard &guard) {
    unz_file_info64 info;
    char part[ORB_PART_NAME_SLOT];
    int rc = unzGetCurrentFileInfo64(zip, &info, part, sizeof part, nullptr, 0, nullptr, 0);
    if (rc != UNZ_OK) {
        log_failure("error %d with zipfile in unzGetCurrentFileInfo", rc);
        return rc;
    }
    if (info.size_filename > ORB_PART_NAME_LEN) return OZW_LIMIT_REACHED;
    if (!is_safe_part_name(part)) return ORB_ZIP_REFUSED;

    std::string stored = stored_name_of(thread_no, part);
    if (is_folder_entry(part)) {
        if (to_disk) orb_create_path((std::string(out_folder) + zplat::kSeparator + stored).c_str());
        return 0;
    }
    // The entry count of the directory's end was found to fit the list, so
    // a list that fills up here means the directory holds more entries than
    // it claims.  Growing the list and starting again would extract the
    // package over and over; such a package is refused at once.
    if (*count >= capacity) return OZW_LIMIT_REACHED;
    if (stored.size() > ORB_PART_NAME_LEN) return OZW_LIMIT_REACHED;
    rc = unzOpenCurrentFile(zip);
    if (rc != UNZ_OK) {
        log_failure("error %d with zipfile in unzOpenCurrentFile", rc);
        return rc;
    }
    PartTarget target(to_disk, files, to_disk ? std::string(out_folder) + zplat::kSeparator + stored : stored);
    if (!target.open()) {
        log_failure(to_disk ? "error opening 2 %s" : "error opening 1%s", stored.c_str());
        unzCloseCurrentFile(zip);
        return OXLS_ERR_OPEN;
    }
    std::memcpy(names[*count], stored.c_str(), stored.size() + 1);
    ++*count;

    guard.start_part(info.compressed_size);
    rc = copy_entry(zip, target, guard);
    if (rc == 0) target.finish(info.tmu_date);
    // A CRC mismatch reported here is not fatal: the bytes were delivered and
    // the part parsers judge them.
    unzCloseCurrentFile(zip);
    return rc;
}

MfileTable &files_of(const PackageStore &store) {
    return store.storage.files ? *store.storage.files : orb_caller_files();
}

int extract(const PackageStore &store, bool to_disk, int thread_no, const char *zip_path, const char *out_folder,
            int *count_io, char (*names)[ORB_PART_NAME_SLOT], Outcome &outcome) {
    outcome = Outcome::Failed;
    if (!count_io || !names || !zip_path || *count_io < 1 || (to_disk && (!out_folder || !*out_folder))) return OXLS_ERR_ARGUMENT;
    int capacity = *count_io;
    *count_io = 0;

    zlib_filefunc64_def functions;
    orb_fill_zip_filefunc64(&functions, store.storage);
    Unzip zip(unzOpen2_64(zip_path, &functions));
    if (!zip) {
        log_failure("orb_zip_extract() fopen error thread_no=%d |%s|", thread_no, zip_path);
        return OXLS_ERR_OPEN;
    }
    if (to_disk) {
        if (zplat::is_directory(out_folder)) orb_remove_folder(out_folder);
        if (orb_create_path(out_folder) != 0) return OXLS_ERR_OPEN;
    }
    unz_global_info64 global;
    int rc = unzGetGlobalInfo64(zip.get(), &global);
    if (rc != UNZ_OK) return rc;
    if (global.number_entry >= static_cast<ZPOS64_T>(capacity)) {
        outcome = Outcome::ListTooSmall;
        return OZW_LIMIT_REACHED;
    }

    InflateGuard guard(store.limits);
    MfileTable &files = files_of(store);
    for (rc = unzGoToFirstFile(zip.get()); rc == UNZ_OK; rc = unzGoToNextFile(zip.get())) {
        int entry_rc = extract_entry(zip.get(), to_disk, files, thread_no, out_folder, capacity, count_io, names, guard);
        if (entry_rc != 0) return entry_rc;
    }
    if (rc != UNZ_END_OF_LIST_OF_FILE) return rc;
    outcome = Outcome::Done;
    return 0;
}

// Extracts with a name list that grows by NAME_LIST_STEP whenever it is too
// small, up to the memory-file table's size.
int extract_growing(const PackageStore &store, bool to_disk, int thread_no, const char *zip_path, const char *folder,
                    ExtractedPackage &out) {
    out.parts.clear();
    out.on_disk = to_disk;
    out.folder = to_disk ? folder : "";
    out.files = &files_of(store);
    for (int capacity = NAME_LIST_STEP;; capacity += NAME_LIST_STEP) {
        std::unique_ptr<char[][ORB_PART_NAME_SLOT]> names(new (std::nothrow) char[capacity][ORB_PART_NAME_SLOT]);
        if (!names) return OXLS_ERR_MEMORY;
        int count = capacity;
        Outcome outcome;
        int rc = extract(store, to_disk, thread_no, zip_path, folder, &count, names.get(), outcome);
        if (outcome == Outcome::ListTooSmall) {
            if (capacity >= MFILE_MAX_OPEN_FILES) return OZW_LIMIT_REACHED;
            continue;
        }
        if (rc != 0) return rc;
        out.parts.assign(names.get(), names.get() + count);
        return 0;
    }
}

// A stored entry's bytes, within the bounds.
int copy_into(std::string_view input, InflateGuard &guard, GrowBuffer &buffer, size_t &length) {
    if (!guard.accept(static_cast<long long>(input.size()))) return ORB_ZIP_REFUSED;
    std::copy(input.begin(), input.end(), buffer.room(input.size()));
    length = input.size();
    return 0;
}

// Inflates a deflated entry's bytes into `text`, in one go into a buffer
// of the size the entry claims.  That size is only a first guess (a
// hostile entry may claim anything): it is kept to what the bytes can
// inflate to at all and to what the bounds let through without a check of
// the ratio, and when the bytes do not fit, the buffer doubles and the
// inflation starts again, up to the bounds.
int inflate_into(libdeflate_decompressor *inflater, std::string_view input, ZPOS64_T claimed, InflateGuard &guard,
                 GrowBuffer &buffer, size_t &length) {
    constexpr long long kDeflateMostRatio = 1032;   // deflate's longest output per input byte
    long long guess = static_cast<long long>(std::min<ZPOS64_T>(claimed, 1u << 30));
    guess = std::min(guess, static_cast<long long>(input.size()) * kDeflateMostRatio + 1);
    guess = std::min(std::max(guess, 1LL), guard.part_limit());
    if (!guard.allows(guess)) guess = std::min(guess, guard.unchecked_bytes());
    size_t room = static_cast<size_t>(guess);
    for (;;) {
        size_t produced = 0;
        const libdeflate_result result = libdeflate_deflate_decompress(inflater, input.data(), input.size(),
                                                                       buffer.room(room), room, &produced);
        if (result == LIBDEFLATE_SUCCESS) {
            length = produced;
            return guard.accept(static_cast<long long>(produced)) ? 0 : ORB_ZIP_REFUSED;
        }
        if (result != LIBDEFLATE_INSUFFICIENT_SPACE) return Z_DATA_ERROR;
        // The part is longer than the buffer: refused when that length is
        // already past the bounds.
        if (!guard.allows(static_cast<long long>(room) + 1)) return ORB_ZIP_REFUSED;
        room = static_cast<size_t>(std::min<long long>(static_cast<long long>(room) * 2, guard.part_limit()));
    }
}

}  // namespace

int orb_zip_extract(const PackageStore &store, int to_disk, int thread_no, const char *zip_path,
                    const char *out_folder, int *count_io, char (*names)[ORB_PART_NAME_SLOT]) {
    Outcome outcome;
    return extract(store, to_disk != 0, thread_no, zip_path, out_folder, count_io, names, outcome);
}

int orb_zip_extract(int to_disk, int thread_no, const char *zip_path, const char *out_folder, int *count_io,
                    char (*names)[ORB_PART_NAME_SLOT]) {
    return orb_zip_extract(PackageStore{}, to_disk, thread_no, zip_path, out_folder, count_io, names);
}

int orb_extract_package(const PackageStore &store, int thread_no, const char *zip_path, ExtractedPackage &out) {
    int rc = extract_growing(store, false, thread_no, zip_path, nullptr, out);
    if (rc != OXLS_ERR_MEMORY) return rc;
    files_of(store).free_all();
    std::string folder;
    if (orb_make_temp_folder(ORB_EXTRACT_FOLDER, folder) != 0) return OXLS_ERR_OPEN;
    if (store.own_disk_folder && orb_make_own_folder(std::string(folder), folder) != 0) return OXLS_ERR_OPEN;
    return extract_growing(store, true, thread_no, zip_path, folder.c_str(), out);
}

int orb_extract_package(int thread_no, const char *zip_path, ExtractedPackage &out) {
    return orb_extract_package(PackageStore{}, thread_no, zip_path, out);
}

PackageEntries::~PackageEntries() {
    if (zip_) unzClose(zip_);
    libdeflate_free_decompressor(inflater_);
}

int PackageEntries::open(std::string_view bytes, const ZipExtractLimits &limits) {
    limits_ = limits;
    inflater_ = libdeflate_alloc_decompressor();
    if (!inflater_) return OXLS_ERR_MEMORY;
    storage_.bytes = bytes;
    zlib_filefunc64_def functions;
    orb_fill_zip_filefunc64(&functions, storage_);
    zip_ = unzOpen2_64("", &functions);
    if (!zip_) return OXLS_ERR_OPEN;
    std::unordered_map<std::string, size_t> index;   // name -> its place in names_
    int rc;
    for (rc = unzGoToFirstFile(zip_); rc == UNZ_OK; rc = unzGoToNextFile(zip_)) {
        unz_file_info64 info;
        char part[ORB_PART_NAME_SLOT];
        rc = unzGetCurrentFileInfo64(zip_, &info, part, sizeof part, nullptr, 0, nullptr, 0);
        if (rc != UNZ_OK) return rc;
        if (info.size_filename > ORB_PART_NAME_LEN) return OZW_LIMIT_REACHED;
        if (!is_safe_part_name(part)) return ORB_ZIP_REFUSED;
        if (is_folder_entry(part)) continue;
        if (names_.size() >= static_cast<size_t>(MFILE_MAX_OPEN_FILES)) return OZW_LIMIT_REACHED;
        unz64_file_pos position;
        rc = unzGetFilePos64(zip_, &position);
        if (rc != UNZ_OK) return rc;
        // A name met again stands for the later entry, as unpacking the
        // package writes the later one over the earlier.
        const auto [same, added] = index.emplace(part, names_.size());
        if (!added) {
            positions_[same->second] = position;
            continue;
        }
        names_.emplace_back(part);
        positions_.push_back(position);
    }
    return rc == UNZ_END_OF_LIST_OF_FILE ? 0 : rc;
}

int PackageEntries::read(size_t index, GrowBuffer &buffer, std::string_view &text) {
    text = {};
    if (index >= positions_.size()) return OXLS_ERR_OPEN;
    int rc = unzGoToFilePos64(zip_, &positions_[index]);
    unz_file_info64 info;
    int method = 0;
    if (rc == UNZ_OK) rc = unzGetCurrentFileInfo64(zip_, &info, nullptr, 0, nullptr, 0, nullptr, 0);
    // The entry's bytes are taken as stored and inflated here: the check
    // sum the unzip layer would compute on the way costs a sixth of the
    // inflation, and the part parsers judge the bytes anyway.
    if (rc == UNZ_OK) rc = unzOpenCurrentFile2(zip_, &method, nullptr, 1);
    if (rc == UNZ_OK && method != 0 && method != Z_DEFLATED) {
        unzCloseCurrentFile(zip_);
        rc = UNZ_BADZIPFILE;
    }
    if (rc != UNZ_OK) {
        log_failure("error %d with zipfile in unzOpenCurrentFile", rc);
        return rc;
    }
    // The entry's bytes lie in the package bytes held in memory: they are
    // inflated from there in one go.
    const ZPOS64_T start = std::min<ZPOS64_T>(unzGetCurrentFileZStreamPos64(zip_), storage_.bytes.size());
    unzCloseCurrentFile(zip_);
    const std::string_view input =
        storage_.bytes.substr(start, std::min<ZPOS64_T>(info.compressed_size, storage_.bytes.size() - start));
    InflateGuard guard(limits_, inflated_);
    guard.start_part(info.compressed_size);
    size_t length = 0;
    try {
        rc = method == Z_DEFLATED ? inflate_into(inflater_, input, info.uncompressed_size, guard, buffer, length)
                                  : copy_into(input, guard, buffer, length);
    } catch (const std::bad_alloc &) {
        rc = OXLS_ERR_MEMORY;
    }
    inflated_ = guard.total();
    if (rc == 0) text = std::string_view(buffer.data(), length);
    return rc;
}

const char *orb_part_name(const char *stored_name) {
    if (stored_name[0] != '[') return stored_name;
    const char *p = stored_name + 1;
    while (std::isdigit(static_cast<unsigned char>(*p))) ++p;
    return *p == ']' && p > stored_name + 1 ? p + 1 : stored_name;
}
