// Temporary folders: creation along a path and recursive removal.
#include "temp_folders.h"

#include "charset.h"
#include "platform/platform.h"
#include "result_codes.h"

#include <vector>

namespace {

std::string join(const std::string &folder, const std::string &name) {
    return folder + zplat::kSeparator + name;
}

// Position of the next separator at or after `from`, or npos.  On Windows
// paths are Shift-JIS, so the second byte of a double-byte character (which
// may be 0x5C) is stepped over.
size_t next_separator(const std::string &path, size_t from) {
    for (int i = static_cast<int>(from); i < static_cast<int>(path.size()); ++i) {
        if (orb_is_path_separator(path[i])) return static_cast<size_t>(i);
#ifdef _WIN32
        orb_char_len(CS_SJIS, static_cast<unsigned char>(path[i]), &i);
#endif
    }
    return std::string::npos;
}

}  // namespace

bool orb_is_path_separator(char c) { return c == '/' || c == zplat::kSeparator; }

int orb_make_temp_folder(const char *name, std::string &path_out) {
    const std::string temp = zplat::temp_folder();
    // Without a safe temporary folder nothing is made anywhere else instead.
    if (temp.empty()) return OZW_FAILED;
    path_out = join(temp, name ? name : "");
    return zplat::make_directory(path_out.c_str()) >= 0 ? 0 : OZW_FAILED;
}

int orb_make_own_folder(const std::string &parent, std::string &path_out) {
    if (orb_create_path(parent.c_str()) != 0) return OZW_FAILED;
    for (int number = 1; number < 1000000; ++number) {
        path_out = join(parent, std::to_string(number));
        int made = zplat::make_directory(path_out.c_str());
        if (made == 0) return 0;
        if (made < 0) return OZW_FAILED;
    }
    return OZW_FAILED;
}

int orb_create_path(const char *path) {
    if (!path || !*path) return OZW_FAILED;
    std::string full = path;
    while (full.size() > 1 && orb_is_path_separator(full.back())) full.pop_back();
    // Each prefix that ends before a separator is one level; a leading
    // separator (root) or a drive ("C:") is not created.
    for (size_t at = next_separator(full, 0);; at = next_separator(full, at + 1)) {
        std::string level = full.substr(0, at);
        bool is_root = level.empty() || (level.size() == 2 && level[1] == ':');
        if (!is_root && zplat::make_directory(level.c_str()) < 0) return OZW_FAILED;
        if (at == std::string::npos) return 0;
    }
}

int orb_remove_folder(const char *path) {
    if (!path || !zplat::is_directory(path) || zplat::is_link(path)) return OZW_FAILED;
    int rc = 0;
    std::string folder = path;
    std::vector<zplat::DirEntry> entries;
    if (zplat::list_directory(path, [&](const zplat::DirEntry &entry) {
            entries.push_back(entry);
            return true;
        }) != 0)
        return OZW_FAILED;
    for (const zplat::DirEntry &entry : entries) {
        std::string child = join(folder, entry.name);
        if (entry.is_directory && !entry.is_link) {
            if (orb_remove_folder(child.c_str()) != 0) rc = -1;
        } else if (zplat::delete_file(child.c_str()) != 0 && !(entry.is_link && zplat::remove_directory(child.c_str()) == 0)) {
            rc = -1;
        }
    }
    if (zplat::remove_directory(path) != 0) rc = -1;
    return rc;
}
