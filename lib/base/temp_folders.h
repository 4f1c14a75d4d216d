// Folders under the temporary folder: making them, creating whole paths,
// removing them with their contents.
#pragma once

#include <string>

// The temporary folder, a separator and `name`; the folder is created (one
// level) when missing.  0, or -1 when it cannot be made.
int orb_make_temp_folder(const char *name, std::string &path_out);

// A new folder of its own under `parent` (created with its parents when
// missing): the first of "<parent>/1", "<parent>/2", ... that did not exist.
// Making a folder either creates it or finds it there, so two threads or
// processes never get the same one.  0, or -1.
int orb_make_own_folder(const std::string &parent, std::string &path_out);

// Creates every missing folder along `path` (levels separated by '/', and
// by '\' on Windows; a trailing separator is ignored).  0, or -1 when a level
// cannot be created.
int orb_create_path(const char *path);

// Deletes every file in the folder, recursing into sub-folders, then the
// folder itself.  Links are removed, never followed.  0, or -1 when something
// could not be removed.
int orb_remove_folder(const char *path);

// Whether `c` separates the levels of a path on this platform.
bool orb_is_path_separator(char c);
