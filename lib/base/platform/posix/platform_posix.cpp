// The platform layer on POSIX systems (Linux): files through descriptors,
// folders through dirent, code pages through iconv.
#include "platform/platform.h"

#include "result_codes.h"

#include <bit>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <iconv.h>
#include <new>
#include <type_traits>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zplat {

// ---- plain files -------------------------------------------------------

struct File {
    int fd;
    int mode;
    long long length;  // taken by the open's own fstat: no further stat
};

namespace {

// Sharing is advisory here: readers take a shared lock and writers an
// exclusive one, so that a file another program of ours is writing cannot
// be read half-written, and a file being read is not truncated under the
// reader.  Only a lock held by someone else refuses the open; file systems
// without locks are used unlocked.
bool take_lock(int fd, bool exclusive) {
    if (flock(fd, (exclusive ? LOCK_EX : LOCK_SH) | LOCK_NB) == 0) return true;
    return errno != EWOULDBLOCK;
}

}  // namespace

File *file_open(const char *path, int mode) {
    if (!path || !*path) return nullptr;
    int flags;
    switch (mode) {
        case FILE_READ: flags = O_RDONLY; break;
        case FILE_WRITE: flags = O_WRONLY | O_CREAT; break;      // truncated once the lock is held
        case FILE_APPEND: flags = O_WRONLY | O_CREAT | O_APPEND; break;
        case FILE_READ_WRITE: flags = O_RDWR | O_CREAT; break;
        default: return nullptr;
    }
    int fd = ::open(path, flags | O_CLOEXEC, 0666);
    if (fd < 0) return nullptr;
    struct stat st;
    if (fstat(fd, &st) != 0 || S_ISDIR(st.st_mode) || !take_lock(fd, mode != FILE_READ) ||
        (mode == FILE_WRITE && ftruncate(fd, 0) != 0)) {
        ::close(fd);
        return nullptr;
    }
    File *file = new (std::nothrow) File{fd, mode, static_cast<long long>(st.st_size)};
    if (!file) ::close(fd);
    return file;
}

void file_close(File *file) {
    if (!file) return;
    ::close(file->fd);   // also drops the lock
    delete file;
}

size_t file_read(File *file, void *buffer, size_t count) {
    if (!file) return 0;
    size_t done = 0;
    auto *out = static_cast<char *>(buffer);
    while (done < count) {
        ssize_t got = ::read(file->fd, out + done, count - done);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) break;
        done += static_cast<size_t>(got);
    }
    return done;
}

size_t file_write(File *file, const void *buffer, size_t count) {
    if (!file) return 0;
    size_t done = 0;
    auto *in = static_cast<const char *>(buffer);
    while (done < count) {
        ssize_t put = ::write(file->fd, in + done, count - done);
        if (put < 0 && errno == EINTR) continue;
        if (put <= 0) break;
        done += static_cast<size_t>(put);
    }
    return done;
}

int file_seek(File *file, long long offset, int origin) {
    int whence;
    switch (origin) {
        case SEEK_FROM_START: whence = SEEK_SET; break;
        case SEEK_FROM_END: whence = SEEK_END; break;
        case SEEK_FROM_CURRENT: whence = SEEK_CUR; break;
        default: return OXLS_ERR_ARGUMENT;
    }
    if (!file || lseek(file->fd, static_cast<off_t>(offset), whence) < 0) return OZW_SEEK_REFUSED;
    return 0;
}

long long file_tell(File *file) {
    if (!file) return -1;
    return static_cast<long long>(lseek(file->fd, 0, SEEK_CUR));
}

unsigned long long physical_memory() {
    const long pages = sysconf(_SC_PHYS_PAGES);
    const long page_size = sysconf(_SC_PAGESIZE);
    return pages > 0 && page_size > 0 ? static_cast<unsigned long long>(pages) * static_cast<unsigned long long>(page_size) : 0;
}

long long file_length(File *file) { return file ? file->length : -1; }

int file_size(const char *path, long long *size) {
    struct stat st;
    if (!path || stat(path, &st) != 0) return OXLS_ERR_OPEN;
    *size = static_cast<long long>(st.st_size);
    return 0;
}

int file_time(const char *path, std::tm *local) {
    struct stat st;
    if (!path || stat(path, &st) != 0) return OXLS_ERR_OPEN;
    time_t when = st.st_mtime;
    if (!localtime_r(&when, local)) return OXLS_ERR_OPEN;
    return 0;
}

int set_file_time(const char *path, const std::tm &local) {
    std::tm copy = local;
    copy.tm_isdst = -1;
    time_t when = mktime(&copy);
    if (when == static_cast<time_t>(-1)) return -1;
    struct timespec times[2];
    times[0].tv_sec = times[1].tv_sec = when;
    times[0].tv_nsec = times[1].tv_nsec = 0;
    return utimensat(AT_FDCWD, path, times, 0) == 0 ? 0 : -1;
}

int delete_file(const char *path) { return path && ::unlink(path) == 0 ? 0 : -1; }

int rename_file(const char *from, const char *to) { return from && to && std::rename(from, to) == 0 ? 0 : -1; }

Failure last_failure() {
    const int code = errno;
    Failure failure;
    if (code == EACCES || code == EPERM) failure.kind = FailureKind::PermissionDenied;
    if (code == ENAMETOOLONG) failure.kind = FailureKind::NameTooLong;
    // strerror_r of glibc may return its own static text instead of
    // filling the buffer.
    char buffer[256] = {};
    const auto text = [&](auto result) -> const char * {
        if constexpr (std::is_same_v<decltype(result), char *>) return result;
        else return result == 0 ? buffer : "unknown error";
    };
    failure.text = text(strerror_r(code, buffer, sizeof buffer));
    return failure;
}

bool is_directory(const char *path) {
    struct stat st;
    return path && stat(path, &st) == 0 && S_ISDIR(st.st_mode);
}

bool is_link(const char *path) {
    struct stat st;
    return path && lstat(path, &st) == 0 && S_ISLNK(st.st_mode);
}

int make_directory(const char *path) {
    if (!path) return -1;
    if (::mkdir(path, 0777) == 0) return 0;
    return errno == EEXIST && is_directory(path) ? 1 : -1;
}

int remove_directory(const char *path) { return path && ::rmdir(path) == 0 ? 0 : -1; }

// ---- folders -----------------------------------------------------------

int list_directory(const char *path, const std::function<bool(const DirEntry &)> &visit) {
    DIR *dir = path ? opendir(path) : nullptr;
    if (!dir) return -1;
    int dir_fd = dirfd(dir);
    DirEntry entry;
    while (struct dirent *item = readdir(dir)) {
        const char *name = item->d_name;
        if (std::strcmp(name, ".") == 0 || std::strcmp(name, "..") == 0) continue;
        entry.name = name;
        entry.is_hidden = name[0] == '.';
        // The listing tells most entries' kind itself: on a file server each
        // stat is a round trip, so one is made only for a link or where
        // the file system does not say.  A link reports what it points to,
        // as a reparse point does on Windows.
        const unsigned char kind = item->d_type;
        entry.is_link = kind == DT_LNK;
        entry.is_directory = kind == DT_DIR;
        entry.is_regular = kind == DT_REG;
        if (kind == DT_LNK || kind == DT_UNKNOWN) {
            struct stat st;
            const bool target_known = fstatat(dir_fd, name, &st, 0) == 0;
            entry.is_directory = target_known && S_ISDIR(st.st_mode);
            entry.is_regular = target_known && S_ISREG(st.st_mode);
            if (kind == DT_UNKNOWN) {
                entry.is_link = fstatat(dir_fd, name, &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISLNK(st.st_mode);
            }
        }
        if (!visit(entry)) break;
    }
    closedir(dir);
    return 0;
}

// std::string_view compares through char_traits<char>, which orders bytes
// as unsigned values, as the file system stores them.
bool name_before(std::string_view a, std::string_view b) { return a < b; }

bool folder_id(const char *path, FolderId &id) {
    struct stat st;
    if (!path || stat(path, &st) != 0) return false;
    id.volume = static_cast<std::uint64_t>(st.st_dev);
    id.index = static_cast<std::uint64_t>(st.st_ino);
    return true;
}

// ---- environment and time ----------------------------------------------

bool get_env(const char *name, std::string &value) {
    const char *found = name ? std::getenv(name) : nullptr;
    if (!found) return false;
    value = found;
    return true;
}

namespace {

std::string without_trailing_separators(std::string folder) {
    while (folder.size() > 1 && folder.back() == kSeparator) folder.pop_back();
    return folder;
}

// A shared temporary folder lets every user create names in it, so fixed
// names there could be taken first by someone else.  The program's files go
// to a folder of the user's own instead, used only while it is a real
// folder (not a link) of this user that nobody else may enter.
bool is_private_folder(const std::string &folder) {
    struct stat st;
    return lstat(folder.c_str(), &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == geteuid() &&
           (st.st_mode & (S_IRWXG | S_IRWXO)) == 0;
}

}  // namespace

std::string temp_folder() {
    std::string folder;
    if (get_env("TEMP", folder) && !folder.empty() && folder.size() < 257)
        return without_trailing_separators(folder);
    if (!(get_env("TMPDIR", folder) && !folder.empty() && folder.size() < 257)) folder = "/tmp";
    const std::string own = without_trailing_separators(folder) + "/zscan-" + std::to_string(geteuid());
    if (::mkdir(own.c_str(), 0700) != 0 && errno != EEXIST) return std::string();
    return is_private_folder(own) ? own : std::string();
}

std::tm local_time() {
    time_t now = time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return local;
}

std::string executable_path() {
    char buffer[PATH_MAX];
    ssize_t length = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    if (length <= 0) return std::string();
    return std::string(buffer, static_cast<size_t>(length));
}

std::string debug_log_path() {
    const std::string folder = temp_folder();
    return folder.empty() ? std::string() : folder + "/ORBdebug.log";
}

// ---- code pages ---------------------------------------------------------

namespace {

const char *kUtf16Host = std::endian::native == std::endian::little ? "UTF-16LE" : "UTF-16BE";

const char *iconv_name(int codepage) {
    switch (codepage) {
        case 932: return "CP932";
        case 65001: return "UTF-8";
        default: return nullptr;
    }
}

// One converter per direction and code page for each thread: opening one
// costs far more than a short conversion, and a converter has state.
class Converter {
public:
    Converter(const char *to, const char *from) : handle_(iconv_open(to, from)) {}
    ~Converter() {
        if (ok()) iconv_close(handle_);
    }
    Converter(const Converter &) = delete;
    Converter &operator=(const Converter &) = delete;
    bool ok() const { return handle_ != reinterpret_cast<iconv_t>(-1); }
    iconv_t get() {
        iconv(handle_, nullptr, nullptr, nullptr, nullptr);
        return handle_;
    }

private:
    iconv_t handle_;
};

iconv_t converter(bool to_unicode, int codepage) {
    thread_local Converter sjis_in(kUtf16Host, "CP932"), utf8_in(kUtf16Host, "UTF-8");
    thread_local Converter sjis_out("CP932", kUtf16Host), utf8_out("UTF-8", kUtf16Host);
    Converter &c = codepage == 932 ? (to_unicode ? sjis_in : sjis_out)
                                   : (to_unicode ? utf8_in : utf8_out);
    return c.ok() ? c.get() : reinterpret_cast<iconv_t>(-1);
}

bool is_sjis_lead(unsigned char byte) { return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC); }

// Bytes of input to skip after an unconvertible sequence, and what to put in
// its place: as the Windows conversions do, an invalid Shift-JIS character
// becomes KATAKANA MIDDLE DOT, invalid UTF-8 becomes U+FFFD one byte at a
// time, a UTF-16 unit without a Shift-JIS form becomes "?" and a lone
// surrogate becomes U+FFFD in UTF-8.
size_t skip_invalid(bool to_unicode, int codepage, const char *in, size_t left, std::string &replacement) {
    if (to_unicode) {
        char16_t mark = codepage == 932 ? u'\u30FB' : u'\uFFFD';
        replacement.assign(reinterpret_cast<const char *>(&mark), sizeof mark);
        if (codepage == 932 && left >= 2 && is_sjis_lead(static_cast<unsigned char>(in[0]))) return 2;
        return 1;
    }
    replacement = codepage == 932 ? "?" : "\xEF\xBF\xBD";
    return left >= 2 ? 2 : left;
}

// Runs `text` through `cd`, appending to `out`; a sequence the converter
// cannot take is replaced as `skip` says (the bytes to pass over, and the
// text to put in their place).  False when memory runs out or the
// converter fails otherwise.
template <typename Skip>
bool run_iconv(iconv_t cd, const char *text, size_t length, std::string &out, Skip skip) {
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    try {
        size_t used = out.size();
        out.resize(used + length * 2 + 16);
        char *in = const_cast<char *>(text);
        size_t in_left = length;
        std::string replacement;
        while (in_left > 0) {
            char *dst = out.data() + used;
            size_t dst_left = out.size() - used;
            size_t rc = iconv(cd, &in, &in_left, &dst, &dst_left);
            used = out.size() - dst_left;
            if (rc != static_cast<size_t>(-1)) break;
            if (errno == E2BIG) {
                out.resize(out.size() * 2);
            } else if (errno == EILSEQ || errno == EINVAL) {
                size_t passed = skip(in, in_left, replacement);
                in += passed;
                in_left -= passed;
                out.resize(used);
                out += replacement;
                used = out.size();
                out.resize(used + in_left * 2 + 16);
                iconv(cd, nullptr, nullptr, nullptr, nullptr);
            } else {
                out.resize(used);
                return false;
            }
        }
        out.resize(used);
    } catch (const std::bad_alloc &) {
        return false;
    }
    return true;
}

// Runs `text` through the thread's converter into `out`, replacing what
// cannot be converted.  False when the converter is missing or memory runs
// out.
bool convert(bool to_unicode, int codepage, const char *text, size_t length, std::string &out) {
    out.clear();
    if (!iconv_name(codepage)) return false;
    iconv_t cd = converter(to_unicode, codepage);
    if (cd == reinterpret_cast<iconv_t>(-1)) return false;
    return run_iconv(cd, text, length, out, [&](const char *in, size_t left, std::string &replacement) {
        return skip_invalid(to_unicode, codepage, in, left, replacement);
    });
}

// The iconv name of a Windows code page: the Mac code pages and a few
// others by name, the rest as "CP<number>" (CP1250, CP936, CP949, CP950,
// CP437, ...), which iconv knows for those it has.
std::string page_iconv_name(int codepage) {
    switch (codepage) {
        case 1361: return "JOHAB";
        case 10000: return "MACINTOSH";
        case 10001: return "SHIFT_JIS";
        case 10002: return "BIG5";
        case 10003: return "EUC-KR";
        case 10007: return "MAC-CYRILLIC";
        case 10008: return "GB2312";
        case 10017: return "MAC-UK";
        case 10029: return "MAC-CENTRALEUROPE";
        case 10079: return "MAC-IS";
        case 20127: return "ASCII";
        case 20932: return "EUC-JP";
        case 28591: return "ISO-8859-1";
        case 65001: return "UTF-8";
        default: break;
    }
    if (codepage >= 28592 && codepage <= 28605) return "ISO-8859-" + std::to_string(codepage - 28590);
    return "CP" + std::to_string(codepage);
}

}  // namespace

bool to_utf16(int codepage, std::string_view text, std::u16string &out) {
    std::string bytes;
    if (!convert(true, codepage, text.data(), text.size(), bytes)) return false;
    try {
        out.resize(bytes.size() / 2);
    } catch (const std::bad_alloc &) {
        return false;
    }
    std::memcpy(out.data(), bytes.data(), out.size() * 2);
    return true;
}

bool from_utf16(int codepage, std::u16string_view text, std::string &out) {
    return convert(false, codepage, reinterpret_cast<const char *>(text.data()), text.size() * 2, out);
}

CodePageConverter::CodePageConverter(int codepage) : codepage_(codepage) {
    if (codepage <= 0) return;
    iconv_t cd = iconv_open("UTF-8", page_iconv_name(codepage).c_str());
    if (cd != reinterpret_cast<iconv_t>(-1)) handle_ = cd;
}

CodePageConverter::~CodePageConverter() {
    if (handle_) iconv_close(static_cast<iconv_t>(handle_));
}

bool CodePageConverter::ok() const { return handle_ != nullptr; }

bool CodePageConverter::append_utf8(std::string_view text, std::string &out) {
    if (!handle_) return false;
    const bool sjis = codepage_ == 932;
    return run_iconv(static_cast<iconv_t>(handle_), text.data(), text.size(), out,
                     [sjis](const char *in, size_t left, std::string &replacement) -> size_t {
                         replacement = sjis ? "\xE3\x83\xBB" : "\xEF\xBF\xBD";
                         return sjis && left >= 2 && is_sjis_lead(static_cast<unsigned char>(in[0])) ? 2 : 1;
                     });
}

// ---- user interaction ----------------------------------------------------

int message_box(const char *title, const char *text, int style) {
    std::fprintf(stderr, "%s: %s\n", title ? title : "", text ? text : "");
    std::fflush(stderr);
    if ((style & 0x0F) != MB_STYLE_YESNO) return 1;
    if (!isatty(STDIN_FILENO)) return 7;
    std::fputs("[y/N] ", stderr);
    std::fflush(stderr);
    char answer[16];
    if (!std::fgets(answer, sizeof answer, stdin)) return 7;
    return answer[0] == 'y' || answer[0] == 'Y' ? 6 : 7;
}

}  // namespace zplat
