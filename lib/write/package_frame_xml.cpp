// The parts that tie the package together: content types, the package
// relationships, the workbook and its relationships.
#include "package_parts.h"

#include "xml_compose.h"

namespace {

constexpr int CALC_ID = 145621;

}  // namespace

void ozw_xml_content_types(XLS_BOOK *book, std::string &out) {
    out += XML_DECLARATION;
    out += "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">"
           "<Override PartName=\"/xl/theme/theme1.xml\" "
           "ContentType=\"application/vnd.openxmlformats-officedocument.theme+xml\"/>"
           "<Override PartName=\"/xl/styles.xml\" "
           "ContentType=\"application/vnd.openxmlformats-officedocument.spreadsheetml.styles+xml\"/>"
           "<Default Extension=\"bin\" "
           "ContentType=\"application/vnd.openxmlformats-officedocument.spreadsheetml.printerSettings\"/>"
           "<Default Extension=\"rels\" ContentType=\"application/vnd.openxmlformats-package.relationships+xml\"/>"
           "<Default Extension=\"xml\" ContentType=\"application/xml\"/>"
           "<Override PartName=\"/xl/workbook.xml\" "
           "ContentType=\"application/vnd.openxmlformats-officedocument.spreadsheetml.sheet.main+xml\"/>"
           "<Override PartName=\"/docProps/app.xml\" "
           "ContentType=\"application/vnd.openxmlformats-officedocument.extended-properties+xml\"/>";
    for (int i = 1; i <= book->sheet_count; ++i)
        ozw_appendf(out,
                    "<Override PartName=\"/xl/worksheets/sheet%d.xml\" "
                    "ContentType=\"application/vnd.openxmlformats-officedocument.spreadsheetml.worksheet+xml\"/>",
                    i);
    out += "<Override PartName=\"/xl/sharedStrings.xml\" "
           "ContentType=\"application/vnd.openxmlformats-officedocument.spreadsheetml.sharedStrings+xml\"/>"
           "<Override PartName=\"/docProps/core.xml\" "
           "ContentType=\"application/vnd.openxmlformats-package.core-properties+xml\"/></Types>";
}

void ozw_xml_package_rels(std::string &out) {
    out += XML_DECLARATION;
    out += RELATIONSHIPS_OPEN;
    out += "<Relationship Id=\"rId3\" "
           "Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/extended-properties\" "
           "Target=\"docProps/app.xml\"/>"
           "<Relationship Id=\"rId2\" "
           "Type=\"http://schemas.openxmlformats.org/package/2006/relationships/metadata/core-properties\" "
           "Target=\"docProps/core.xml\"/>"
           "<Relationship Id=\"rId1\" "
           "Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/officeDocument\" "
           "Target=\"xl/workbook.xml\"/></Relationships>";
}

// Worksheets in descending order, then shared strings, styles and theme
// with the ids after the sheets'.
void ozw_xml_workbook_rels(XLS_BOOK *book, std::string &out) {
    int n = book->sheet_count;
    out += XML_DECLARATION;
    out += RELATIONSHIPS_OPEN;
    for (int i = n; i >= 1; --i)
        ozw_appendf(out,
                    "<Relationship Id=\"rId%d\" "
                    "Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/worksheet\" "
                    "Target=\"worksheets/sheet%d.xml\"/>",
                    i, i);
    ozw_appendf(out,
                "<Relationship Id=\"rId%d\" "
                "Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/sharedStrings\" "
                "Target=\"sharedStrings.xml\"/>"
                "<Relationship Id=\"rId%d\" "
                "Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/styles\" "
                "Target=\"styles.xml\"/>"
                "<Relationship Id=\"rId%d\" "
                "Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/theme\" "
                "Target=\"theme/theme1.xml\"/></Relationships>",
                n + 3, n + 2, n + 1);
}

// The window geometry comes from the book's tuning values (x 10, y 10,
// height 10000, width 18000 in a new book).
void ozw_xml_workbook(XLS_BOOK *book, std::string &out) {
    out += XML_DECLARATION;
    ozw_appendf(out,
                "<workbook xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\" "
                "xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\">"
                "<fileVersion appName=\"xl\" lastEdited=\"4\" lowestEdited=\"4\" rupBuild=\"4506\"/>"
                "<workbookPr  defaultThemeVersion=\"124226\"/><bookViews><workbookView xWindow=\"%d\" "
                "yWindow=\"%d\" windowWidth=\"%d\" windowHeight=\"%d\"/></bookViews><sheets>",
                book->tuning[0], book->tuning[1], book->tuning[3], book->tuning[2]);
    for (int i = 0; i < book->sheet_count; ++i) {
        out += "<sheet name=\"";
        ozw_append_xml(out, book->sheets[i].name);
        ozw_appendf(out, "\" sheetId=\"%d\" r:id=\"rId%d\"%s/>", i + 1, i + 1,
                    book->sheets[i].visible ? "" : " state=\"hidden\"");
    }
    ozw_appendf(out, "</sheets><calcPr calcId=\"%d\"/></workbook>", CALC_ID);
}
