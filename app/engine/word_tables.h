// The word tables of a search: the search words (the list file's words
// first, then the typed ones) and the file-name keywords (the first ten).
#pragma once

#include "engine/front_end.h"
#include "engine/search_context.h"

#include <string>
#include <string_view>
#include <vector>

namespace zscan {

// Appends the words of `text` (the library's word reader, in `charset`) to
// `words`.  A word longer than the reader allows ends the text there.
void append_words(int charset, std::string_view text, std::vector<std::string> &words);

// Fills both tables from the context's settings.  False when the list file
// cannot be opened; the front end has then shown why.
bool build_word_tables(SearchContext &context, FrontEnd &front_end);

}  // namespace zscan
