// Rewriting of special value texts before they are typed: the current date
// and time, environment variables, and the "\$" escape.
#pragma once

#include <string>
#include <string_view>

// "$SYSDATETIME": the local time "yyyy/mm/dd hh:mm:ss"; "$SYSDATE": its date
// part; "$NAME" (under 82 bytes): the value of the environment variable
// NAME when it is set; "\$..." loses its backslash.  Anything else,
// quoted values included, stays as it is.
std::string ozw_rewrite_value(std::string_view value);

// Cuts a text (UTF-8) of more than `max_chars` characters after
// max_chars - 1 of them; a text that starts with a double quote gets a
// closing one at the cut.
void ozw_cut_cell_text(std::string &text, size_t max_chars);
