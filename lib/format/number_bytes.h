// The bytes the texts of a number can hold, so that a search can leave out
// the number cells where its words cannot be found without making their
// texts at all.
#pragma once

#include "byte_set.h"
#include "style_tables.h"

// Every byte of every text a number stored in cell style `style` can be
// found by: its display text (formatted, through the kind and format id the
// style gives), its shown text under the style's number format and, when
// that shows dates, its date form.  `escaped` as for ozw_style_shown_format.
ByteSet ozw_style_number_bytes(const StyleTables *styles, bool escaped, unsigned style);
