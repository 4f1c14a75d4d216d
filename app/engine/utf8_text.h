// UTF-8 as a byte string may hold it: where a text is valid UTF-8 and where
// it is not.  File names on POSIX systems are bytes, not always UTF-8.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace zscan {

// Length of the valid UTF-8 character starting at `at` (1 to 4), or 0
// when the bytes there are no valid character: a stray continuation
// byte, a cut sequence, an overlong form, a surrogate or a code point
// beyond U+10FFFF.
size_t utf8_character_length(std::string_view text, size_t at);

bool is_valid_utf8(std::string_view text);

// The text with each byte that is not part of a valid character replaced
// by U+FFFD, for places that can hold only valid text.
std::string with_replacement_characters(std::string_view text);

}  // namespace zscan
