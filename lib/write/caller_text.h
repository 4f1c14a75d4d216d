// Texts handed in by the caller, in the book's caller character set, made
// into the forms the writer keeps (UTF-8) and the forms messages take
// (Shift-JIS).
#pragma once

#include "oxls.h"

#include <string>
#include <string_view>

// 0, or -2 when memory cannot be had.
int ozw_caller_to_utf8(XLS_BOOK *book, std::string_view text, std::string &out);
// For message arguments; the text unchanged when it cannot be converted.
std::string ozw_caller_to_sjis(XLS_BOOK *book, std::string_view text);
std::string ozw_utf8_to_sjis(std::string_view text);
