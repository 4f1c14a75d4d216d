// Temporary folders: creation along a path, recursive removal and the
// clean-up of old numbered folders.
#include "temp_folders.h"

#include "charset.h"
#include "platform/platform.h"

#include <cstdio>
#include <cstring>
#include <ctime>
#include <vector>

namespace {

constexpr int NUMBERED_FOLDERS = 200;
constexpr int MAX_CLEANED = 100;
constexpr double SECONDS_PER_DAY = 86400.0;

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
    if (temp.empty()) return -1;
    path_out = join(temp, name ? name : "");
    return zplat::make_directory(path_out.c_str()) >= 0 ? 0 : -1;
}

int orb_make_own_folder(const std::string &parent, std::string &path_out) {
    if (orb_create_path(parent.c_str()) != 0) return -1;
    for (int number = 1; number < 1000000; ++number) {
        path_out = join(parent, std::to_string(number));
        int made = zplat::make_directory(path_out.c_str());
        if (made == 0) return 0;
        if (made < 0) return -1;
    }
    return -1;
}

int orb_create_path(const char *path) {
    if (!path || !*path) return -1;
    std::string full = path;
    while (full.size() > 1 && orb_is_path_separator(full.back())) full.pop_back();
    // Each prefix that ends before a separator is one level; a leading
    // separator (root) or a drive ("C:") is not created.
    for (size_t at = next_separator(full, 0);; at = next_separator(full, at + 1)) {
        std::string level = full.substr(0, at);
        bool is_root = level.empty() || (level.size() == 2 && level[1] == ':');
        if (!is_root && zplat::make_directory(level.c_str()) < 0) return -1;
        if (at == std::string::npos) return 0;
    }
}

int orb_remove_folder(const char *path) {
    if (!path || !zplat::is_directory(path) || zplat::is_link(path)) return -1;
    int rc = 0;
    std::string folder = path;
    std::vector<zplat::DirEntry> entries;
    if (zplat::list_directory(path, [&](const zplat::DirEntry &entry) {
            entries.push_back(entry);
            return true;
        }) != 0)
        return -1;
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

int orb_clean_old_folders(const char *base, int days) {
    const std::string temp = zplat::temp_folder();
    if (!base || temp.empty()) return 0;
    std::string root = join(temp, base);
    std::time_t now = std::time(nullptr);
    std::vector<std::string> old;
    for (int number = 0; number < NUMBERED_FOLDERS && static_cast<int>(old.size()) < MAX_CLEANED; ++number) {
        char name[16];
        std::snprintf(name, sizeof name, "%04d", number);
        std::string folder = root + '/' + name;
        std::tm changed{};
        if (!zplat::is_directory(folder.c_str()) || zplat::file_time(folder.c_str(), &changed) != 0) continue;
        changed.tm_isdst = -1;
        std::time_t when = std::mktime(&changed);
        if (when != static_cast<std::time_t>(-1) && std::difftime(now, when) > days * SECONDS_PER_DAY)
            old.push_back(folder);
    }
    int removed = 0;
    for (const std::string &folder : old) {
        if (orb_remove_folder(folder.c_str()) == 0) ++removed;
    }
    return removed;
}
