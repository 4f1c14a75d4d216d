// The zip step of saving: one deflated entry per part, copied in blocks.
#include "zip_package.h"

#include "result_codes.h"

#include <zlib.h>

namespace {

constexpr size_t BLOCK_SIZE = 16384;
constexpr int MEMORY_LEVEL = 8;

// Entry names never start with a separator.
const char *entry_name(const std::string &part_name) {
    const char *name = part_name.c_str();
    while (*name == '/' || *name == '\\') ++name;
    return name;
}

int add_entry(zipFile zip, PartFiles &parts, const std::string &part_name) {
    zip_fileinfo info{};
    info.tmz_date = parts.entry_time(part_name);
    if (zipOpenNewFileInZip3_64(zip, entry_name(part_name), &info, nullptr, 0, nullptr, 0, nullptr, Z_DEFLATED,
                                Z_DEFAULT_COMPRESSION, 0, -MAX_WBITS, MEMORY_LEVEL, Z_DEFAULT_STRATEGY, nullptr, 0,
                                0) != ZIP_OK)
        return OXLS_ERR_WRITE;
    int rc = parts.read(part_name, BLOCK_SIZE, [zip](const char *bytes, size_t count) {
        return zipWriteInFileInZip(zip, bytes, static_cast<unsigned>(count)) == ZIP_OK;
    });
    int closed = zipCloseFileInZip(zip);
    if (rc != 0) return rc;
    return closed == ZIP_OK ? 0 : OXLS_ERR_WRITE;
}

}  // namespace

int ozw_zip_package(const char *zip_path, ZipMedium medium, PartFiles &parts,
                    const std::vector<std::string> &package_list) {
    zlib_filefunc64_def functions;
    orb_fill_zip_filefunc64(&functions, medium);
    zipFile zip = zipOpen2_64(zip_path, APPEND_STATUS_CREATE, nullptr, &functions);
    if (!zip) return OXLS_ERR_OPEN;
    int rc = 0;
    for (const std::string &part_name : package_list) {
        rc = add_entry(zip, parts, part_name);
        if (rc != 0) break;
    }
    int closed = zipClose(zip, nullptr);
    if (rc != 0) return rc;
    return closed == ZIP_OK ? 0 : OZW_ZIP_INCOMPLETE;
}
