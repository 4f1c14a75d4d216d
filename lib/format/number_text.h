// Texts of numeric cell values: grouped and currency numbers, percentages.
#pragma once

#include "byte_set.h"

#include <string>
#include <string_view>

// Text of a numeric value text (as a cell stores it) in a format id:
// grouped numbers for 107 and 108, a backslash (the yen sign in Shift-JIS)
// and the grouped number for 200 to 205, an empty text for 900, the value
// text zero-trimmed for any other id.  `decimals` above 0 rounds the
// fraction of a grouped number to exactly that many digits; 0 or less shows
// its digits up to six places, trimmed, and none for a whole number.
// Fractions are never shown with more than 64 digits.
std::string ozw_number_text(std::string_view value_text, int format_id, int decimals);

// Text of a stored percentage fraction: the fraction times 100 with exactly
// `decimals` digits after the point, or, for a negative `decimals`, with up
// to six zero-trimmed digits (one digit at least); then "%".
// "0.25" -> "25.0%", "0.125" with 2 decimals -> "12.50%".
std::string ozw_percent_text(std::string_view value_text, int decimals);

// The bytes ozw_number_text can write for a number (a stored integer or
// decimal) in format id `format_id`, and ozw_percent_text for a
// percentage, added to `bytes`.
void ozw_add_number_text_bytes(int format_id, ByteSet &bytes);
void ozw_add_percent_text_bytes(ByteSet &bytes);
