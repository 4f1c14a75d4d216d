// Which characters beyond ASCII the texts of a number can hold, so that a
// search can leave out the number cells where its words cannot be found
// without making their texts at all.
#pragma once

#include "oxls.h"

#include <string>

// The characters beyond ASCII (UTF-8, each once or more) that the display
// text or the shown text of any number in cell style `style` can hold: the
// Japanese date, time, era and weekday words, the full-width brackets of
// the long date, the yen sign, and whatever the style's own number format
// code writes.
std::string ozw_number_characters(const XLS_BOOK &book, unsigned style);
