// Small text routines over paths and file names.  They walk the text
// character by character in the context's character set, so that the
// trail byte of a Shift-JIS character is never taken for a separator or a
// letter.
#pragma once

#include <string>
#include <string_view>

namespace zscan {

// Byte position of the last path separator, or npos.
size_t last_separator(int charset, std::string_view path);
// The path up to (not including) its last separator; empty when it has none.
std::string folder_of(int charset, std::string_view path);
// "folder<separator>name".
std::string joined_path(std::string_view folder, std::string_view name);
// A path that names its place without a base folder: one that starts with
// a separator or has a drive letter ("C:").
bool is_absolute_path(std::string_view path);
// The path, given in `charset`, as this system names the file: in UTF-8 on
// POSIX systems, in Shift-JIS under Windows, as the library turns the
// paths it is given.
std::string system_path(int charset, std::string_view path);
// The text with ASCII a-z made upper case; other characters left whole.
std::string upper_ascii(int charset, std::string_view text);

}  // namespace zscan
