#include "number_bytes.h"

#include "date_text.h"
#include "format_id.h"
#include "number_shown_texts.h"
#include "number_text.h"

namespace {

// The format id a number of stored type `type` in the style is shown with.
int display_format_id(const StyleTables *styles, unsigned style, int type) {
    const XLS_CELL cell{static_cast<signed char>(type), style, 0, nullptr, nullptr, nullptr};
    return ozw_cell_format_id(styles, cell);
}

}  // namespace

ByteSet ozw_style_number_bytes(const StyleTables *styles, bool escaped, unsigned style) {
    ByteSet bytes;
    const int kind = ozw_style_cell_kind(styles, style);
    if (kind == OZW_KIND_GENERAL) {
        ozw_add_number_text_bytes(display_format_id(styles, style, XLS_CELL_INTEGER), bytes);
        ozw_add_number_text_bytes(display_format_id(styles, style, XLS_CELL_DECIMAL), bytes);
    } else if (kind == XLS_CELL_PERCENT) {
        ozw_add_percent_text_bytes(bytes);
    } else {
        ozw_add_date_text_bytes(display_format_id(styles, style, kind), bytes);
    }
    if (const auto format = ozw_style_shown_format(styles, escaped, style)) {
        format->add_bytes(bytes);
        if (format->has_dates()) bytes.add(OZW_DATE_FORM_BYTES);
    }
    return bytes;
}
