// The styles part: the book's own number formats, fonts, fills, borders and
// cell formats (XF records), appended to the book's style tables.  Only the
// entries of the main lists count: a <font> of a differential format or an
// <xf> of the cell-style list is not a cell's font or format.
#include "format_id.h"
#include "xlsx/xlsx_elements.h"
#include "xlsx/xlsx_parts.h"
#include "xlsx/xml_scanner.h"
#include "xml_text.h"

#include <algorithm>
#include <cstdlib>
#include <string>

namespace {

constexpr long long MAX_INDEX = 0x7FFFFFFF;

// Line styles of a border edge, numbered as in the binary file format.
int border_style_code(std::string_view name) {
    static constexpr std::string_view kStyles[] = {
        "none", "thin", "medium", "dashed", "dotted", "thick", "double", "hair",
        "mediumDashed", "dashDot", "mediumDashDot", "dashDotDot", "mediumDashDotDot", "slantDashDot"};
    for (size_t i = 0; i < sizeof kStyles / sizeof kStyles[0]; ++i)
        if (kStyles[i] == name) return static_cast<int>(i);
    return 0;
}

// Position of an edge in BorderRecord::style: left, right, top, bottom.
int edge_slot(int id) {
    switch (id) {
    case EL_LEFT: return 0;
    case EL_RIGHT: return 1;
    case EL_TOP: return 2;
    default: return 3;
    }
}

// Pattern codes of a fill: none, solid, and gray125 as the writer knows
// them; any other pattern counts as solid.
int pattern_code(std::string_view name) {
    if (name == "none") return 0;
    if (name == "gray125") return 5;
    return 1;
}

class StylesHandler : public XmlHandler {
public:
    explicit StylesHandler(StyleTables &styles) : styles_(styles) {}

    int start(const XmlTag &tag, const XmlScanner &scanner) override {
        int parent = scanner.open_id(1);
        switch (tag.id) {
        case EL_NUM_FMT:
            if (parent == EL_NUM_FMTS) add_number_format(tag.attributes);
            break;
        case EL_FONT:
            if (parent == EL_FONTS) styles_.fonts.emplace_back();
            break;
        case EL_SZ:
        case EL_NAME:
        case EL_COLOR:
            if (parent == EL_FONT && scanner.open_id(2) == EL_FONTS && !styles_.fonts.empty())
                font_detail(tag, styles_.fonts.back());
            break;
        case EL_FILL:
            if (parent == EL_FILLS) styles_.fills.emplace_back();
            break;
        case EL_PATTERN_FILL:
            if (parent == EL_FILL && scanner.open_id(2) == EL_FILLS && !styles_.fills.empty())
                styles_.fills.back().pattern = pattern_code(xml_attribute(tag.attributes, "patternType"));
            break;
        case EL_BORDER:
            if (parent == EL_BORDERS) styles_.borders.emplace_back();
            break;
        case EL_LEFT:
        case EL_RIGHT:
        case EL_TOP:
        case EL_BOTTOM:
            if (parent == EL_BORDER && scanner.open_id(2) == EL_BORDERS && !styles_.borders.empty())
                styles_.borders.back().style[edge_slot(tag.id)] =
                    border_style_code(xml_attribute(tag.attributes, "style"));
            break;
        case EL_XF:
            if (parent == EL_CELL_XFS) add_xf(tag.attributes);
            break;
        default:
            break;
        }
        return 0;
    }
    int end(const XmlTag &, const XmlScanner &) override { return 0; }
    int text(std::string_view, bool, const XmlScanner &) override { return 0; }

private:
    static uint32_t index(std::string_view text) {
        long long v = 0;
        return xml_unsigned(text, MAX_INDEX, v) ? static_cast<uint32_t>(v) : 0;
    }

    void add_number_format(std::string_view rest) {
        NumberFormat format;
        bool has_id = false;
        std::string_view name, value, stored_code;
        while (xml_next_attribute(rest, name, value)) {
            long long id = 0;
            if (name == "numFmtId") {
                has_id = xml_unsigned(value, MAX_INDEX, id);
                format.id = static_cast<int>(id);
            } else if (name == "formatCode") {
                stored_code = value;
                xml_decode_entities(value, format.code);
            }
        }
        // Classified as the package stores it, with its escapes.
        format.format_id = ozw_classify_format_code(stored_code);
        if (has_id) styles_.number_formats.push_back(std::move(format));
    }

    void add_xf(std::string_view rest) {
        XfRecord xf;
        std::string_view name, value;
        while (xml_next_attribute(rest, name, value)) {
            if (name == "numFmtId") xf.num_format = index(value);
            else if (name == "fontId") xf.font = index(value);
            else if (name == "fillId") xf.fill = index(value);
            else if (name == "borderId") xf.border = index(value);
            else if (name == "xfId") xf.cell_style = index(value);
        }
        styles_.xfs.push_back(xf);
    }

    static void font_detail(const XmlTag &tag, FontRecord &font) {
        std::string_view rest = tag.attributes, name, value;
        while (xml_next_attribute(rest, name, value)) {
            if (tag.id == EL_SZ && name == "val") {
                font.size = static_cast<int16_t>(std::clamp(std::atoi(std::string(value).c_str()), 1, 409));
            } else if (tag.id == EL_NAME && name == "val") {
                font.name.clear();
                xml_decode_entities(value, font.name);
                font.name_code = -1;
            } else if (tag.id == EL_COLOR && name == "rgb" && value.size() >= 6) {
                // ARGB or RGB hex: the last six digits are the colour.
                std::string_view rgb = value.substr(value.size() - 6);
                for (int i = 0; i < 3; ++i)
                    font.rgb[i] = static_cast<uint8_t>(std::strtoul(std::string(rgb.substr(2 * i, 2)).c_str(), nullptr, 16));
                font.color = 0xFFFFFFFF;
            } else if (tag.id == EL_COLOR && name == "indexed") {
                font.color = index(value);
            }
        }
    }

    StyleTables &styles_;
};

}  // namespace

int xlsx_parse_styles(XlsxReadState &state, std::string_view text) {
    StyleTables &styles = *state.context.styles;
    styles.xfs.clear();
    StylesHandler handler(styles);
    XmlScanner scanner(xlsx_element_id);
    return scanner.scan(text, handler);
}
