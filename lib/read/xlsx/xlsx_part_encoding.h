// The encoding of a package part: XML parts may be written in UTF-8 or in
// UTF-16 of either byte order, which a byte-order mark or the first
// characters of the XML declaration tell.  The parsers take UTF-8 alone,
// so a UTF-16 part is decoded before it is scanned.
#pragma once

#include <string>
#include <string_view>

// The part's text as UTF-8: `raw` itself (without a UTF-8 byte-order mark)
// when it is UTF-8 already, else its UTF-16 decoded into `decoded`.
// 0; OZW_NOT_A_BOOK when the part is in an encoding the library does not
// read (UTF-32, or another one its XML declaration names); -2 out of
// memory.
int xlsx_part_utf8(std::string_view raw, std::string &decoded, std::string_view &text);
