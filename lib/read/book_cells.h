// A book's cells read straight into a sink, for callers that look at every
// cell once (the search) and need neither the book record nor a temporary
// file: the book's file is read whole with one open, then an Excel 2007
// package is read part by part from its zip entries, an Excel 97-2003
// book's workbook stream from the compound file's bytes.
#pragma once

#include "book_sink.h"
#include "grow_buffer.h"

#include <string>
#include <string_view>
#include <utility>
#include <vector>

// Reads books one after another, keeping the memory one book's parts,
// shared strings and styles took for the next: a search of many books does
// not allocate and touch its buffers anew for each.  One reader per thread.
class BookCellReader {
public:
    // Reads the book at `path` (a disk path in the platform's path
    // encoding) and hands every cell of its worksheets to `sink`.  Its
    // first bytes tell a package from a compound file, whatever its name
    // says.  0; -1 the file is no readable book; -2 out of memory; another
    // negative code when the reader refuses the book or the sink stopped
    // it.
    int read(const char *path, BookSink &sink);
    // The same for a book whose file was read whole beforehand: `book`
    // holds its bytes, and stays valid and unchanged while it is read (it
    // may be read by several readers at once).
    int read_view(std::string_view book, BookSink &sink);
    // Gives back each buffer holding more than `most` bytes, so that a
    // reader kept for later books does not keep the largest book's size.
    void release_above(size_t most);
    // Passwords (UTF-8) to try on each encrypted book after the default one.
    void set_passwords(std::vector<std::string> passwords) { context_.passwords = std::move(passwords); }

private:
    ReadContext context_;
    StyleTables styles_;
    std::string file_buffer_;   // the book file's bytes, or the package deciphered from them
    GrowBuffer part_buffer_;    // the text of the part being read
};
