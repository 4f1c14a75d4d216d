// Identifiers of the SpreadsheetML and DrawingML elements the package
// reader acts on.  Handlers switch on these numbers.
#pragma once

#include <string_view>

enum XlsxElement {
    EL_UNKNOWN = -1,
    EL_WORKSHEET = 101, EL_SHEET = 102, EL_SHEETS = 103, EL_SHEET_PR = 104,
    EL_SHEET_VIEWS = 105, EL_SHEET_DATA = 106, EL_SHEET_PROTECTION = 107,
    EL_SHEET_FORMAT_PR = 108, EL_PAGE_MARGINS = 109, EL_PAGE_SET_UP_PR = 110,
    EL_ROW = 111, EL_COL = 112, EL_COLS = 113, EL_C = 114, EL_CELL_XFS = 115,
    EL_XF = 116, EL_MERGE_CELLS = 117, EL_MERGE_CELL = 118, EL_FONT = 119,
    EL_FONTS = 120, EL_SZ = 121, EL_NAME = 122, EL_FILL = 123, EL_PATTERN_FILL = 124,
    EL_BORDER = 125, EL_TOP = 126, EL_BOTTOM = 127, EL_LEFT = 128, EL_RIGHT = 129,
    EL_COLOR = 130, EL_V = 131, EL_NUM_FMTS = 132, EL_NUM_FMT = 133, EL_F = 134,
    // Containers the handlers need to tell apart, and inline strings.
    EL_FILLS = 140, EL_BORDERS = 141, EL_IS = 142, EL_COMMENT = 143, EL_WORKBOOK_PR = 144,
    EL_SI = 501, EL_T = 502, EL_TEXT = 503, EL_R = 504, EL_RPH = 505,
    EL_PROPERTY = 507, EL_VT_LPWSTR = 508,
    EL_A_T = 513, EL_A_P = 514, EL_A_PRST_GEOM = 515, EL_XDR_CNVPR = 516,
    EL_XDR_ONE_CELL_ANCHOR = 517, EL_XDR_TWO_CELL_ANCHOR = 518, EL_XDR_TX_BODY = 519,
};

// Maps an element name to its identifier.  Names are compared exactly
// (sheetData without regard to case).  A name with a namespace prefix that
// is not itself known (x:row, main:c) is looked up by its local part, so
// books that prefix the SpreadsheetML namespace read the same.
int xlsx_element_id(std::string_view name);
