// Cell elements of a worksheet's sheetData, one per cell record.
#include "package_parts.h"

#include "cell_name.h"
#include "xml_compose.h"

#include <cstdio>
#include <cstring>

namespace {

const char *text_of(const char *text) { return text ? text : ""; }

// The time fraction of a date-time or time cell from its decimal point on
// (".062500"); empty when the value text has none.
const char *fraction_part(const char *text) {
    const char *point = text ? std::strchr(text, '.') : nullptr;
    return point ? point : "";
}

}  // namespace

void ozw_xml_memcell(const XLS_CELL &cell, int row, int column, std::string &out) {
    if (cell.type == XLS_CELL_EMPTY && cell.style == 0) return;
    std::string name = ozw_cell_name(row, column);
    char style[24] = "";
    if (cell.style > 0) std::snprintf(style, sizeof style, " s=\"%u\"", cell.style);
    switch (cell.type) {
    case XLS_CELL_TEXT:
        ozw_appendf(out, "<c r=\"%s\" t=\"str\"><v>", name.c_str());
        ozw_append_xml(out, text_of(cell.text));
        out += "</v></c>";
        break;
    case XLS_CELL_INTEGER:
    case XLS_CELL_DECIMAL:
    case XLS_CELL_PERCENT:
        ozw_appendf(out, "<c r=\"%s\"%s><v>", name.c_str(), style);
        ozw_append_xml(out, text_of(cell.text));
        out += "</v></c>";
        break;
    case XLS_CELL_DATE:
        ozw_appendf(out, "<c r=\"%s\"%s><v>%d</v></c>", name.c_str(), style, cell.number);
        break;
    case XLS_CELL_DATE_TIME:
    case XLS_CELL_TIME_HM:
    case XLS_CELL_TIME_HMS:
        ozw_appendf(out, "<c r=\"%s\"%s><v>%d", name.c_str(), style, cell.number);
        ozw_append_xml(out, fraction_part(cell.text));
        out += "</v></c>";
        break;
    case XLS_CELL_SHARED_STRING:
        ozw_appendf(out, "<c r=\"%s\"%s t=\"s\"><v>%d</v></c>", name.c_str(), style, cell.number);
        break;
    case XLS_CELL_FORMULA:
        ozw_appendf(out, "<c r=\"%s\"%s><f>", name.c_str(), style);
        ozw_append_xml(out, text_of(cell.formula));
        out += "</f></c>";
        break;
    case XLS_CELL_FORMULA_VALUE:
        ozw_appendf(out, "<c r=\"%s\"%s><f>", name.c_str(), style);
        ozw_append_xml(out, text_of(cell.formula));
        out += "</f><v>";
        ozw_append_xml(out, text_of(cell.text));
        out += "</v></c>";
        break;
    default:
        // Empty but styled; a value still being typed is never saved.
        if (cell.type < 0) ozw_appendf(out, "<c r=\"%s\"%s/>", name.c_str(), style);
        break;
    }
}
