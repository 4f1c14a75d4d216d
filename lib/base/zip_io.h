// The file-function tables handed to minizip's unzip and zip libraries, so
// that a package can be read from and written to either a disk file or a
// memory file.  Which one is fixed by the caller, or chosen by the storage
// switch (orb_zip_on_memory, exported in oxls.h: 0 memory files, else disk
// files; disk files at start).  A book takes the switch's value when it is
// opened and uses it from then on.
#pragma once

#include <ioapi.h>

#include <string_view>

enum class ZipMedium {
    Selected,   // whatever the storage switch says when each file is opened
    Disk,
    Memory,
    Bytes,      // bytes the caller holds, read only; the file name is not looked at
};

class MfileTable;

// Where the files opened through a table live: the medium, and for memory
// files their table.
struct ZipStorage {
    ZipMedium medium = ZipMedium::Selected;
    MfileTable *files = nullptr;   // null: the caller's table
    std::string_view bytes;        // ZipMedium::Bytes: the file's bytes
};

// Tables over the caller's memory files.
void orb_fill_zip_filefunc64(zlib_filefunc64_def *table, ZipMedium medium = ZipMedium::Selected);
// A table over `storage`, which must outlive every file opened through it.
void orb_fill_zip_filefunc64(zlib_filefunc64_def *table, const ZipStorage &storage);

// True when the storage switch chooses memory files.
bool orb_zip_memory_selected();
