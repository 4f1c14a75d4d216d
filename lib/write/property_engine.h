// Applying a parsed property to the book: column widths, alignment and font
// style of cells, automatic width and the document properties.
#pragma once

#include "oxls.h"
#include "property_parser.h"

#include <string_view>

// Largest number of cells one range property may touch; a larger range is
// refused rather than filling memory.
constexpr long long PROPERTY_CELLS_MAX = 4194304;

// Runs the action of `property` with `value` (UTF-8, surrounding double
// quotes removed) on the current sheet, or on the sheet named by the
// target's prefix.  `key` (UTF-8) names the property in messages.
// 0; -1 a value the property does not take; -2; -3 a property this library
// does not carry out; -9 a table or size limit.  The message is set.
int ozw_apply_property(XLS_BOOK *book, const ParsedProperty &property, std::string_view key,
                       std::string_view value);
