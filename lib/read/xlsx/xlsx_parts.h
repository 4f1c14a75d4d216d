// Parsers of the XML parts of an Excel 2007 package.  Each takes the part's
// text (UTF-8), scans it once and puts what it finds into the read context
// or hands it to the sink.  All return 0 or a negative code: -1 malformed
// XML, -9 nesting too deep or a limit reached, -2 out of memory, or what
// the sink returned.
#pragma once

#include "book_sink.h"
#include "cell_name.h"
#include "oxls.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Part kinds, numbered as the package reader hands them to the parsers.
enum XlsxPartKind {
    PART_WORKSHEET = 100,
    PART_SHARED_STRINGS = 101,
    PART_WORKBOOK = 104,
    PART_STYLES = 116,
};

// State that lives across the parts of one package.
struct XlsxReadState {
    ReadContext &context;
    BookSink &sink;
    // The record messages go to; none are kept without one.
    XLS_BOOK *report = nullptr;
    // The relationship id (r:id) of each sheet the workbook part listed, by
    // sheet index; empty when the sheet gave none.
    std::vector<std::string> sheet_relationship_ids;
};

// Lists the sheets (names from <sheet name= sheetId=>) in document order
// with their relationship ids, and notes the book's date origin (1904 for
// books made by Excel for the Mac).
int xlsx_parse_workbook(XlsxReadState &state, std::string_view text);
// Adds one shared string per <si>.
int xlsx_parse_shared_strings(XlsxReadState &state, std::string_view text);
// Appends number formats, fonts, fills, borders and cell formats to the
// context's style tables, whose cell formats start empty.
int xlsx_parse_styles(XlsxReadState &state, std::string_view text);
// Hands the cells, rows, merged areas, default row height and the XML
// around the cell data of sheet `sheet_index` to the sink.
int xlsx_parse_worksheet(XlsxReadState &state, int sheet_index, std::string_view text);
// Hands the comments of a comments part (`threaded` false) or of a
// threaded comments part owned by sheet `sheet` to the sink.  A threaded
// comment's cell is added to `threaded_cells`; a legacy comment on one of
// them is its copy and is left out.  A part that is not well-formed gives
// the comments before the fault.
int xlsx_parse_comments(XlsxReadState &state, int sheet, std::string_view text, bool threaded,
                        std::vector<CellPos> &threaded_cells);

// Where the shapes of a drawing part stand: at their anchors, or all at
// one cell (`fixed`: a chart's, or A1 on a chart sheet); `over_chart` for
// the shapes drawn over a chart.
struct XlsxDrawingPlace {
    std::optional<CellPos> fixed;
    bool over_chart = false;
};
// A chart a drawing part shows: its relationship id and where it stands.
struct XlsxChartFrame {
    std::string relationship_id;
    CellPos cell;
};
// Hands the texts of the shapes of a drawing part (or of a chart's user
// shapes) owned by sheet `sheet` to the sink, and lists the charts it
// shows.  A part that is not well-formed gives the shapes before the fault.
int xlsx_parse_drawing(XlsxReadState &state, int sheet, std::string_view text, const XlsxDrawingPlace &place,
                       std::vector<XlsxChartFrame> &charts);
