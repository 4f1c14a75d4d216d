// The texts outside the cells of an Excel 97-2003 sheet substream: notes
// (a NOTE record naming the object whose TXO holds its text) and text
// boxes and shapes with text (an OBJ record, then TXO and its CONTINUE
// records).  A shape's place is the top-left cell of the last client
// anchor of the drawing (MSODRAWING) records before its OBJ: a shape in a
// group stands at the group's anchor.  A shape in a chart, embedded or a
// chart sheet, stands at the chart's anchor (A1 on a chart sheet).
#pragma once

#include "book_sink.h"
#include "cell_name.h"
#include "code_page_decoder.h"
#include "xls/biff_records.h"

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

class BiffSheetNotes {
public:
    BiffSheetNotes(ReadContext &context, BookSink &sink) : context_(context), sink_(sink) {}

    // A substream of sheet `sheet` begins at nesting depth `depth` (1 for
    // a sheet's own, 2 for a chart inside a worksheet); `chart_sheet` when
    // it is a chart sheet's own.
    void begin_substream(int sheet, int depth, bool chart_sheet);
    // The substream at `depth` ended.
    void end_substream(int depth);

    // Records that carry the texts: MSODRAWING, OBJ, TXO, a CONTINUE after
    // TXO, NOTE.  0 to go on, or the sink's result.
    void on_drawing(const biff::Record &record);
    void on_obj(const biff::Record &record);
    int on_txo(const biff::Record &record);
    int on_continue(const biff::Record &record);
    int on_note(const biff::Record &record);

private:
    // The TXO's text is read: a note's is kept for its NOTE record, a
    // shape's handed over.
    int text_complete();

    ReadContext &context_;
    BookSink &sink_;
    int sheet_ = -1;             // -1: no sheet takes texts
    bool chart_sheet_ = false;   // the sheet is a chart sheet
    bool in_chart_ = false;      // in a chart: every shape stands at chart_cell_
    CellPos chart_cell_;
    CellPos anchor_;             // top-left cell of the last client anchor
    std::string name_;           // the shape's name from its properties
    bool text_box_ = false;      // the shape is drawn as a text box
    std::string object_name_;    // the name of the shape of the last OBJ
    CellPos object_cell_;        // where that shape stands
    uint16_t object_kind_ = 0;   // the last OBJ's object type
    bool object_text_box_ = false;
    uint16_t object_id_ = 0;
    size_t chars_left_ = 0;      // characters the TXO's CONTINUE records still owe
    std::string text_;
    CodePageDecoder latin1_{CODE_PAGE_LATIN1};
    // The texts of the notes' objects, by object id, until their NOTE
    // records name their cells.
    std::vector<std::pair<uint16_t, std::string>> note_texts_;
};
