// The platform layer on Windows: kernel32 files, folders and code pages,
// user32 message boxes.  Paths are Shift-JIS (code page 932) bytes; the
// file and folder calls take them through the wide calls, so that a path
// longer than the ANSI calls take is still reached where the system allows.
#include "platform/platform.h"

#include "result_codes.h"

#include <windows.h>

#include <new>

namespace zplat {
namespace {

std::wstring wide_text(std::string_view text) {
    std::u16string wide;
    if (!to_utf16(932, text, wide)) return std::wstring();
    return std::wstring(wide.begin(), wide.end());
}

bool starts_with(const std::wstring &text, const wchar_t *head) { return text.rfind(head, 0) == 0; }

// Longest path passed to a wide call as it is: CreateDirectoryW takes
// MAX_PATH less room for an 8.3 name, the other calls a little more.
constexpr size_t kPlainPathMax = MAX_PATH - 12;

// The path as the wide calls take it.  A short one is passed as it is, so
// that it means what it meant to the ANSI calls.  A longer one is made
// absolute and given the "\\?\" prefix ("\\?\UNC\" for \\server\share),
// which lifts the MAX_PATH limit; GetFullPathNameW first turns '/' into
// '\' and resolves "." and "..", which the prefixed form no longer does.
std::wstring wide_path(const char *path) {
    std::wstring wide = wide_text(path);
    if (wide.size() < kPlainPathMax || starts_with(wide, L"\\\\?\\") || starts_with(wide, L"\\\\.\\")) return wide;
    const DWORD needed = GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr);
    if (needed == 0) return wide;
    std::wstring full(needed, L'\0');
    const DWORD length = GetFullPathNameW(wide.c_str(), needed, full.data(), nullptr);
    if (length == 0 || length >= needed) return wide;
    full.resize(length);
    if (starts_with(full, L"\\\\")) return L"\\\\?\\UNC\\" + full.substr(2);
    return L"\\\\?\\" + full;
}

}  // namespace

// ---- plain files -------------------------------------------------------

struct File {
    HANDLE handle;
    int mode;
};

File *file_open(const char *path, int mode) {
    if (!path || !*path) return nullptr;
    DWORD access, share, creation;
    switch (mode) {
        case FILE_READ: access = GENERIC_READ; share = FILE_SHARE_READ; creation = OPEN_EXISTING; break;
        case FILE_WRITE: access = GENERIC_WRITE; share = FILE_SHARE_WRITE; creation = CREATE_ALWAYS; break;
        case FILE_APPEND: access = GENERIC_WRITE; share = FILE_SHARE_WRITE; creation = OPEN_ALWAYS; break;
        case FILE_READ_WRITE: access = GENERIC_READ | GENERIC_WRITE; share = FILE_SHARE_WRITE; creation = OPEN_ALWAYS; break;
        default: return nullptr;
    }
    HANDLE handle = CreateFileW(wide_path(path).c_str(), access, share, nullptr, creation, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return nullptr;
    if (mode == FILE_APPEND) {
        LARGE_INTEGER zero{};
        SetFilePointerEx(handle, zero, nullptr, FILE_END);
    }
    File *file = new (std::nothrow) File{handle, mode};
    if (!file) CloseHandle(handle);
    return file;
}

void file_close(File *file) {
    if (!file) return;
    CloseHandle(file->handle);
    delete file;
}

size_t file_read(File *file, void *buffer, size_t count) {
    if (!file) return 0;
    size_t done = 0;
    auto *out = static_cast<char *>(buffer);
    while (done < count) {
        DWORD chunk = static_cast<DWORD>(count - done > 0x40000000 ? 0x40000000 : count - done);
        DWORD got = 0;
        if (!ReadFile(file->handle, out + done, chunk, &got, nullptr) || got == 0) break;
        done += got;
    }
    return done;
}

size_t file_write(File *file, const void *buffer, size_t count) {
    if (!file) return 0;
    size_t done = 0;
    auto *in = static_cast<const char *>(buffer);
    while (done < count) {
        DWORD chunk = static_cast<DWORD>(count - done > 0x40000000 ? 0x40000000 : count - done);
        DWORD put = 0;
        if (!WriteFile(file->handle, in + done, chunk, &put, nullptr) || put == 0) break;
        done += put;
    }
    return done;
}

int file_seek(File *file, long long offset, int origin) {
    DWORD method;
    switch (origin) {
        case SEEK_FROM_START: method = FILE_BEGIN; break;
        case SEEK_FROM_END: method = FILE_END; break;
        case SEEK_FROM_CURRENT: method = FILE_CURRENT; break;
        default: return OXLS_ERR_ARGUMENT;
    }
    LARGE_INTEGER distance;
    distance.QuadPart = offset;
    if (!file || !SetFilePointerEx(file->handle, distance, nullptr, method)) return OZW_SEEK_REFUSED;
    return 0;
}

long long file_tell(File *file) {
    if (!file) return -1;
    LARGE_INTEGER zero{}, position{};
    if (!SetFilePointerEx(file->handle, zero, &position, FILE_CURRENT)) return -1;
    return position.QuadPart;
}

unsigned long long physical_memory() {
    MEMORYSTATUSEX status{};
    status.dwLength = sizeof status;
    return GlobalMemoryStatusEx(&status) ? status.ullTotalPhys : 0;
}

long long file_length(File *file) {
    LARGE_INTEGER size{};
    if (!file || !GetFileSizeEx(file->handle, &size)) return -1;
    return size.QuadPart;
}

namespace {

bool attributes(const char *path, WIN32_FILE_ATTRIBUTE_DATA &data) {
    return path && GetFileAttributesExW(wide_path(path).c_str(), GetFileExInfoStandard, &data);
}

std::tm to_tm(const SYSTEMTIME &st) {
    std::tm local{};
    local.tm_year = st.wYear - 1900;
    local.tm_mon = st.wMonth - 1;
    local.tm_mday = st.wDay;
    local.tm_hour = st.wHour;
    local.tm_min = st.wMinute;
    local.tm_sec = st.wSecond;
    local.tm_wday = st.wDayOfWeek;
    local.tm_isdst = -1;
    return local;
}

}  // namespace

int file_size(const char *path, long long *size) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!attributes(path, data)) return OXLS_ERR_OPEN;
    *size = (static_cast<long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    return 0;
}

int file_time(const char *path, std::tm *local) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    FILETIME local_time;
    SYSTEMTIME st;
    if (!attributes(path, data) || !FileTimeToLocalFileTime(&data.ftLastWriteTime, &local_time) ||
        !FileTimeToSystemTime(&local_time, &st))
        return OXLS_ERR_OPEN;
    *local = to_tm(st);
    return 0;
}

int set_file_time(const char *path, const std::tm &local) {
    SYSTEMTIME st{};
    st.wYear = static_cast<WORD>(local.tm_year + 1900);
    st.wMonth = static_cast<WORD>(local.tm_mon + 1);
    st.wDay = static_cast<WORD>(local.tm_mday);
    st.wHour = static_cast<WORD>(local.tm_hour);
    st.wMinute = static_cast<WORD>(local.tm_min);
    st.wSecond = static_cast<WORD>(local.tm_sec);
    FILETIME local_time, utc;
    if (!path || !SystemTimeToFileTime(&st, &local_time) || !LocalFileTimeToFileTime(&local_time, &utc)) return -1;
    HANDLE handle = CreateFileW(wide_path(path).c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return -1;
    BOOL ok = SetFileTime(handle, nullptr, nullptr, &utc);
    CloseHandle(handle);
    return ok ? 0 : -1;
}

int delete_file(const char *path) { return path && DeleteFileW(wide_path(path).c_str()) ? 0 : -1; }

int rename_file(const char *from, const char *to) {
    return from && to && MoveFileExW(wide_path(from).c_str(), wide_path(to).c_str(), MOVEFILE_REPLACE_EXISTING) ? 0 : -1;
}

Failure last_failure() {
    const DWORD code = GetLastError();
    Failure failure;
    if (code == ERROR_ACCESS_DENIED || code == ERROR_SHARING_VIOLATION || code == ERROR_LOCK_VIOLATION)
        failure.kind = FailureKind::PermissionDenied;
    if (code == ERROR_FILENAME_EXCED_RANGE) failure.kind = FailureKind::NameTooLong;
    wchar_t *text = nullptr;
    const DWORD length = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                            FORMAT_MESSAGE_IGNORE_INSERTS,
                                        nullptr, code, 0, reinterpret_cast<wchar_t *>(&text), 0, nullptr);
    std::u16string wide(reinterpret_cast<const char16_t *>(text ? text : L""), length);
    LocalFree(text);
    while (!wide.empty() && (wide.back() == u'\n' || wide.back() == u'\r' || wide.back() == u' ')) wide.pop_back();
    if (!from_utf16(65001, wide, failure.text)) failure.text.clear();
    if (failure.text.empty()) failure.text = "system error " + std::to_string(code);
    return failure;
}

bool is_directory(const char *path) {
    DWORD found = path ? GetFileAttributesW(wide_path(path).c_str()) : INVALID_FILE_ATTRIBUTES;
    return found != INVALID_FILE_ATTRIBUTES && (found & FILE_ATTRIBUTE_DIRECTORY);
}

bool is_link(const char *path) {
    DWORD found = path ? GetFileAttributesW(wide_path(path).c_str()) : INVALID_FILE_ATTRIBUTES;
    return found != INVALID_FILE_ATTRIBUTES && (found & FILE_ATTRIBUTE_REPARSE_POINT);
}

int make_directory(const char *path) {
    if (!path) return -1;
    if (CreateDirectoryW(wide_path(path).c_str(), nullptr)) return 0;
    return GetLastError() == ERROR_ALREADY_EXISTS && is_directory(path) ? 1 : -1;
}

int remove_directory(const char *path) { return path && RemoveDirectoryW(wide_path(path).c_str()) ? 0 : -1; }

// ---- folders -----------------------------------------------------------

int list_directory(const char *path, const std::function<bool(const DirEntry &)> &visit) {
    if (!path) return -1;
    std::string pattern = path;
    if (!pattern.empty() && pattern.back() != '\\' && pattern.back() != '/') pattern += '\\';
    pattern += '*';
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW(wide_path(pattern.c_str()).c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return -1;
    DirEntry entry;
    do {
        const std::wstring_view name(found.cFileName);
        if (name == L"." || name == L"..") continue;
        // A name with a character code page 932 lacks gets the system's
        // replacement, as FindFirstFileA gives it; opening it then fails
        // and is reported.
        if (!from_utf16(932, std::u16string_view(reinterpret_cast<const char16_t *>(name.data()), name.size()),
                        entry.name)) {
            FindClose(search);
            return -1;
        }
        entry.is_directory = (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        entry.is_hidden = (found.dwFileAttributes & FILE_ATTRIBUTE_HIDDEN) != 0;
        entry.is_link = (found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
        entry.is_regular = (found.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE)) == 0;
        if (!visit(entry)) break;
    } while (FindNextFileW(search, &found));
    FindClose(search);
    return 0;
}

bool name_before(std::string_view a, std::string_view b) {
    const std::wstring wide_a = wide_text(a);
    const std::wstring wide_b = wide_text(b);
    const int order = CompareStringOrdinal(wide_a.c_str(), static_cast<int>(wide_a.size()), wide_b.c_str(),
                                           static_cast<int>(wide_b.size()), TRUE);
    if (order != CSTR_EQUAL) return order == CSTR_LESS_THAN;
    return a < b;   // names equal but for case: any fixed order
}

bool folder_id(const char *path, FolderId &id) {
    if (!path) return false;
    const std::wstring wide = wide_path(path);
    // Opening with backup semantics is what lets a folder be opened; no
    // access is asked for, so the folder is not locked.
    HANDLE folder = CreateFileW(wide.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (folder == INVALID_HANDLE_VALUE) return false;
    BY_HANDLE_FILE_INFORMATION info;
    const bool known = GetFileInformationByHandle(folder, &info) != 0;
    CloseHandle(folder);
    if (!known) return false;
    id.volume = info.dwVolumeSerialNumber;
    id.index = (static_cast<std::uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow;
    return true;
}

// ---- environment and time ----------------------------------------------

bool get_env(const char *name, std::string &value) {
    if (!name) return false;
    DWORD needed = GetEnvironmentVariableA(name, nullptr, 0);
    if (needed == 0) return false;
    std::string buffer(needed, '\0');
    DWORD length = GetEnvironmentVariableA(name, buffer.data(), needed);
    if (length >= needed) return false;
    buffer.resize(length);
    value = buffer;
    return true;
}

std::string temp_folder() {
    std::string folder;
    if (!(get_env("TEMP", folder) && !folder.empty() && folder.size() < 257)) {
        char buffer[MAX_PATH + 1];
        DWORD length = GetTempPathA(sizeof buffer, buffer);
        folder = length > 0 && length < sizeof buffer ? std::string(buffer, length) : std::string("C:\\Temp");
    }
    while (folder.size() > 3 && (folder.back() == '\\' || folder.back() == '/')) folder.pop_back();
    return folder;
}

std::tm local_time() {
    SYSTEMTIME st;
    GetLocalTime(&st);
    return to_tm(st);
}

std::string executable_path() {
    char buffer[MAX_PATH + 1];
    DWORD length = GetModuleFileNameA(nullptr, buffer, sizeof buffer);
    if (length == 0 || length >= sizeof buffer) return std::string();
    return std::string(buffer, length);
}

std::string debug_log_path() { return "C:\\TEMP\\ORBdebug.log"; }

// ---- code pages ---------------------------------------------------------
// Code page 932 is named explicitly (not CP_ACP) so that a machine with
// another ANSI code page still converts Shift-JIS the same way.

bool to_utf16(int codepage, std::string_view text, std::u16string &out) {
    out.clear();
    if (text.empty()) return true;
    if (text.size() > 0x7FFFFFFF) return false;
    int length = static_cast<int>(text.size());
    int needed = MultiByteToWideChar(static_cast<UINT>(codepage), 0, text.data(), length, nullptr, 0);
    if (needed <= 0) return false;
    try {
        out.resize(static_cast<size_t>(needed));
    } catch (const std::bad_alloc &) {
        return false;
    }
    MultiByteToWideChar(static_cast<UINT>(codepage), 0, text.data(), length,
                        reinterpret_cast<wchar_t *>(out.data()), needed);
    return true;
}

bool from_utf16(int codepage, std::u16string_view text, std::string &out) {
    out.clear();
    if (text.empty()) return true;
    if (text.size() > 0x3FFFFFFF) return false;
    int length = static_cast<int>(text.size());
    auto *wide = reinterpret_cast<const wchar_t *>(text.data());
    int needed = WideCharToMultiByte(static_cast<UINT>(codepage), 0, wide, length, nullptr, 0, nullptr, nullptr);
    if (needed <= 0) return false;
    try {
        out.resize(static_cast<size_t>(needed));
    } catch (const std::bad_alloc &) {
        return false;
    }
    WideCharToMultiByte(static_cast<UINT>(codepage), 0, wide, length, out.data(), needed, nullptr, nullptr);
    return true;
}

CodePageConverter::CodePageConverter(int codepage) : codepage_(codepage) {}

CodePageConverter::~CodePageConverter() = default;

bool CodePageConverter::ok() const { return codepage_ > 0 && IsValidCodePage(static_cast<UINT>(codepage_)); }

bool CodePageConverter::append_utf8(std::string_view text, std::string &out) {
    std::u16string wide;
    std::string utf8;
    if (!to_utf16(codepage_, text, wide) || !from_utf16(CP_UTF8, wide, utf8)) return false;
    try {
        out += utf8;
    } catch (const std::bad_alloc &) {
        return false;
    }
    return true;
}

// ---- user interaction ----------------------------------------------------

int message_box(const char *title, const char *text, int style) {
    return MessageBoxA(nullptr, text ? text : "", title, static_cast<UINT>(style));
}

}  // namespace zplat
