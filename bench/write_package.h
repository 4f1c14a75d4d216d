// Writes a generated Excel 2007 package for a benchmark: its parts, named
// and given in full, deflated into a zip file.
#pragma once

#include <zip.h>

#include <string>
#include <utility>
#include <vector>

using PackageParts = std::vector<std::pair<std::string, std::string>>;

inline bool write_package(const std::string &path, const PackageParts &parts) {
    zipFile zip = zipOpen64(path.c_str(), APPEND_STATUS_CREATE);
    if (!zip) return false;
    bool ok = true;
    for (const auto &[name, text] : parts) {
        zip_fileinfo info{};
        ok = ok &&
             zipOpenNewFileInZip(zip, name.c_str(), &info, nullptr, 0, nullptr, 0, nullptr, Z_DEFLATED,
                                 Z_DEFAULT_COMPRESSION) == ZIP_OK &&
             zipWriteInFileInZip(zip, text.data(), static_cast<unsigned>(text.size())) == ZIP_OK &&
             zipCloseFileInZip(zip) == ZIP_OK;
    }
    return zipClose(zip, nullptr) == ZIP_OK && ok;
}
