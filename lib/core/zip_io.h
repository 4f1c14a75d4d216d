// The file-function tables handed to minizip's unzip and zip libraries, so
// that a package can be read from and written to either a disk file or a
// memory file.  Which one is chosen by the process-wide storage switch
// (orb_zip_on_memory, exported in oxls.h: 0 memory files, else disk files;
// disk files at start), or fixed by the caller.
#pragma once

#include <ioapi.h>

enum class ZipMedium {
    Selected,   // whatever the storage switch says when each file is opened
    Disk,
    Memory,
};

void orb_fill_zip_filefunc(zlib_filefunc_def *table, ZipMedium medium = ZipMedium::Selected);
void orb_fill_zip_filefunc64(zlib_filefunc64_def *table, ZipMedium medium = ZipMedium::Selected);

// True when the storage switch chooses memory files.
bool orb_zip_memory_selected();
