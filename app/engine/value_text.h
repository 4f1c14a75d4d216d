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

// A cell text for OXLS_put_cell, so that the cell receives the text as it
// is: between double quotes (which the call removes, and no others) and
// with its backslash escapes kept from being resolved.  What the text
// looks like still decides its type: "123" is a number, a leading "=" a
// formula, a leading "'" a string without the apostrophe.
std::string quoted_cell_value(int charset, std::string_view text);

// The longest head of `text` of at most `max_bytes` bytes that ends on a
// whole character of the character set.
std::string_view cut_to_whole_characters(int charset, std::string_view text, size_t max_bytes);

}  // namespace zscan
