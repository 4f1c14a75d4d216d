// Texts handed to the workbook library between double quotes: values in
// argument strings and cell values.  These routines make sure the library
// takes exactly the text given, whatever it holds.
#pragma once

#include <string>
#include <string_view>

namespace zscan {

// A value for an argument string (a path, for example) between double
// quotes, its own double quotes doubled.
std::string quoted_argument(std::string_view value);

// A value for OXLS_put_cell that makes the cell a string holding `text`
// exactly, whatever it looks like: a leading apostrophe keeps the library
// from typing it ("=SUM(1,2)" stays a text, never a live formula; "00123",
// "12:30" and "50%" stay as written), the double quotes around it are the
// only ones the call removes, and its backslashes are doubled, since a
// string's "\n" and "\\" are resolved.
std::string string_cell_value(int charset, std::string_view text);

// The longest head of `text` of at most `max_bytes` bytes that ends on a
// whole character of the character set.
std::string_view cut_to_whole_characters(int charset, std::string_view text, size_t max_bytes);

}  // namespace zscan
