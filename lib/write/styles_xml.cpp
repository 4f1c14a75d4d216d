// The styles part ("xl/styles.xml") from the book's style tables.
#include "package_parts.h"

#include "book_record.h"
#include "styles.h"
#include "xml_compose.h"

namespace {

const char *font_name(const FontRecord &font) {
    switch (font.name_code) {
    case -1: return font.name.c_str();
    case 11: return "ＭＳゴシック";
    case 20: return "ＭＳ Ｐ明朝";
    case 21: return "ＭＳ明朝";
    case 31: return "HGP創英角ﾎﾟｯﾌﾟ体";
    case 32: return "HGP教科書体";
    case 33: return "HGP行書体";
    case 100: return "フォント1";
    case 101: return "フォント2";
    case 102: return "フォント3";
    default: return "ＭＳ Ｐゴシック";
    }
}

void append_number_formats(std::string &out, const StyleTables &styles) {
    ozw_appendf(out, "<numFmts count=\"%d\">", static_cast<int>(styles.number_formats.size()));
    for (const NumberFormat &format : styles.number_formats) {
        ozw_appendf(out, "<numFmt numFmtId=\"%d\" formatCode=\"", format.id);
        ozw_append_xml(out, format.code);
        out += "\"/>";
    }
    out += "</numFmts>";
}

void append_fonts(std::string &out, const StyleTables &styles) {
    ozw_appendf(out, "<fonts count=\"%d\">", static_cast<int>(styles.fonts.size()));
    for (const FontRecord &font : styles.fonts) {
        out += "<font>";
        if (font.flags & FONT_BOLD) out += "<b/>";
        if (font.flags & FONT_ITALIC) out += "<i/>";
        if (font.flags & (FONT_UNDERLINE | FONT_HYPERLINK)) out += "<u/>";
        ozw_appendf(out, "<sz val=\"%d\"/>", font.size);
        if (font.color == 0xFFFFFFFFu)
            ozw_appendf(out, "<color rgb=\"FF%02X%02X%02X\"/>", font.rgb[0], font.rgb[1], font.rgb[2]);
        else if (font.color != 0)
            ozw_appendf(out, "<color indexed=\"%u\"/>", font.color);
        else if (font.flags & FONT_HYPERLINK)
            out += "<color theme=\"10\"/>";
        out += "<name val=\"";
        ozw_append_xml(out, font_name(font));
        out += "\"/><family val=\"3\"/><charset val=\"128\"/></font>";
    }
    out += "</fonts>";
}

void append_fills(std::string &out, const StyleTables &styles) {
    static const char *const patterns[] = {
        "none", "solid", "darkGray", "mediumGray", "lightGray", "gray125", "gray0625",
        "darkHorizontal", "darkVertical", "darkDown", "darkUp", "darkGrid", "darkTrellis",
        "lightHorizontal", "lightVertical", "lightDown", "lightUp", "lightGrid", "lightTrellis"};
    constexpr int pattern_count = sizeof patterns / sizeof patterns[0];
    ozw_appendf(out, "<fills count=\"%d\">", static_cast<int>(styles.fills.size()));
    for (const FillRecord &fill : styles.fills) {
        int pattern = fill.pattern >= 0 && fill.pattern < pattern_count ? fill.pattern : 0;
        ozw_appendf(out, "<fill><patternFill patternType=\"%s\"/></fill>", patterns[pattern]);
    }
    out += "</fills>";
}

void append_borders(std::string &out, const StyleTables &styles) {
    static const char *const sides[] = {"left", "right", "top", "bottom"};
    static const char *const lines[] = {
        "none", "thin", "medium", "dashed", "dotted", "thick", "double", "hair",
        "mediumDashed", "dashDot", "mediumDashDot", "dashDotDot", "mediumDashDotDot", "slantDashDot"};
    constexpr int line_count = sizeof lines / sizeof lines[0];
    ozw_appendf(out, "<borders count=\"%d\">", static_cast<int>(styles.borders.size() + 1));
    out += "<border><left/><right/><top/><bottom/><diagonal/></border>";
    for (const BorderRecord &border : styles.borders) {
        out += "<border>";
        for (int side = 0; side < 4; ++side) {
            int line = border.style[side];
            if (line > 0 && line < line_count)
                ozw_appendf(out, "<%s style=\"%s\"/>", sides[side], lines[line]);
            else
                ozw_appendf(out, "<%s/>", sides[side]);
        }
        out += "<diagonal/></border>";
    }
    out += "</borders>";
}

void append_alignment(std::string &out, const XfRecord &xf) {
    out += "<alignment";
    int row = xf.alignment / 10;
    int column = xf.alignment % 10;
    if (row == 1) out += " vertical=\"top\"";
    if (row == 2) out += " vertical=\"center\"";
    if (column == 1) out += " horizontal=\"left\"";
    if (column == 2) out += " horizontal=\"center\"";
    if (column == 3) out += " horizontal=\"right\"";
    if ((xf.alignment_flags & ALIGN_VERTICAL_TEXT) && xf.rotation == 0) out += " textRotation=\"255\"";
    if (xf.rotation != 0) ozw_appendf(out, " textRotation=\"%d\"", xf.rotation);
    if (xf.indent != 0) ozw_appendf(out, " indent=\"%d\"", xf.indent);
    if (xf.alignment_flags & ALIGN_WRAP) out += " wrapText=\"1\"";
    if (xf.alignment_flags & ALIGN_SHRINK) out += " shrinkToFit=\"1\"";
    out += "/>";
}

// The numFmtId of an XF: a built-in id, the id of a custom format, or 0 for
// quote-prefixed text.
unsigned number_format_id(const XfRecord &xf, const StyleTables &styles) {
    if (xf.num_format_kind == 2) return 0;
    if (xf.num_format_kind == 1 && xf.num_format >= 1 && xf.num_format <= styles.number_formats.size())
        return static_cast<unsigned>(styles.number_formats[xf.num_format - 1].id);
    return xf.num_format;
}

void append_cell_formats(std::string &out, const StyleTables &styles) {
    ozw_appendf(out, "<cellXfs count=\"%d\">", static_cast<int>(styles.xfs.size() + 1));
    out += "<xf numFmtId=\"0\" fontId=\"0\" fillId=\"0\" borderId=\"0\" xfId=\"0\">"
           "<alignment vertical=\"center\"/></xf>";
    for (const XfRecord &xf : styles.xfs) {
        ozw_appendf(out, "<xf numFmtId=\"%u\" fontId=\"%u\" fillId=\"%u\" borderId=\"%u\"%s xfId=\"%u\"",
                    number_format_id(xf, styles), xf.font, xf.fill, xf.border,
                    xf.border >= 1 ? " applyBorder=\"1\"" : "", xf.cell_style);
        if (xf.fill >= 2) out += " applyFill=\"1\"";
        if (xf.num_format_kind == 1) out += " applyNumberFormat=\"1\"";
        if (xf.num_format_kind == 2) out += " quotePrefix=\"1\" applyAlignment=\"1\"";
        if (xf.unlocked) out += " applyProtection=\"1\"";
        out += ">";
        append_alignment(out, xf);
        if (xf.unlocked) out += "<protection locked=\"0\"/>";
        out += "</xf>";
    }
    out += "</cellXfs>";
}

}  // namespace

void ozw_xml_styles(XLS_BOOK *book, std::string &out) {
    const StyleTables &styles = *ozw_styles(book);
    out += XML_DECLARATION;
    out += "<styleSheet xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\">";
    append_number_formats(out, styles);
    append_fonts(out, styles);
    append_fills(out, styles);
    append_borders(out, styles);
    out += "<cellStyleXfs count=\"2\"><xf numFmtId=\"0\" fontId=\"0\" fillId=\"0\" borderId=\"0\">"
           "<alignment vertical=\"center\"/></xf><xf numFmtId=\"0\" fontId=\"2\" fillId=\"0\" borderId=\"0\">"
           "<alignment vertical=\"center\"/></xf></cellStyleXfs>";
    append_cell_formats(out, styles);
    out += "<cellStyles count=\"2\"><cellStyle name=\"ハイパーリンク\" xfId=\"1\" builtinId=\"8\"/>"
           "<cellStyle name=\"標準\" xfId=\"0\" builtinId=\"0\"/></cellStyles><dxfs count=\"0\"/>"
           "<tableStyles count=\"0\" defaultTableStyle=\"TableStyleMedium9\" "
           "defaultPivotStyle=\"PivotStyleLight16\"/></styleSheet>";
}
