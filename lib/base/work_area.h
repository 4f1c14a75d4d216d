// The library's private per-book record, pointed to by XLS_BOOK.work.
// Allocated by OXLS_open_book, freed by OXLS_close_book / OXLS_free_book.
// Everything a book's reading needs beyond the record lives here, so that
// books read on different threads share nothing.
#pragma once

#include "mfile.h"
#include "zip_extract.h"

#include <cstdio>
#include <string>
#include <vector>

constexpr int ORB_MESSAGE_LIST_LEN = 32;
constexpr int ORB_MESSAGE_LEN = 201;

struct OzwWork {
    int charset;                 // caller's character set (Charset), default Shift-JIS
    FILE *out;                   // diagnostics streams
    FILE *err;
    int mode;                    // open mode code: 0 READ .. 6 UNLOAD_NAME
    int message_no;              // current ORB message number, 0 when none
    char messages[ORB_MESSAGE_LIST_LEN][ORB_MESSAGE_LEN];
    int message_count;
    int report_to_stream;        // print reports instead of showing a message box
    // The book's memory files; names it does not hold are looked up among
    // the caller's.
    MfileTable files{&orb_caller_files()};
    // Whether the book's package is read from a memory file: the storage
    // switch as it stood when the book was opened.
    bool package_in_memory;
    ZipExtractLimits limits;     // bounds the book's package must keep
    std::string disk_folder;     // the book's own extraction folder once made, removed with the work area
    // Passwords the caller gave (PASSWORD=, UTF-8), tried on an encrypted
    // book after the default one; dropped once the book is read.
    std::vector<std::string> passwords;
};

struct XLS_BOOK;
// The work area of a book, or null before OXLS_open_book allocated it.
OzwWork *ozw_work(XLS_BOOK *book);
// The caller's character set (Shift-JIS when there is no work area).
int ozw_charset(XLS_BOOK *book);
// Gives the book a fresh work area: Shift-JIS, the standard streams, the
// storage switch as it stands now, the usual bounds.  Null on no memory.
OzwWork *ozw_new_work(XLS_BOOK *book);
// The book's memory files: its own table, or the caller's for a record
// without a work area.
MfileTable &ozw_files(XLS_BOOK *book);
// Where the book's package is read from and unpacked to.  With a work area
// the parts go to the book's own memory files, and to a folder of its own
// under "OBtemp" when memory runs out.
PackageStore ozw_package_store(XLS_BOOK *book);
