// Telling the kind of a file from its first 16 bytes and its name
// (orb_file_type, exported in oxls.h), and the raw scan of a compound file's
// directory for one stream name.
#pragma once

// Where orb_file_type reads the first bytes from.  Any other value means the
// disk file at the path.
constexpr int FILE_SOURCE_MEMORY = 0;    // the memory file named by the path
constexpr int FILE_SOURCE_HEADER = 9999; // the path points to the 16 bytes themselves
constexpr int FILE_SOURCE_DISK = 1;

constexpr int FILE_HEADER_LEN = 16;

// Type codes the library itself routes on.
constexpr int FILE_TYPE_UNKNOWN = -1;
constexpr int FILE_TYPE_CSV = 0;
constexpr int FILE_TYPE_XLS = 11;
constexpr int FILE_TYPE_XLSX = 20;
constexpr int FILE_TYPE_XLSM = 25;
constexpr int FILE_TYPE_XLSX_LOCKED = 26;
constexpr int FILE_TYPE_DOCX_LOCKED = 49;
constexpr int FILE_TYPE_PPTX_LOCKED = 69;
constexpr int FILE_TYPE_ZIP = 301;

// Stream names the directory scan is used with.
constexpr const char *CFB_ENCRYPTED_PACKAGE = "EncryptedPackage";
constexpr const char *CFB_WORKBOOK = "Workbook";
constexpr const char *CFB_WORD_DOCUMENT = "WordDocument";
constexpr const char *CFB_POWERPOINT_DOCUMENT = "PowerPoint Document";

// Looks for a directory entry whose name begins with `name` (ASCII, compared
// as UTF-16LE) in the compound file read from `source` / `path` (sources as
// for orb_file_type, except FILE_SOURCE_HEADER).  The scan looks for the
// 512-byte block that starts with the root entry and walks the 128-byte
// entries from there; it does not follow the file's allocation tables.
// 1 found (*start_sector receives the stream's first sector when not null),
// 0 not found, -101 the file cannot be opened, -3 bad arguments.
int orb_find_cfb_entry(int source, const char *path, const char *name, unsigned *start_sector);
