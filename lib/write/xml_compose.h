// Building the XML texts of a package: printf-style appending to a growing
// text, and escaping of texts put into element content or attributes.
#pragma once

#include <string>
#include <string_view>

// Appends the formatted text (printf rules) to `out`.
void ozw_appendf(std::string &out, const char *format, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 2, 3)))
#endif
    ;

// Appends `text` (UTF-8) escaped for XML content or a double-quoted
// attribute: & < > " become entities; control characters that XML 1.0 cannot
// carry, and a carriage return (which parsers would turn into a line feed),
// become the _xHHHH_ escapes spreadsheet readers decode; a literal "_x"
// that would read as such an escape has its underscore escaped; bytes that
// are no valid UTF-8 become '?'.  The result is always well-formed XML.
void ozw_append_xml(std::string &out, std::string_view text);
