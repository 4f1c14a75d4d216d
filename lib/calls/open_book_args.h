// The argument string of OXLS_open_book: its keywords, modes and the
// request they make up.
#pragma once

#include "book_record.h"
#include "oxls.h"

#include <string>
#include <vector>

// Open modes; the numbers are the mode codes kept in the work area.
enum BookMode {
    MODE_READ = 0,
    MODE_CREATE = 1,
    MODE_UPDATE = 2,
    MODE_LOAD = 3,
    MODE_UNLOAD = 4,
    MODE_LIST = 5,
    MODE_UNLOAD_NAME = 6,
};

constexpr size_t TEMP_WORKBOOK_PATH_MAX = 258;

// What the keywords asked for.  Paths are in the platform's path character
// set (see ozw_path_charset).
struct OpenRequest {
    std::string book_name;           // EXCEL= / BOOK=, empty when not given
    int mode = MODE_CREATE;
    std::string list_path = DEFAULT_NAME_LIST_PATH;
    bool read_memory = false;
    bool write_memory = false;
    std::string temp_workbook_path;
    int thread_no = -1;
    std::vector<std::string> passwords;   // PASSWORD=, UTF-8, in the order given
};

// Runs the keyword loop over `args` (null: no keywords).  CHARSET= takes
// effect in the book's work area at once.  0, or the call's result code
// with the book's error state set.
int ozw_parse_open_args(XLS_BOOK *book, const char *args, OpenRequest &request);
