// Which characters beyond ASCII the texts of a number can hold, so that a
// search can leave out the number cells where its words cannot be found
// without making their texts at all.
#pragma once

#include "oxls.h"

#include <string>
#include <string_view>

// The characters beyond ASCII (UTF-8, each once or more) that the display
// text or the shown text of any number under the number format code
// `code` can hold: the Japanese date, time, era and weekday words, the
// full-width brackets of the long date, the yen sign, and whatever the
// code itself writes.
std::string ozw_number_characters(std::string_view code);

// The same for the numbers in cell style `style` of `book`.
std::string ozw_style_number_characters(const XLS_BOOK &book, unsigned style);
