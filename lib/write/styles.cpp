// Find-or-add over the XF and font tables, and per-cell style changes.
#include "styles.h"

#include "book_record.h"
#include "messages.h"
#include "result_codes.h"

#include <algorithm>
#include <new>

namespace {

// Index of the first record equal to `record`, appending it when absent
// and the table has room.  -2 no memory, -9 full.
template <typename Record>
int find_or_add(std::vector<Record> &table, const Record &record, int limit) {
    auto found = std::find(table.begin(), table.end(), record);
    if (found != table.end()) return static_cast<int>(found - table.begin());
    if (static_cast<int>(table.size()) >= limit) return OZW_LIMIT_REACHED;
    try {
        table.push_back(record);
    } catch (const std::bad_alloc &) {
        return OXLS_ERR_MEMORY;
    }
    return static_cast<int>(table.size()) - 1;
}

int set_cell_xf(XLS_BOOK *book, XLS_CELL &cell, const XfRecord &xf) {
    int style = ozw_set_xf(book, xf);
    if (style < 0) return style;
    cell.style = static_cast<unsigned>(style);
    return 0;
}

}  // namespace

XfRecord ozw_default_xf() {
    XfRecord xf;
    xf.alignment = 31;
    return xf;
}

int ozw_set_xf(XLS_BOOK *book, const XfRecord &xf) {
    std::vector<XfRecord> &xfs = ozw_styles(book)->xfs;
    int position = find_or_add(xfs, xf, MAX_XF);
    if (position == OZW_LIMIT_REACHED)
        return ozw_set_error(book, OZW_LIMIT_REACHED, OXLS_03009, static_cast<int>(xfs.size()), "ozw_set_xf() MAX_XF");
    return position < 0 ? position : position + 1;
}

int ozw_set_font(XLS_BOOK *book, const FontRecord &font) {
    std::vector<FontRecord> &fonts = ozw_styles(book)->fonts;
    int position = find_or_add(fonts, font, MAX_FONT);
    if (position == OZW_LIMIT_REACHED)
        return ozw_set_error(book, OZW_LIMIT_REACHED, OXLS_03009, static_cast<int>(fonts.size()),
                             "ozw_set_font() MAX_FONT");
    return position;
}

XfRecord ozw_cell_xf(XLS_BOOK *book, const XLS_CELL &cell) {
    const std::vector<XfRecord> &xfs = ozw_styles(book)->xfs;
    if (cell.style == 0 || cell.style > xfs.size()) return ozw_default_xf();
    return xfs[cell.style - 1];
}

int ozw_set_cell_alignment(XLS_BOOK *book, XLS_CELL &cell, uint8_t code) {
    XfRecord xf = ozw_cell_xf(book, cell);
    xf.alignment = code;
    return set_cell_xf(book, cell, xf);
}

int ozw_set_cell_alignment_flags(XLS_BOOK *book, XLS_CELL &cell, uint8_t flags) {
    XfRecord xf = ozw_cell_xf(book, cell);
    xf.alignment_flags |= flags;
    return set_cell_xf(book, cell, xf);
}

int ozw_set_cell_font(XLS_BOOK *book, XLS_CELL &cell, int mask, const FontRecord &font) {
    XfRecord xf = ozw_cell_xf(book, cell);
    FontRecord merged = font;
    const std::vector<FontRecord> &fonts = ozw_styles(book)->fonts;
    if (cell.style != 0 && xf.font < fonts.size()) {
        merged = fonts[xf.font];
        if (mask & FONT_FIELD_NAME) {
            merged.name_code = font.name_code;
            merged.name = font.name;
        }
        if (mask & FONT_FIELD_SIZE) merged.size = font.size;
        if (mask & FONT_FIELD_STYLE) merged.flags = font.flags;
        if (mask & FONT_FIELD_COLOR) {
            merged.color = font.color;
            std::copy(std::begin(font.rgb), std::end(font.rgb), merged.rgb);
        }
    }
    int position = ozw_set_font(book, merged);
    if (position < 0) return position;
    xf.font = static_cast<uint32_t>(position);
    return set_cell_xf(book, cell, xf);
}
