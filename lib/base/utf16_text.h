// UTF-16 text of either byte order turned into UTF-8: the strings of a
// workbook stream and package parts written in UTF-16.
#pragma once

#include <cstddef>
#include <string>

// Appends the UTF-8 of `units` UTF-16 code units at `data`, little-endian
// unless `big_endian`.  A surrogate without its partner becomes U+FFFD.
void append_utf16_as_utf8(std::string &out, const unsigned char *data, size_t units, bool big_endian = false);
