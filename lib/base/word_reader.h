// The word reader: splits a text into blank-separated words for search
// words, list files and settings lines.  Blanks are space, TAB, CR and LF;
// a quoted word keeps its quotes and may hold blanks; '=' is a word of its
// own; a quote inside a word ends it; a ';' ending the text is dropped;
// double-byte characters are never split.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

constexpr size_t ORB_WORD_LEN = 4000;   // longest word in bytes

// Reads the word of `text` that starts at or after `position` and moves
// `position` past it.  0; 1403 when no words remain; -9 when the word is
// longer than ORB_WORD_LEN (the rest of the text then counts as read).
int orb_read_word(int charset, std::string_view text, size_t &position, std::string &word);

// Appends every word of `text` to `words`.  0, or -9 at an over-long word
// (the words before it are kept, the rest of the text is dropped).
int orb_split_words(int charset, std::string_view text, std::vector<std::string> &words);
