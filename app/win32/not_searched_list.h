// The list of the books and folders a search could not look into, written
// for the user to read in Notepad: one line "path<TAB>reason" per item, in
// walk order, in Shift-JIS with CR LF line ends, in the temporary folder
// beside the result.
#pragma once

#include "engine/search_context.h"

#include <string>

namespace zscan {

// Writes the list of the context's not-searched items.  Its path, or empty
// when the file cannot be written.
std::string write_not_searched_list(const SearchContext &context);

}  // namespace zscan
