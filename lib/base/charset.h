// Character-set codes and conversion between Shift-JIS (CP932), EUC-JP,
// UTF-8 and UTF-16BE, plus the small text routines that walk text
// character by character so that a trail byte is never taken for ASCII.
#pragma once

#include <string>
#include <string_view>

enum Charset { CS_SJIS = 1, CS_EUC = 2, CS_UTF8 = 3, CS_UTF16BE = 4, CS_WIDE5 = 5 };

// Number of further bytes of the character whose first byte is `byte`
// (0 for a single-byte character); *index is advanced by that number.
int orb_char_len(int code, unsigned char byte, int *index);

// In-place conversion of the *length bytes at text; the caller's buffer
// must have room for the result and its terminator (Shift-JIS to UTF-8
// grows a text to at most 1.5 times; Shift-JIS to EUC-JP adds a byte per
// half-width katakana; UTF-8 to Shift-JIS never grows).  Writes the
// converted bytes and one zero byte, zeroes the rest of the old length, and
// nothing beyond.  *length is updated.  0, or -2 when memory cannot be had
// (the text is left as it was).  Pairs without a conversion leave the text
// unchanged.
int orb_convert(int from, int to, char *text, int *length);
// The same conversion into a new string (never writes out of bounds); an
// empty string when memory cannot be had.
std::string orb_convert(int from, int to, std::string_view text);
// The same again with the result code: 0, or -2 (out left empty).
int orb_convert(int from, int to, std::string_view text, std::string &out);

int orb_upper(int code, char *text);     // 0; -1 when a quote is never closed

// Full-width space folding: each full-width space becomes as many ASCII
// spaces as it has bytes (Shift-JIS 81 40, EUC A1 A1, UTF-8 E3 80 80).
void orb_fold_fullwidth_spaces(int code, char *text);
