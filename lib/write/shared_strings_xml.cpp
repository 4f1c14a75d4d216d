// The shared strings part ("xl/sharedStrings.xml"): every entry of the
// book's shared string table, in index order.
#include "package_parts.h"

#include "xml_compose.h"

#include <string_view>

namespace {

// Whitespace must be kept as written, so texts holding any get
// xml:space="preserve".
bool has_blank(std::string_view text) { return text.find_first_of(" \t\r\n") != std::string_view::npos; }

}  // namespace

void ozw_xml_sst(XLS_BOOK *book, std::string &out) {
    out += XML_DECLARATION;
    ozw_appendf(out,
                "<sst xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\" count=\"%d\" "
                "uniqueCount=\"%d\">",
                book->sst_count, book->sst_count);
    for (int i = 0; i < book->sst_count; ++i) {
        std::string_view text(book->sst[i].text ? book->sst[i].text : "", book->sst[i].length);
        out += has_blank(text) ? "<si><t xml:space=\"preserve\">" : "<si><t>";
        ozw_append_xml(out, text);
        out += "</t><phoneticPr fontId=\"1\"/></si>";
    }
    out += "</sst>";
}
