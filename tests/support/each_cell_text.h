// Every recorded cell of every sheet of an open book read the way the
// search application reads it: the sheet chosen with OXLS_open_sheet2, each
// cell through OXLS_get_cell by the name OXLS_cell_name builds.  Shared by
// the tests that compare those texts and by the fuzz targets.
#pragma once

#include "oxls.h"

#include <climits>
#include <vector>

// Hands `each(sheet, row, column, name, text)` every cell whose text the
// call gives; a cell it refuses (a text too long for the buffer) is left
// out.  Stops after `most` cells.
template <class Each>
void each_cell_text(XLS_BOOK *book, Each &&each, int most = INT_MAX) {
    std::vector<char> text(XLS_CELL_UTF8_LEN);
    char type[255];
    char name[32];
    for (int s = 0; s < book->sheet_count; ++s) {
        if (OXLS_open_sheet2(book, s) != 0) continue;
        const XLS_SHEET &sheet = book->sheets[s];
        for (int r = 0; r < sheet.row_count; ++r) {
            const int width = sheet.rows ? sheet.rows[r].cell_count : 0;
            for (int c = 0; c < width; ++c) {
                if (--most < 0) return;
                if (OXLS_cell_name(r + 1, c + 1, name) != 0) continue;
                if (OXLS_get_cell(book, name, text.data(), XLS_CELL_UTF8_LEN, type, sizeof type) == 0)
                    each(s, r, c, name, text.data());
            }
        }
    }
}
