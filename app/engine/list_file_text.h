// The text of a list file of search words, whatever encoding the user's
// editor saved it in: a UTF-8, UTF-16LE or UTF-16BE byte-order mark is
// honoured and dropped; without one, text that is valid UTF-8 is read as
// UTF-8 and anything else as Shift-JIS (CP932).
#pragma once

#include <string>
#include <string_view>

namespace zscan {

// The file's `bytes` as text in the character set `charset`.  Characters
// that set has no form for become its replacement character.
std::string list_file_text(std::string_view bytes, int charset);

}  // namespace zscan
