// Texts of a BIFF workbook stream turned into UTF-8: UTF-16LE strings, the
// 8-bit strings of the book's code page, and the length-prefixed string
// fields of records.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// Code page of a book without a CODEPAGE record.
constexpr int BIFF_DEFAULT_CODEPAGE = 932;
// Code page that marks a book's 8-bit strings as UTF-16 with the high
// bytes left out (ISO 8859-1).
constexpr int BIFF_CODEPAGE_UTF16 = 1200;

// UTF-8 of `units` UTF-16LE code units; an unpaired surrogate becomes U+FFFD.
void biff_append_utf16le(std::string &out, const unsigned char *data, size_t units);
// UTF-8 of 8-bit text in a code page: 932 (Shift-JIS), 1252 and its BIFF
// alias 32769, 10000 and its alias 32768 (Mac Roman), 65001 (UTF-8); any
// other code page, 1200 included, takes each byte as its own code point.
std::string biff_decode_8bit(int codepage, const unsigned char *data, size_t length);

// A string field of a record: `chars` characters, 16-bit when `wide`.
struct BiffStringField {
    size_t chars = 0;
    bool wide = false;
    size_t offset = 0;   // first character byte in the record
};

// Reads the string field of a record's data at `offset`: a character count
// of `count_bytes` (1 or 2) bytes, then, when `has_flags`, an option byte
// whose bit 0 marks 16-bit characters.  The characters are cut to the
// record's end.  False when the count or option byte lies past the end.
bool biff_string_field(const unsigned char *data, size_t length, size_t offset, int count_bytes,
                       bool has_flags, BiffStringField &field);
// UTF-8 of a string field: 16-bit characters as UTF-16LE, 8-bit ones in
// the code page.
std::string biff_field_text(const unsigned char *data, const BiffStringField &field, int codepage);
