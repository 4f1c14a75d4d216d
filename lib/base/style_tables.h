// The style tables of a book: number formats, fonts, fills, borders and
// cell formats (XF records).  Readers fill them from a book; the writer
// finds or adds records in them and writes them out.  Pointed to by
// XLS_BOOK.styles.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct XfRecord {
    uint32_t num_format = 0;    // built-in id, or (kind 1) 1-based custom format position
    uint32_t font = 0;
    uint32_t fill = 0;
    uint32_t border = 0;
    uint32_t cell_style = 0;    // xfId: 0 normal, 1 hyperlink
    uint8_t alignment = 0;      // 11..33 position code, 0 none
    uint8_t reserved = 0;
    uint8_t num_format_kind = 0; // 0 built-in id, 1 custom position, 2 quote-prefixed text
    uint8_t alignment_flags = 0; // 1 vertical text, 2 wrap, 4 shrink
    uint8_t unlocked = 0;
    int32_t rotation = 0;
    int32_t indent = 0;
    bool operator==(const XfRecord &) const = default;
};

struct FontRecord {
    int8_t name_code = 10;      // -1: custom name in `name`
    int16_t size = 11;          // points
    uint8_t flags = 0;          // 1 italic, 2 bold, 4 underline, 8 hyperlink look
    uint32_t color = 0;         // 0 none, 0xFFFFFFFF rgb, else palette index
    uint8_t rgb[3] = {0, 0, 0};
    std::string name;
    bool operator==(const FontRecord &) const = default;
};

struct FillRecord {
    int pattern = 0;            // 0 none, 1 solid, ... 5 gray125 ...
    uint32_t foreground = 0;
    uint32_t background = 0;
    bool operator==(const FillRecord &) const = default;
};

struct BorderRecord {
    int style[4] = {0, 0, 0, 0}; // left, right, top, bottom line styles
    bool operator==(const BorderRecord &) const = default;
};

// A number format of the book: its id and format code.  Readers keep the
// book's own formats here (id, code, and the display format the code is
// classified as, from the code as the book stores it); the writer keeps its
// custom formats (kind, decimals, id from 176 upward).
struct NumberFormat {
    int id = 0;
    std::string code;
    int kind = 0;
    int decimals = 0;
    int format_id = 0;
};

struct StyleTables {
    std::vector<NumberFormat> number_formats;
    std::vector<FontRecord> fonts;
    std::vector<FillRecord> fills;
    std::vector<BorderRecord> borders;
    std::vector<XfRecord> xfs;  // style index s refers to xfs[s - 1] when writing,
                                // to xfs[s] when reading a book's own table
};
