// The library's private per-book record, pointed to by XLS_BOOK.work.
// Allocated by OXLS_open_book, freed by OXLS_close_book / OXLS_free_book.
#pragma once

#include <cstdio>

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
};

struct XLS_BOOK;
// The work area of a book, or null before OXLS_open_book allocated it.
OzwWork *ozw_work(XLS_BOOK *book);
// The caller's character set (Shift-JIS when there is no work area).
int ozw_charset(XLS_BOOK *book);
