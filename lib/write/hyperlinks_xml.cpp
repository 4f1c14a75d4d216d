// Writing a sheet's hyperlinks: the worksheet's hyperlinks element and the
// sheet's relationship part, whose external targets the links refer to by
// relationship id.
#include "package_parts.h"

#include "book_record.h"
#include "cell_name.h"
#include "hyperlinks.h"
#include "xml_compose.h"

namespace {

const std::vector<SheetHyperlink> *links_of(const XLS_SHEET &sheet) {
    auto *extras = static_cast<const SheetExtras *>(sheet.extension);
    return extras ? &extras->hyperlinks : nullptr;
}

bool is_written(const SheetHyperlink &link) {
    return link.kind == HYPERLINK_IN_BOOK || link.kind == HYPERLINK_EXTERNAL ||
           link.kind == HYPERLINK_OTHER_BOOK;
}

bool has_relationship(const SheetHyperlink &link) {
    return link.kind == HYPERLINK_EXTERNAL || link.kind == HYPERLINK_OTHER_BOOK;
}

// location="'Sheet'!B3": inside the quotes an apostrophe of the name is
// doubled, as in a formula reference.
void append_location(std::string &out, const SheetHyperlink &link) {
    std::string quoted;
    for (char c : link.sheet) {
        quoted += c;
        if (c == '\'') quoted += '\'';
    }
    out += " location=\"'";
    ozw_append_xml(out, quoted);
    out += "'!";
    out += ozw_cell_name(link.target_row, link.target_column);
    out += "\"";
}

}  // namespace

void ozw_xml_hyperlinks(const XLS_SHEET &sheet, std::string &out) {
    const std::vector<SheetHyperlink> *links = links_of(sheet);
    if (!links) return;
    bool any = false;
    int relationship = 0;
    for (const SheetHyperlink &link : *links) {
        if (!is_written(link)) continue;
        if (!any) out += "<hyperlinks>";
        any = true;
        std::string ref = ozw_cell_name(link.row, link.column);
        ozw_appendf(out, "<hyperlink ref=\"%s\"", ref.c_str());
        if (link.kind == HYPERLINK_IN_BOOK) {
            append_location(out, link);
            out += " display=\"";
            ozw_append_xml(out, link.sheet);
            out += "\"/>";
            continue;
        }
        ozw_appendf(out, " r:id=\"rId%d\"", ++relationship);
        bool names_a_place = !link.sheet.empty() || link.target_row >= 0;
        if (link.kind == HYPERLINK_OTHER_BOOK && names_a_place) append_location(out, link);
        out += "/>";
    }
    if (any) out += "</hyperlinks>";
}

void ozw_xml_sheet_rels(XLS_BOOK *book, int sheet_index, std::string &out) {
    out += XML_DECLARATION;
    out += RELATIONSHIPS_OPEN;
    int relationship = 0;
    if (const std::vector<SheetHyperlink> *links = links_of(book->sheets[sheet_index])) {
        for (const SheetHyperlink &link : *links) {
            if (!has_relationship(link)) continue;
            ozw_appendf(out,
                        "<Relationship Id=\"rId%d\" "
                        "Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/hyperlink\" "
                        "Target=\"",
                        ++relationship);
            ozw_append_xml(out, link.target);
            out += "\" TargetMode=\"External\"/>";
        }
    }
    ozw_appendf(out,
                "<Relationship Id=\"rId%d\" "
                "Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/printerSettings\" "
                "Target=\"../printerSettings/printerSettings%d.bin\"/></Relationships>",
                relationship + 1, sheet_index + 1);
}
