// Reading back a saved package in tests: every entry's name and bytes in
// zip order, through minizip's unzip API.
#pragma once

#include <unzip.h>

#include <string>
#include <utility>
#include <vector>

using ZipEntries = std::vector<std::pair<std::string, std::string>>;

// Entries of the zip at `path`; empty when it cannot be read.  With
// `functions`, the zip is opened through that file-function table.
inline ZipEntries read_zip(const std::string &path, zlib_filefunc64_def *functions = nullptr) {
    ZipEntries entries;
    unzFile zip = functions ? unzOpen2_64(path.c_str(), functions) : unzOpen64(path.c_str());
    if (!zip) return entries;
    for (int rc = unzGoToFirstFile(zip); rc == UNZ_OK; rc = unzGoToNextFile(zip)) {
        char name[512];
        unz_file_info64 info;
        if (unzGetCurrentFileInfo64(zip, &info, name, sizeof name, nullptr, 0, nullptr, 0) != UNZ_OK) break;
        if (unzOpenCurrentFile(zip) != UNZ_OK) break;
        std::string data(static_cast<size_t>(info.uncompressed_size), '\0');
        int got = data.empty() ? 0 : unzReadCurrentFile(zip, data.data(), static_cast<unsigned>(data.size()));
        unzCloseCurrentFile(zip);
        if (got != static_cast<int>(data.size())) break;
        entries.emplace_back(name, std::move(data));
    }
    unzClose(zip);
    return entries;
}

inline const std::string *find_entry(const ZipEntries &entries, const std::string &name) {
    for (const auto &entry : entries)
        if (entry.first == name) return &entry.second;
    return nullptr;
}
