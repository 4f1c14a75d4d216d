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
// Bytes before the terminator (two zero bytes for codes 4 and 5).
int orb_byte_len(int code, const char *text);

// In-place conversion; the caller's buffer must have room for the result
// (Shift-JIS to UTF-8 grows a text to at most 1.5 times; UTF-8 to Shift-JIS
// never grows).  *length is updated.  0, or -2 when memory cannot be had.
int orb_convert(int from, int to, char *text, int *length);
// The same conversion into a new string (never writes out of bounds).
std::string orb_convert(int from, int to, std::string_view text);

// Big-endian UTF-16 (ending with two zero bytes) from ANSI or UTF-8 text.
std::string orb_sjis_to_utf16be(std::string_view text);
std::string orb_utf8_to_utf16be(std::string_view text);

int orb_upper(int code, char *text);     // 0; -1 when a quote is never closed
int orb_lower(int code, char *text);
int orb_trim(char *text);
int orb_unquote(char *text);             // one pair of surrounding double quotes
int orb_unquote_single(char *text);
int orb_unquote_back(char *text);
int orb_split_path(int code, const char *path, char *folder_out);
int orb_shorten(int code, char *text, int width);
int orb_number_tidy(char *text);
int orb_is_digits(const char *text);      // -1 all digits, else 0
int orb_is_number_text(const char *text); // -1 digits, signs and points only
int orb_is_hex(const char *text);         // -1 hexadecimal digits only

// Full-width space folding: each full-width space becomes as many ASCII
// spaces as it has bytes (Shift-JIS 81 40, EUC A1 A1, UTF-8 E3 80 80).
void orb_fold_fullwidth_spaces(int code, char *text);
