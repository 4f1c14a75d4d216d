// Texts of a BIFF workbook stream turned into UTF-8: UTF-16LE strings, the
// 8-bit strings of the book's code page, and the length-prefixed string
// fields of records.
#pragma once

#include "code_page_decoder.h"

#include <cstddef>
#include <cstdint>
#include <string>

// Code page of a book without a CODEPAGE record.
constexpr int BIFF_DEFAULT_CODEPAGE = 932;

// The code page a CODEPAGE record's value names, as a Windows code page
// number: 1200 (8-bit strings are UTF-16 with the high bytes left out)
// is ISO 8859-1, and the BIFF aliases 32768 (Mac Roman), 32769
// (Windows-1252) and 367 (ASCII) are the code pages they stand for.
int biff_code_page(uint16_t record_value);

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
// the decoder's code page.  Throws std::bad_alloc when memory runs out.
std::string biff_field_text(const unsigned char *data, const BiffStringField &field, CodePageDecoder &decoder);
