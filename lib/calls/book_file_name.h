// The file name and full path of a book, as OXLS_open_book derives them
// from the EXCEL= / BOOK= value.
#pragma once

#include <string>

// Longest book file name (and full path) in bytes.
constexpr size_t BOOK_NAME_MAX = 256;
constexpr const char *DEFAULT_BOOK_NAME = "Book1.xlsx";

// The character set of paths handed to the platform layer: Shift-JIS on
// Windows, UTF-8 elsewhere.
int ozw_path_charset();

// The book's file name from the given one: a name without an Excel
// extension gets ".xlsx" (short names always, longer ones when they hold no
// folder separator and no dot); no name or an empty one gives "Book1.xlsx".
// 0, or -3 when the name is longer than BOOK_NAME_MAX.
int ozw_book_file_name(const std::string &given, std::string &name_out);

// True for "\...", "/..." and "X:..." paths.
bool ozw_is_absolute_path(const std::string &path);

// The full path of a book file name: the name itself when absolute, else the
// current folder, a separator and the name.  0, or -3 when it would be
// longer than BOOK_NAME_MAX.
int ozw_full_book_path(const std::string &name, std::string &path_out);
