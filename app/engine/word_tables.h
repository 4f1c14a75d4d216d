// The word tables of a search: the search words (the list file's words
// first, then the typed ones) and the file-name keywords (the first ten).
#pragma once

#include "engine/front_end.h"
#include "engine/search_context.h"

namespace zscan {

// Fills both tables from the context's settings.  False when the list file
// cannot be opened; the front end has then shown why.
bool build_word_tables(SearchContext &context, FrontEnd &front_end);

}  // namespace zscan
