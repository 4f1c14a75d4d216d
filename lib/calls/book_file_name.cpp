// Deriving a book's file name and full path.
#include "book_file_name.h"

#include "charset.h"
#include "platform/platform.h"
#include "result_codes.h"

#include <cctype>
#include <filesystem>
#include <system_error>

namespace {

bool ends_with_any_case(const std::string &text, const char *tail) {
    size_t length = std::char_traits<char>::length(tail);
    if (text.size() < length) return false;
    for (size_t i = 0; i < length; ++i) {
        if (std::tolower(static_cast<unsigned char>(text[text.size() - length + i])) != tail[i]) return false;
    }
    return true;
}

// A name with a folder part or a dot is taken as the caller wrote it.
bool has_folder_or_dot(const std::string &name) {
    for (char c : name) {
        if (c == '\\' || c == '.' || c == zplat::kSeparator) return true;
    }
    return false;
}

constexpr size_t SHORT_NAME = 6;

}  // namespace

int ozw_path_charset() {
#ifdef _WIN32
    return CS_SJIS;
#else
    return CS_UTF8;
#endif
}

int ozw_book_file_name(const std::string &given, std::string &name_out) {
    if (given.empty()) {
        name_out = DEFAULT_BOOK_NAME;
        return 0;
    }
    name_out = given;
    // Names ending in ".xlsx" or ".xlsm" hold a dot and so stay as they are.
    if (!ends_with_any_case(name_out, ".xls") && (name_out.size() < SHORT_NAME || !has_folder_or_dot(name_out)))
        name_out += ".xlsx";
    return name_out.size() > BOOK_NAME_MAX ? OXLS_ERR_ARGUMENT : 0;
}

bool ozw_is_absolute_path(const std::string &path) {
    return (!path.empty() && (path[0] == '\\' || path[0] == '/')) || (path.size() >= 2 && path[1] == ':');
}

int ozw_full_book_path(const std::string &name, std::string &path_out) {
    if (ozw_is_absolute_path(name)) {
        path_out = name;
    } else {
        std::error_code error;
        std::string folder = std::filesystem::current_path(error).string();
        path_out = error ? name : folder + zplat::kSeparator + name;
    }
    return path_out.size() > BOOK_NAME_MAX ? OXLS_ERR_ARGUMENT : 0;
}
