// Parsing a property key: "A.幅", "A1:D1.配置", "Sheet1!B2.フォント.スタイル",
// "COMPANY".  The first segment may name a target (a range, a cell, a row
// number or column letters, optionally with a sheet prefix); the following
// segments are keywords.
#pragma once

#include "oxls.h"
#include "cell_name.h"

#include <string_view>

constexpr int PROPERTY_SEGMENTS_MAX = 6;
constexpr size_t PROPERTY_SEGMENT_LEN = 256;

struct PropertyTarget {
    int sheet = -1;      // sheet named by a prefix, -1 none
    int row = -1;        // 0-based, -1 when absent
    int column = -1;
    bool range = false;
    CellRange bounds;    // the range's corners as written (when `range`)
};

struct ParsedProperty {
    int code = 0;                 // property code (property_keywords.h)
    bool has_keyword = false;     // at least one segment was a keyword
    PropertyTarget target;
};

// Parses the key (UTF-8).  0; -3 or -9 with the book's message set.
int ozw_parse_property(XLS_BOOK *book, std::string_view key, ParsedProperty &parsed);
