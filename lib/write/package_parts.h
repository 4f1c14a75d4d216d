// The texts of the parts of an Excel 2007 package, each built whole into a
// growing text.  Texts are UTF-8; every XML part starts with the
// declaration line.  Growth failures surface as std::bad_alloc.
#pragma once

#include "oxls.h"

#include <string>

inline constexpr char XML_DECLARATION[] =
    "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\r\n";
inline constexpr char RELATIONSHIPS_OPEN[] =
    "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">";

// "[Content_Types].xml", "_rels/.rels", "xl/_rels/workbook.xml.rels",
// "xl/workbook.xml".
void ozw_xml_content_types(XLS_BOOK *book, std::string &out);
void ozw_xml_package_rels(std::string &out);
void ozw_xml_workbook_rels(XLS_BOOK *book, std::string &out);
void ozw_xml_workbook(XLS_BOOK *book, std::string &out);
// "docProps/app.xml" and "docProps/core.xml" (created and modified both
// `timestamp`, a W3CDTF text).
void ozw_xml_app(XLS_BOOK *book, std::string &out);
void ozw_xml_core(XLS_BOOK *book, const std::string &timestamp, std::string &out);
// "xl/theme/theme1.xml".
void ozw_xml_theme(std::string &out);
// "xl/sharedStrings.xml" and "xl/styles.xml".
void ozw_xml_sst(XLS_BOOK *book, std::string &out);
void ozw_xml_styles(XLS_BOOK *book, std::string &out);
// "xl/worksheets/sheet%d.xml" and "xl/worksheets/_rels/sheet%d.xml.rels"
// of the sheet at `sheet_index`.
void ozw_xml_worksheet(XLS_BOOK *book, int sheet_index, std::string &out);
void ozw_xml_sheet_rels(XLS_BOOK *book, int sheet_index, std::string &out);

// One cell element of the cell table (nothing for an empty cell without a
// style).
void ozw_xml_memcell(const XLS_CELL &cell, int row, int column, std::string &out);
// The hyperlinks element of a sheet (nothing when no link is written).
void ozw_xml_hyperlinks(const XLS_SHEET &sheet, std::string &out);
