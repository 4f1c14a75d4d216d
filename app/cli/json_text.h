// Texts written into JSON.  JSON strings hold Unicode text, but a POSIX
// path is bytes that need not be UTF-8: such a text is written with each
// byte that is no part of a valid character replaced by U+FFFD, and its
// exact bytes beside it in base64 under the same name with "_base64"
// appended, so that nothing is lost.
#pragma once

#include <string>
#include <string_view>

namespace zscan {

// A JSON string literal of the valid UTF-8 `text`, quotes included.
void append_json_string(std::string &out, std::string_view text);

// `"name":"text"`, and `,"name_base64":"..."` when `bytes` is no valid
// UTF-8.
void append_json_text_field(std::string &out, std::string_view name, std::string_view bytes);

// The bytes in base64 (RFC 4648, with padding).
std::string base64(std::string_view bytes);

}  // namespace zscan
