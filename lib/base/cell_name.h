// Cell names in A1 notation: columns A to XFD, rows 1 to 1048576, an
// optional `$` before the letters and before the number, ranges of two
// names joined by a colon.  Rows and columns here are 0-based.
#pragma once

#include <optional>
#include <string>
#include <string_view>

constexpr int OZW_MAX_ROW = 1048575;     // last row index (row 1048576)
constexpr int OZW_MAX_COLUMN = 16383;    // last column index (XFD)
constexpr int OZW_MAX_RANGE_TEXT = 80;   // longest range text in bytes

struct CellPos {
    int row = 0;
    int column = 0;
    bool operator==(const CellPos &) const = default;
};

struct CellRange {
    CellPos first;
    CellPos last;
    bool operator==(const CellRange &) const = default;
};

// Row and column of a name such as "B3", "b3", "$B$3" or "B$3"; nothing
// when the name is malformed or lies outside the sheet.  Letters are one to
// three of A to Z in either case; anything else in the column part is
// refused.  The row part is a number whose leading whole value is taken
// (digits, commas, at most one point, a sign only first).
std::optional<CellPos> ozw_parse_cell_name(std::string_view name);

// Column index of one to three letters ("A" 0, "AA" 26, "XFD" 16383), upper
// or lower case; nothing for anything else or a column past XFD.
std::optional<int> ozw_parse_column_letters(std::string_view letters);

// Results of ozw_parse_range.
constexpr int OZW_RANGE_OK = 0;
constexpr int OZW_RANGE_TOO_LONG = -3;   // more than OZW_MAX_RANGE_TEXT bytes
constexpr int OZW_RANGE_NO_COLON = -1;   // no ':' in the text
constexpr int OZW_RANGE_BAD_NAME = -2;   // a corner is not a cell name

// Corners of a range such as "A1:C5", split at the first ':'; the corners are
// kept in the order written.
int ozw_parse_range(std::string_view text, CellRange &range);

// Letters of a column index ("A" for 0, "XFD" for 16383); empty outside
// 0..OZW_MAX_COLUMN.
std::string ozw_column_letters(int column);
// "AB3" for row 2, column 27; empty when the row or column is outside the
// sheet.
std::string ozw_cell_name(int row, int column);
// "A1:C5"; empty when a corner is outside the sheet.
std::string ozw_range_name(int row1, int column1, int row2, int column2);

// Splits "Sheet!A1" or "'My sheet'!A1" into the sheet name (quotes removed,
// a doubled quote inside a quoted name stands for one) and the rest after
// the '!'.  Returns false when the text has no sheet prefix (no '!', or a
// quoted name that is not closed right before a '!'); the outputs are then
// untouched.
bool ozw_split_sheet_prefix(std::string_view text, std::string &sheet, std::string_view &rest);
