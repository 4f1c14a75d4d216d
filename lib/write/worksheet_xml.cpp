// A worksheet part: dimension, view, column widths, the rows of the cell
// table and the hyperlinks.
#include "package_parts.h"

#include "cell_name.h"
#include "xml_compose.h"

namespace {

constexpr double DEFAULT_COLUMN_WIDTH = 8.38;

bool is_written(const XLS_CELL &cell) { return cell.type >= 0 || cell.style != 0; }

bool row_is_written(const XLS_ROW &row) {
    for (int c = 0; c < row.cell_count; ++c)
        if (is_written(row.cells[c])) return true;
    return false;
}

// The last row and column holding a written cell ("A1" for an empty sheet).
std::string last_used_cell(const XLS_SHEET &sheet) {
    int last_row = 0;
    int last_column = 0;
    for (int r = 0; r < sheet.row_count; ++r) {
        const XLS_ROW &row = sheet.rows[r];
        for (int c = row.cell_count - 1; c >= 0; --c) {
            if (!is_written(row.cells[c])) continue;
            last_row = r;
            if (c > last_column) last_column = c;
            break;
        }
    }
    return ozw_cell_name(last_row, last_column);
}

void append_columns(const XLS_SHEET &sheet, std::string &out) {
    if (!sheet.column_widths || sheet.column_width_count < 1 || sheet.width_from_template) return;
    out += "<cols>";
    for (int c = 0; c < sheet.column_width_count; ++c) {
        double width = sheet.column_widths[c];
        if (width == 0) width = DEFAULT_COLUMN_WIDTH;
        if (width < 0) width = 0;
        ozw_appendf(out, "<col min=\"%d\" max=\"%d\" width=\"%.3f\" bestFit=\"1\" customWidth=\"1\"/>", c + 1,
                    c + 1, width);
    }
    out += "</cols>";
}

void append_rows(const XLS_SHEET &sheet, std::string &out) {
    out += "<sheetData>";
    for (int r = 0; r < sheet.row_count; ++r) {
        const XLS_ROW &row = sheet.rows[r];
        if (!row_is_written(row)) continue;
        ozw_appendf(out, "<row r=\"%d\" spans=\"1:%d\"", r + 1, row.cell_count);
        if (row.height) ozw_appendf(out, " ht=\"%lf\" customHeight=\"1\"", row.height / 100.0);
        if (row.hidden) out += " hidden=\"1\"";
        out += ">";
        for (int c = 0; c < row.cell_count; ++c) ozw_xml_memcell(row.cells[c], r, c, out);
        out += "</row>";
    }
    out += "</sheetData>";
}

}  // namespace

void ozw_xml_worksheet(XLS_BOOK *book, int sheet_index, std::string &out) {
    const XLS_SHEET &sheet = book->sheets[sheet_index];
    out += XML_DECLARATION;
    out += "<worksheet xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\" "
           "xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\">";
    ozw_appendf(out, "<dimension ref=\"A1:%s\"/>", last_used_cell(sheet).c_str());
    ozw_appendf(out,
                "<sheetViews><sheetView tabSelected=\"%d\" zoomScale=\"%d\" workbookViewId=\"0\" "
                "showGridLines=\"1\"><selection activeCell=\"A1\" sqref=\"A1\" /></sheetView></sheetViews>",
                sheet_index == 0 ? 1 : 0, sheet.zoom);
    ozw_appendf(out, "<sheetFormatPr defaultRowHeight=\"%.1f\"/>", sheet.default_row_height / 100.0);
    append_columns(sheet, out);
    append_rows(sheet, out);
    ozw_xml_hyperlinks(sheet, out);
    out += "</worksheet>";
}
