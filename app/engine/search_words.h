// Splitting typed search words, list files and file-name keywords into
// words.  Words are separated by blanks (space, TAB, CR, LF).  A phrase
// between double quotes is one word holding its blanks, without its
// quotes; "" inside a phrase stands for one quote, as in argument strings.
// An equals sign is a word of its own, and a semicolon ending the text is
// dropped.  Apostrophes are letters like any other (O'BRIEN is one word).
// Double-byte characters are never split.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace zscan {

// Longest word in bytes.
constexpr size_t kSearchWordMax = 4000;

// Appends the words of `text` (in `charset`) to `words`.  False at a word
// longer than kSearchWordMax; the words before it are kept.  An empty
// phrase ("") is no word: it would be found in every cell.
bool split_search_words(int charset, std::string_view text, std::vector<std::string> &words);

}  // namespace zscan
