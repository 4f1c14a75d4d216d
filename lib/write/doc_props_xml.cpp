// The document property parts: "docProps/app.xml" (application, sheet
// titles, manager, company) and "docProps/core.xml" (title, subject,
// keywords, creator, times).
#include "package_parts.h"

#include "book_properties.h"
#include "xml_compose.h"

#include <string_view>

namespace {

constexpr int BOOK_KIND_2010 = 30;

// <tag>text</tag> when the text is not empty.
void append_optional(std::string &out, const char *tag, std::string_view text) {
    if (text.empty()) return;
    ozw_appendf(out, "<%s>", tag);
    ozw_append_xml(out, text);
    ozw_appendf(out, "</%s>", tag);
}

}  // namespace

// The sheet titles are "Sheet1" ... by position, whatever the sheets are
// called.
void ozw_xml_app(XLS_BOOK *book, std::string &out) {
    int n = book->sheet_count;
    out += XML_DECLARATION;
    ozw_appendf(out,
                "<Properties xmlns=\"http://schemas.openxmlformats.org/officeDocument/2006/extended-properties\" "
                "xmlns:vt=\"http://schemas.openxmlformats.org/officeDocument/2006/docPropsVTypes\">"
                "<Application>Microsoft Excel</Application><DocSecurity>0</DocSecurity>"
                "<ScaleCrop>false</ScaleCrop><HeadingPairs><vt:vector size=\"2\" baseType=\"variant\">"
                "<vt:variant><vt:lpstr>ワークシート</vt:lpstr></vt:variant><vt:variant><vt:i4>%d</vt:i4>"
                "</vt:variant></vt:vector></HeadingPairs><TitlesOfParts><vt:vector size=\"%d\" "
                "baseType=\"lpstr\">",
                n, n);
    for (int i = 1; i <= n; ++i) ozw_appendf(out, "<vt:lpstr>Sheet%d</vt:lpstr>", i);
    out += "</vt:vector></TitlesOfParts>";
    if (const BookProperties *properties = ozw_find_book_properties(book))
        append_optional(out, "Manager", properties->manager);
    out += "<Company>";
    ozw_append_xml(out, book->company);
    ozw_appendf(out,
                "</Company><LinksUpToDate>false</LinksUpToDate><SharedDoc>false</SharedDoc>"
                "<HyperlinksChanged>false</HyperlinksChanged><AppVersion>%s</AppVersion></Properties>",
                book->kind[0] == BOOK_KIND_2010 ? "14.0000" : "12.0000");
}

void ozw_xml_core(XLS_BOOK *book, const std::string &timestamp, std::string &out) {
    out += XML_DECLARATION;
    out += "<cp:coreProperties "
           "xmlns:cp=\"http://schemas.openxmlformats.org/package/2006/metadata/core-properties\" "
           "xmlns:dc=\"http://purl.org/dc/elements/1.1/\" xmlns:dcterms=\"http://purl.org/dc/terms/\" "
           "xmlns:dcmitype=\"http://purl.org/dc/dcmitype/\" "
           "xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\">";
    if (const BookProperties *properties = ozw_find_book_properties(book)) {
        append_optional(out, "dc:title", properties->title);
        append_optional(out, "dc:subject", properties->subject);
        append_optional(out, "cp:keywords", properties->keywords);
    }
    out += "<dc:creator>";
    ozw_append_xml(out, book->author);
    out += "</dc:creator><cp:lastModifiedBy>";
    ozw_append_xml(out, book->author);
    ozw_appendf(out,
                "</cp:lastModifiedBy><dcterms:created xsi:type=\"dcterms:W3CDTF\">%s</dcterms:created>"
                "<dcterms:modified xsi:type=\"dcterms:W3CDTF\">%s</dcterms:modified></cp:coreProperties>",
                timestamp.c_str(), timestamp.c_str());
}
