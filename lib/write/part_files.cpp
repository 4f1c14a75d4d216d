// Building package parts as memory files or as files in a folder on disk.
#include "part_files.h"

#include "mfile.h"
#include "platform/platform.h"
#include "result_codes.h"
#include "temp_folders.h"

#include <ctime>
#include <memory>
#include <new>

namespace {

// A part name ("xl/worksheets/sheet1.xml") as a path under `folder`.
std::string disk_path(const std::string &folder, const std::string &stored_name) {
    std::string path = folder;
    path += zplat::kSeparator;
    for (char c : stored_name) path += c == '/' ? zplat::kSeparator : c;
    return path;
}

std::string parent_of(const std::string &path) {
    size_t separator = path.find_last_of(zplat::kSeparator);
    return separator == std::string::npos ? std::string() : path.substr(0, separator);
}

struct DiskCloser {
    void operator()(zplat::File *file) const { zplat::file_close(file); }
};

}  // namespace

std::string PartFiles::stored_name(const std::string &part_name) const {
    if (thread_no_ < 0) return part_name;
    std::string name = "[";
    name += std::to_string(thread_no_);
    name += ']';
    name += part_name;
    return name;
}

int PartFiles::use_disk(const std::string &folder) {
    release();
    if (orb_create_path(folder.c_str()) != 0) return OXLS_ERR_OPEN;
    on_disk_ = true;
    folder_ = folder;
    return 0;
}

int PartFiles::write(const std::string &part_name, const std::string &data) {
    std::string name = stored_name(part_name);
    if (on_disk_) {
        std::string path = disk_path(folder_, name);
        if (orb_create_path(parent_of(path).c_str()) != 0) return OXLS_ERR_OPEN;
        std::unique_ptr<zplat::File, DiskCloser> file(zplat::file_open(path.c_str(), zplat::FILE_WRITE));
        if (!file) return OXLS_ERR_OPEN;
        written_.push_back(name);
        return zplat::file_write(file.get(), data.data(), data.size()) == data.size() ? 0 : OXLS_ERR_WRITE;
    }
    MFILE *file = files_.open(name.c_str(), "wb");
    if (!file) return PART_MEMORY_FULL;
    written_.push_back(name);
    size_t written = data.empty() ? 1 : mwrite(data.data(), data.size(), 1, file);
    bool growth_failed = file->status == MFILE_GROWTH_FAILED;
    mclose(file);
    if (written == 1) return 0;
    return growth_failed ? PART_MEMORY_FULL : OXLS_ERR_WRITE;
}

int PartFiles::read_blocks(const std::string &part_name, size_t block_size,
                           bool (*sink)(void *context, const char *bytes, size_t count), void *context) {
    std::string name = stored_name(part_name);
    std::unique_ptr<char[]> block(new (std::nothrow) char[block_size]);
    if (!block) return OXLS_ERR_MEMORY;
    if (on_disk_) {
        std::unique_ptr<zplat::File, DiskCloser> file(zplat::file_open(disk_path(folder_, name).c_str(), zplat::FILE_READ));
        if (!file) return OXLS_ERR_OPEN;
        size_t count;
        while ((count = zplat::file_read(file.get(), block.get(), block_size)) > 0)
            if (!sink(context, block.get(), count)) return OXLS_ERR_WRITE;
        return 0;
    }
    MFILE *file = files_.open(name.c_str(), "rb");
    if (!file) return OXLS_ERR_OPEN;
    int rc = 0;
    size_t count;
    while ((count = mread(block.get(), 1, block_size, file)) > 0) {
        if (!sink(context, block.get(), count)) {
            rc = OXLS_ERR_WRITE;
            break;
        }
    }
    mclose(file);
    return rc;
}

tm_zip PartFiles::entry_time(const std::string &part_name) const {
    tm_zip time{};
    std::tm local{};
    if (on_disk_ && zplat::file_time(disk_path(folder_, stored_name(part_name)).c_str(), &local) == 0) {
        time.tm_sec = static_cast<uInt>(local.tm_sec);
        time.tm_min = static_cast<uInt>(local.tm_min);
        time.tm_hour = static_cast<uInt>(local.tm_hour);
        time.tm_mday = static_cast<uInt>(local.tm_mday);
        time.tm_mon = static_cast<uInt>(local.tm_mon);
        time.tm_year = static_cast<uInt>(local.tm_year + 1900);
    }
    return time;
}

void PartFiles::release() {
    if (on_disk_) {
        orb_remove_folder(folder_.c_str());
    } else {
        for (const std::string &name : written_) files_.remove(name.c_str());
    }
    written_.clear();
}
