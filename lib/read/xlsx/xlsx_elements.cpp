// Element-name lookup.  Called for every tag of every part, so the table
// is searched by length first and then by plain comparison.
#include "xlsx/xlsx_elements.h"

#include <cctype>

namespace {

struct Entry {
    std::string_view name;
    int id;
};

constexpr Entry kElements[] = {
    {"c", EL_C}, {"f", EL_F}, {"v", EL_V}, {"t", EL_T}, {"r", EL_R},
    {"row", EL_ROW}, {"col", EL_COL}, {"sz", EL_SZ}, {"si", EL_SI}, {"xf", EL_XF},
    {"is", EL_IS}, {"a:t", EL_A_T}, {"a:p", EL_A_P}, {"rPh", EL_RPH}, {"top", EL_TOP},
    {"cols", EL_COLS}, {"font", EL_FONT}, {"name", EL_NAME}, {"fill", EL_FILL},
    {"left", EL_LEFT}, {"text", EL_TEXT}, {"sheet", EL_SHEET}, {"fonts", EL_FONTS},
    {"fills", EL_FILLS}, {"right", EL_RIGHT}, {"color", EL_COLOR}, {"sheets", EL_SHEETS},
    {"border", EL_BORDER}, {"bottom", EL_BOTTOM}, {"numFmt", EL_NUM_FMT},
    {"comment", EL_COMMENT}, {"sheetPr", EL_SHEET_PR}, {"cellXfs", EL_CELL_XFS},
    {"borders", EL_BORDERS}, {"numFmts", EL_NUM_FMTS}, {"property", EL_PROPERTY},
    {"worksheet", EL_WORKSHEET}, {"workbookPr", EL_WORKBOOK_PR}, {"mergeCell", EL_MERGE_CELL}, {"vt:lpwstr", EL_VT_LPWSTR},
    {"sheetViews", EL_SHEET_VIEWS}, {"mergeCells", EL_MERGE_CELLS},
    {"pageMargins", EL_PAGE_MARGINS}, {"pageSetUpPr", EL_PAGE_SET_UP_PR},
    {"patternFill", EL_PATTERN_FILL}, {"a:prstGeom", EL_A_PRST_GEOM},
    {"xdr:cNvPr", EL_XDR_CNVPR}, {"xdr:txBody", EL_XDR_TX_BODY},
    {"sheetFormatPr", EL_SHEET_FORMAT_PR}, {"sheetProtection", EL_SHEET_PROTECTION},
    {"xdr:oneCellAnchor", EL_XDR_ONE_CELL_ANCHOR}, {"xdr:twoCellAnchor", EL_XDR_TWO_CELL_ANCHOR},
};

int exact_id(std::string_view name) {
    if (name.empty()) return EL_UNKNOWN;
    for (const Entry &e : kElements)
        if (e.name.size() == name.size() && e.name[0] == name[0] && e.name == name) return e.id;
    if (name.size() == 9) {
        constexpr std::string_view data = "sheetdata";
        bool same = true;
        for (size_t i = 0; i < 9 && same; ++i)
            same = std::tolower(static_cast<unsigned char>(name[i])) == data[i];
        if (same) return EL_SHEET_DATA;
    }
    return EL_UNKNOWN;
}

}  // namespace

int xlsx_element_id(std::string_view name) {
    int id = exact_id(name);
    if (id != EL_UNKNOWN) return id;
    size_t colon = name.find(':');
    if (colon == std::string_view::npos) return EL_UNKNOWN;
    return exact_id(name.substr(colon + 1));
}
