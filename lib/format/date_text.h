// Texts of date and time values in the date and time format ids
// (301 to 343, 401 to 407; see format_id.h).  The texts are UTF-8: the
// Japanese formats hold non-ASCII characters (年, 令和, 時...), so the cell
// calls convert them to the caller's character set like any other cell text.
#pragma once

#include "byte_set.h"
#include "oxls.h"

#include <string>

// Text of a serial (day number plus time fraction) in a format id; an empty
// text for an id that is not a date or time format, and for the era formats
// before 1900.
std::string ozw_date_text(double serial, int format_id);

// Text of a date or time cell: the day is the cell's integer value, and for
// date-and-time and time cells the time fraction held in its value text is
// added.  Format id 0 lets the cell's type choose: date 302, date and time
// 303, hours and minutes 402, time with seconds 404.
std::string ozw_cell_date_text(const XLS_CELL &cell, int format_id);

// The bytes ozw_date_text can write in format id `format_id`, added to
// `bytes`: digits and separators, and the month, weekday and era names
// only for the ids that show them.
void ozw_add_date_text_bytes(int format_id, ByteSet &bytes);
