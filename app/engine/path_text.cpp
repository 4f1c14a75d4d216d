#include "engine/path_text.h"

#include "charset.h"
#include "platform/platform.h"

namespace zscan {

size_t last_separator(int charset, std::string_view path) {
    size_t found = std::string_view::npos;
    for (int i = 0; i < static_cast<int>(path.size()); ++i) {
        const auto byte = static_cast<unsigned char>(path[i]);
        if (orb_char_len(charset, byte, &i) == 0 && byte == zplat::kSeparator) {
            found = static_cast<size_t>(i);
        }
    }
    return found;
}

std::string folder_of(int charset, std::string_view path) {
    const size_t at = last_separator(charset, path);
    return at == std::string_view::npos ? std::string() : std::string(path.substr(0, at));
}

std::string joined_path(std::string_view folder, std::string_view name) {
    std::string path;
    path.reserve(folder.size() + 1 + name.size());
    path.append(folder);
    path.push_back(zplat::kSeparator);
    path.append(name);
    return path;
}

bool is_absolute_path(std::string_view path) {
    if (!path.empty() && path[0] == zplat::kSeparator) return true;
    constexpr bool kHasDriveLetters = zplat::kSeparator == '\\';
    return kHasDriveLetters && path.size() >= 2 && path[1] == ':';
}

std::string system_path(int charset, std::string_view path) {
    constexpr int kSystemCharset = zplat::kSeparator == '\\' ? CS_SJIS : CS_UTF8;
    return charset == kSystemCharset ? std::string(path) : orb_convert(charset, kSystemCharset, path);
}

std::string upper_ascii(int charset, std::string_view text) {
    std::string upper(text);
    for (int i = 0; i < static_cast<int>(upper.size()); ++i) {
        const auto byte = static_cast<unsigned char>(upper[i]);
        if (orb_char_len(charset, byte, &i) == 0 && byte >= 'a' && byte <= 'z') {
            upper[i] = static_cast<char>(byte - 'a' + 'A');
        }
    }
    return upper;
}

}  // namespace zscan
