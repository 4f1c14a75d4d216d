// Unpacking a zip package (an Excel 2007 book) into memory files, one per
// part, or into a folder on disk.
#pragma once

#include "grow_buffer.h"
#include "zip_io.h"

#include <unzip.h>

#include <string>
#include <vector>

// Size of one slot of a part-name list (a name of at most 256 bytes).
constexpr int ORB_PART_NAME_SLOT = 257;
constexpr int ORB_PART_NAME_LEN = 256;

// Name of the extraction folder under the temporary folder used when a
// package does not fit into memory.
constexpr const char *ORB_EXTRACT_FOLDER = "OBtemp";

// Result of extraction when the package is refused: an entry that inflates
// beyond the limits below, or a part name that would leave the folder.
constexpr int ORB_ZIP_REFUSED = -4;

// Bounds against hostile packages; no real book comes near them.
struct ZipExtractLimits {
    long long part_bytes = 1LL << 30;               // one part, inflated
    long long package_bytes = 4LL << 30;            // all parts together
    long long ratio_from_bytes = 100LL << 20;       // the ratio is checked above this size
    long long ratio = 1000;                         // inflated : compressed
};

// Where a package is read from and unpacked into, and the bounds it keeps.
// Each book has its own, so that books unpacked on different threads share
// nothing.
struct PackageStore {
    ZipStorage storage;          // the package's medium; the memory files of the package and its parts
    ZipExtractLimits limits;
    // Where the parts go when memory runs out: a new folder of its own
    // under "OBtemp" in the temporary folder, else "OBtemp" itself.
    bool own_disk_folder = false;
};

// Extracts every entry of the package at zip_path (opened through the zip
// file-function table, so a disk file or a memory file according to the
// storage switch) with the caller's memory files and the usual bounds.
// to_disk 0: into memory files; else into files under
// out_folder, which is emptied and re-created first.  thread_no >= 0 names
// each part "[n]part".  count_io: capacity of names on entry (at least 1),
// parts extracted on return.  Folder entries are skipped.
// 0; -3 bad arguments; -9 the name list is too small (or a name is longer
// than 256 bytes); -101 the package cannot be opened or a part cannot be
// created; -2 a memory file cannot be written; -103 a disk file cannot be
// written; ORB_ZIP_REFUSED; a negative unzip code when reading an entry fails.
int orb_zip_extract(int to_disk, int thread_no, const char *zip_path, const char *out_folder, int *count_io,
                    char (*names)[ORB_PART_NAME_SLOT]);
// The same with the store's memory files and bounds.
int orb_zip_extract(const PackageStore &store, int to_disk, int thread_no, const char *zip_path,
                    const char *out_folder, int *count_io, char (*names)[ORB_PART_NAME_SLOT]);

// A package unpacked by orb_extract_package.
struct ExtractedPackage {
    std::vector<std::string> parts;   // stored names ("[n]" prefix included) in package order
    bool on_disk = false;             // parts are files under `folder`, else memory files
    std::string folder;               // the extraction folder when on disk
    MfileTable *files = nullptr;      // the memory files of the parts
};

// Extracts the package into the store's memory files with a name list that
// starts with room for 1000 names and grows by 1000 whenever it is too
// small (up to MFILE_MAX_OPEN_FILES parts).  When memory runs out, every
// memory file of the store's table is dropped and the package is extracted
// into the store's disk folder instead (ExtractedPackage.folder).
// 0; -2 out of memory (also on disk); -9 too many parts or a name too long;
// otherwise the codes of orb_zip_extract.
int orb_extract_package(const PackageStore &store, int thread_no, const char *zip_path, ExtractedPackage &out);
// The same with the caller's memory files, the usual bounds and the folder
// "OBtemp" under the temporary folder.
int orb_extract_package(int thread_no, const char *zip_path, ExtractedPackage &out);

// The part name of a stored name: everything up to the first ']' is a
// thread prefix and is dropped.
const char *orb_part_name(const char *stored_name);

// The parts of a package read one at a time straight from their zip
// entries, for a reader that needs a few of them: nothing is unpacked that
// is not asked for, and each part goes into the caller's buffer.  The
// package is refused as orb_extract_package refuses it: a part name that
// would leave a folder or is longer than 256 bytes, or more parts than the
// memory files could hold.
struct libdeflate_decompressor;

class PackageEntries {
public:
    PackageEntries() = default;
    ~PackageEntries();
    PackageEntries(const PackageEntries &) = delete;
    PackageEntries &operator=(const PackageEntries &) = delete;

    // Opens the package held in `bytes` (which must outlive this object)
    // and lists its parts (folder entries left out).  0; -101 the package
    // cannot be opened; -9 too many parts or a name too long;
    // ORB_ZIP_REFUSED; a negative unzip code.
    int open(std::string_view bytes, const ZipExtractLimits &limits = {});
    // Part names in package order.
    const std::vector<std::string> &names() const { return names_; }
    // Inflates part `index` into the start of `buffer` and views its text
    // as `text`.  0; -2 out of memory; ORB_ZIP_REFUSED past the limits; a
    // negative unzip code.
    int read(size_t index, GrowBuffer &buffer, std::string_view &text);

private:
    unzFile zip_ = nullptr;
    libdeflate_decompressor *inflater_ = nullptr;
    ZipStorage storage_{ZipMedium::Bytes, nullptr, {}};
    ZipExtractLimits limits_;
    long long inflated_ = 0;   // bytes of every part read so far
    std::vector<std::string> names_;
    std::vector<unz64_file_pos> positions_;
};
