// Decoding of the texts of package parts into plain UTF-8.
#pragma once

#include <string>
#include <string_view>

// Appends `raw` to `out` with the XML references replaced: the five named
// entities and every character reference (&#22770; &#x58F2; &#10;), which
// become UTF-8.  Unknown or malformed references stay as written.  Line
// ends written into the text (CR LF, or a CR alone) become LF, as for any
// XML reader.
void xml_decode_entities(std::string_view raw, std::string &out);

// As xml_decode_entities, then also the escapes Excel uses for characters
// XML cannot carry: _xHHHH_ becomes that character (a surrogate pair of
// escapes one character), "_x005F_" a plain underscore (so the escape
// text after it stays literal), and _x001A_ a blank.  Meant for cell and
// string texts, not for attribute values.
void xml_decode_text(std::string_view raw, std::string &out);

// The text of `raw` as xml_decode_text makes it: `raw` itself when it is a
// short text holding nothing to decode, else decoded into `buffer`.
std::string_view xml_text_view(std::string_view raw, std::string &buffer);

// Appends the UTF-8 form of a code point; false (nothing appended) for
// code points UTF-8 cannot carry (surrogates, beyond U+10FFFF, and NUL,
// which would end a C string).
bool append_utf8(unsigned long code, std::string &out);
