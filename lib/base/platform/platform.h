// The platform layer: every call into the operating system goes through
// here.  One implementation per OS (posix/, win32/); everything above it is
// portable.  Paths and texts are in the platform's narrow encoding
// (Shift-JIS on Windows, UTF-8 on POSIX).
#pragma once

#include <compare>
#include <cstdint>
#include <ctime>
#include <functional>
#include <string>
#include <string_view>

namespace zplat {

// Path separator of this platform.
constexpr char kSeparator =
#ifdef _WIN32
    '\\';
#else
    '/';
#endif

// Longest path a user may type, in bytes: what the system's own calls take
// (PATH_MAX less its terminator on POSIX; the 256 bytes of the window's
// boxes on Windows).
constexpr size_t kLongestPath =
#ifdef _WIN32
    256;
#else
    4095;
#endif

// ---- plain files -------------------------------------------------------
// On Windows, a path too long for the plain form is made absolute and
// passed in the "\\?\" form, so that it is reached wherever the system
// allows; a path that still fails tells why through last_failure().
// Open modes.
constexpr int FILE_READ = 1;        // others may read; the file must exist
constexpr int FILE_WRITE = 2;       // others may write; created or truncated
constexpr int FILE_APPEND = 3;      // others may write; opened or created, at the end
constexpr int FILE_READ_WRITE = 4;  // others may write; opened or created
struct File;
File *file_open(const char *path, int mode);
void file_close(File *file);
// Bytes transferred; 0 at the end or on failure.
size_t file_read(File *file, void *buffer, size_t count);
size_t file_write(File *file, const void *buffer, size_t count);
// Origins of file_seek.
constexpr int SEEK_FROM_START = 1;
constexpr int SEEK_FROM_END = 2;
constexpr int SEEK_FROM_CURRENT = 3;
// 0, -3 bad origin, -104 refused.
int file_seek(File *file, long long offset, int origin);
long long file_tell(File *file);
// Size of an open file, as it was when opened on POSIX; -1 on failure.
long long file_length(File *file);

// Size of the file at path; 0, or -101 when it cannot be examined.
int file_size(const char *path, long long *size);
// Last write time in local time; 0 or -101.
int file_time(const char *path, std::tm *local);
// Sets the last write time from a local time; 0 or -1.
int set_file_time(const char *path, const std::tm &local);
int delete_file(const char *path);          // 0 or -1
// Moves a file to another name in the same file system, replacing a file
// of that name at once; 0 or -1.
int rename_file(const char *from, const char *to);
// Bytes of memory the machine has; 0 when it cannot tell.
unsigned long long physical_memory();
bool is_directory(const char *path);
bool is_link(const char *path);              // symbolic link or reparse point itself
int make_directory(const char *path);       // 0, 1 when it existed, -1 failure
int remove_directory(const char *path);     // empty folder only; 0 or -1

// ---- folders -----------------------------------------------------------
struct DirEntry {
    std::string name;
    bool is_directory = false;
    bool is_hidden = false;   // hidden attribute (Windows) or leading "." (POSIX)
    bool is_link = false;     // symbolic link or reparse point
    bool is_regular = false;  // a plain file (for a link: what it points to), not a
                              // folder, pipe, socket or device
};
// Calls `visit` for each entry of the folder except "." and "..", in the
// order the system lists them; stops early when `visit` returns false.
// 0, or -1 when the folder cannot be listed.
int list_directory(const char *path, const std::function<bool(const DirEntry &)> &visit);

// Whether entry name `a` comes before `b` in this system's own listing
// order: by bytes on POSIX; on Windows as NTFS orders names (letter case
// ignored, ordinal).
bool name_before(std::string_view a, std::string_view b);

// What makes a folder the same folder however it is reached (through
// links, junctions or different spellings): device and inode on POSIX,
// volume serial number and file index on Windows.
struct FolderId {
    std::uint64_t volume = 0;
    std::uint64_t index = 0;
    auto operator<=>(const FolderId &) const = default;
};
// False when the folder cannot be examined.
bool folder_id(const char *path, FolderId &id);

// Why the last file or folder call of this thread failed, as the system
// told it (errno, GetLastError).
enum class FailureKind { PermissionDenied, NameTooLong, Other };
struct Failure {
    FailureKind kind = FailureKind::Other;
    std::string text;   // the system's own words, in UTF-8
};
Failure last_failure();

// ---- environment and time ----------------------------------------------
// Value of an environment variable; false when unset.
bool get_env(const char *name, std::string &value);
// The temporary folder: TEMP when set (and shorter than 257 bytes).  Else on
// Windows the user's own temporary folder; on POSIX the folder
// "zscan-<uid>" under TMPDIR or /tmp, private to the user: created with no
// access for others, and refused when it is a link, belongs to another
// user or lets others in.  Empty when refused.  No trailing separator.
std::string temp_folder();
std::tm local_time();
// Full path of the running executable.
std::string executable_path();
// Where the library's debug log goes: C:\TEMP\ORBdebug.log on Windows,
// ORBdebug.log in the temporary folder elsewhere.
std::string debug_log_path();

// ---- code pages ---------------------------------------------------------
// Conversions between UTF-16 (host order) and a code page: 932 (Shift-JIS,
// CP932 on every OS) or 65001 (UTF-8).  Characters without a form in the
// target give the system's replacement.  False when memory cannot be had.
bool to_utf16(int codepage, std::string_view text, std::u16string &out);
bool from_utf16(int codepage, std::u16string_view text, std::string &out);

// Text of one Windows code page (1250, 936, 10029, ...) turned into UTF-8
// for one owner at a time, a book's reader: on POSIX it holds an iconv
// handle of its own, so that books read on several threads share none.
class CodePageConverter {
public:
    explicit CodePageConverter(int codepage);
    ~CodePageConverter();
    CodePageConverter(const CodePageConverter &) = delete;
    CodePageConverter &operator=(const CodePageConverter &) = delete;

    // Whether the system converts this code page.
    bool ok() const;
    // Appends the UTF-8 of `text`; bytes that make no character of the
    // code page become U+FFFD (U+30FB in code page 932, as Windows has
    // it).  False when memory runs out.
    bool append_utf8(std::string_view text, std::string &out);

private:
    int codepage_;
    void *handle_ = nullptr;   // the iconv descriptor on POSIX
};

// ---- user interaction ----------------------------------------------------
enum MessageStyle { MB_STYLE_OK = 0, MB_STYLE_YESNO = 4, MB_STYLE_ERROR = 16,
                    MB_STYLE_QUESTION = 32, MB_STYLE_WARNING = 48, MB_STYLE_INFO = 64 };
// Shows a message box (Windows) or writes "title: text" to standard error
// (POSIX).  Returns 6 (yes) or 7 (no) for Yes/No boxes, 1 otherwise.
int message_box(const char *title, const char *text, int style);

}  // namespace zplat
