// Cell and range names from hostile text.  Besides surviving the input, a
// name that parses must name a cell of the sheet, and printing that cell's
// name and parsing it again must give the same cell.
#pragma once

#include "oxls.h"
#include "cell_name.h"
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

namespace fuzz {

inline void check_cell_round_trip(const CellPos &pos) {
    if (pos.row < 0 || pos.row > OZW_MAX_ROW || pos.column < 0 || pos.column > OZW_MAX_COLUMN) std::abort();
    const auto again = ozw_parse_cell_name(ozw_cell_name(pos.row, pos.column));
    if (!again || !(*again == pos)) std::abort();
    const auto absolute = ozw_parse_cell_name("$" + ozw_column_letters(pos.column) + "$" + std::to_string(pos.row + 1));
    if (!absolute || !(*absolute == pos)) std::abort();
}

inline int run_cell_name(const uint8_t *data, size_t size) {
    const std::string text(reinterpret_cast<const char *>(data), size);
    const std::string_view view(text);

    if (auto pos = ozw_parse_cell_name(view)) check_cell_round_trip(*pos);
    if (auto column = ozw_parse_column_letters(view)) {
        if (*column < 0 || *column > OZW_MAX_COLUMN) std::abort();
        if (ozw_parse_column_letters(ozw_column_letters(*column)) != column) std::abort();
    }
    CellRange range;
    if (ozw_parse_range(view, range) == OZW_RANGE_OK) {
        check_cell_round_trip(range.first);
        check_cell_round_trip(range.last);
    }
    std::string sheet;
    std::string_view rest;
    if (ozw_split_sheet_prefix(view, sheet, rest)) {
        if (rest.data() < view.data() || rest.data() + rest.size() > view.data() + view.size()) std::abort();
        ozw_parse_cell_name(rest);
    }

    // The exported calls take NUL-terminated names.
    const std::string c_text(text.c_str());
    int row = 0, column = 0, row2 = 0, column2 = 0;
    OXLS_is_cell(nullptr, c_text.c_str(), &row, &column);
    OXLS_is_range(nullptr, c_text.c_str(), &row, &column, &row2, &column2);
    if (size >= 8) {
        char name[64];
        int r = 0, c = 0;
        std::memcpy(&r, data, sizeof r);
        std::memcpy(&c, data + 4, sizeof c);
        OXLS_cell_name(r, c, name);
        OXLS_cell_range(r, c, c, r, name);
    }
    return 0;
}

}  // namespace fuzz
