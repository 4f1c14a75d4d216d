// Zipping the built parts of a package into the book file.
#pragma once

#include "part_files.h"
#include "zip_io.h"

#include <string>
#include <vector>

// Writes the parts named in `package_list` into a new zip at `zip_path`, in
// list order, deflated (default level, raw, memory level 8); the zip file is
// created on `medium` (a disk file or a memory file).
// 0; -101 the zip or a part cannot be opened; -103 a write failed; -5 the
// zip cannot be completed; -2 no memory.
int ozw_zip_package(const char *zip_path, ZipMedium medium, PartFiles &parts,
                    const std::vector<std::string> &package_list);
