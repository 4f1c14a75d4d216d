// The third-party corpus of test books: where it lies and what its
// manifest says of each file.
#pragma once

#include "test_folder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace corpus {

// The corpus folder: $ZS_CORPUS_DIR, else the one the build was told of.
std::string dir();
// The full path of a file given relative to the corpus folder.
std::string path(const std::string &relative);

// A row of MANIFEST.tsv.
struct Book {
    std::string file;     // relative to the corpus folder
    std::string format;   // "xls", "xlsx", "xlsm", ...
    long long bytes = 0;
    std::string notes;
    // Whether the manifest marks it with one of these words at the start
    // of its notes ("ENCRYPTED", "MALFORMED", "MALICIOUS", "HUGE", ...).
    bool marked(std::initializer_list<const char *> marks) const;
};

// The rows of the given formats whose files exist; empty without a corpus.
std::vector<Book> books(std::initializer_list<const char *> formats);

// A field of an oracle's dump with its escapes \t \n \r and \\ undone.
std::string unescape(const std::string &text);

// A test name for a parameter that is a file path: its letters and digits,
// the rest '_', behind its position in the list.
std::string param_name(const ::testing::TestParamInfo<std::string> &info);

}  // namespace corpus
