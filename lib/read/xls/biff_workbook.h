// The record handler of the BIFF reader: reads a book from the records of
// its workbook stream into the read context and hands its cells to a sink.
//
// The globals substream gives the sheet list (BOUNDSHEET), the cell formats
// (XF), the book's own number formats (FORMAT), the code page of 8-bit
// strings (CODEPAGE), the date origin (DATEMODE) and the shared string
// table (SST and CONTINUE); for
// a book opened to unload its names, also the defined names, external
// books, styles and name comments (NAME, SUPBOOK, STYLE, NAMECMT).  Each
// sheet's substream follows, opened by a BOF record; the cell records of a
// worksheet substream are that sheet's cells, and its notes, text boxes
// and shapes the texts outside them (when the sink wants those).  Chart, macro and module
// sheets have no cells, and the records of a chart embedded in a worksheet
// (a BOF nested inside it) are not taken as cells.
#pragma once

#include "book_sink.h"
#include "oxls.h"
#include "xls/biff_records.h"
#include "xls/biff_sheet_notes.h"
#include "xls/biff_sst.h"
#include "xls/biff_text.h"

#include <cstdint>
#include <string>
#include <vector>

// Most entries of the book's own number-format table.
constexpr int OZW_MAX_NUMFORMAT = 500;
// Number format number kept for a style-only cell format.
constexpr uint32_t BIFF_STYLE_FORMAT = 0xFFFFFFFF;

class BiffWorkbookLoader {
public:
    // Cells go to `sink`, each once its record (and the STRING record of a
    // formula's text) has been read.  Messages go to `report` when given.
    BiffWorkbookLoader(ReadContext &context, BookSink &sink, XLS_BOOK *report);

    // Called before the first record of each stream.
    void begin_stream();
    // The passwords the caller gave for an encrypted stream (UTF-8).
    const std::vector<std::string> &passwords() const { return context_.passwords; }
    // Handles one record (FILEPASS is the caller's).  0 to go on;
    // biff::END_OF_STREAM when the stream should not be read further;
    // -1 a bad shared string; -2 out of memory; -9 a limit was reached
    // (message set).
    int handle(const biff::Record &record);
    // Completes what the last records left open (a shared string table
    // still being collected).  0 or a code as above.
    int finish();

private:
    // What a cell record's checks report, named by the record's labels.
    struct CellLabels {
        const char *overflow;   // row or column outside the book's limits
        const char *sheet;      // no sheet to put the cell in
        const char *index;      // format or string index outside its table; null: not checked
    };

    int on_bof(const biff::Record &record);
    int on_boundsheet(const biff::Record &record);
    int on_xf(const biff::Record &record);
    int on_old_xf(const biff::Record &record);
    int on_format(const biff::Record &record);
    int on_listed_name(const biff::Record &record);
    // The records of texts outside the cells.
    int on_note_record(const biff::Record &record);

    bool in_worksheet() const;
    // Starts the cell a record names, after the checks every cell record
    // makes: row and column within the format's limits, a sheet to hold it,
    // and (when labels.index is set) `index` below `limit`.  The cell
    // before it is handed over first.  0, -9 or the sink's result.
    int cell_at(const CellLabels &labels, unsigned row, unsigned column, long long index, long long limit);
    void take_number(unsigned format, double value);
    // The pending cell holds this text; -9 when it is longer than a cell
    // text may be.
    int take_text(std::string_view text);

    int on_number(const biff::Record &record);
    int on_rk(const biff::Record &record);
    int on_mulrk(const biff::Record &record);
    int on_labelsst(const biff::Record &record);
    int on_label(const biff::Record &record);
    int on_blank(const biff::Record &record);
    int on_boolerr(const biff::Record &record);
    int on_formula(const biff::Record &record);
    int on_string(const biff::Record &record);
    int on_string_continued(const biff::Record &record);
    int on_biff2_cell(const biff::Record &record);
    int take_formula_text();
    // Hands the cell started last to the sink.  0 or the sink's result.
    int flush_cell();

    ReadContext &context_;
    BookSink &sink_;
    XLS_BOOK *report_;
    StyleTables &styles_;
    BiffSstCollector sst_;
    // Texts outside the cells, read only when the sink wants them.
    const bool wants_notes_;
    BiffSheetNotes notes_;
    int last_record_ = -1;          // SST or TXO while CONTINUE records may extend it
    CodePageDecoder decoder_{BIFF_DEFAULT_CODEPAGE};   // the 8-bit strings' code page
    bool biff8_ = true;
    bool old_worksheet_ = false;   // an Excel 2.x, 3.0 or 4.0 worksheet file
    bool biff2_ = false;           // an Excel 2.x one
    int old_formats_ = 0;          // the number formats it has listed so far
    // Substreams: nesting depth of BOF records, whether the globals were
    // met, how many sheet substreams began, and the sheet cells go to (-1
    // none).  The book's own positions of each sheet's BOF record let a
    // substream find its sheet even when the order differs.
    int depth_ = 0;
    bool globals_seen_ = false;
    int sheet_substreams_ = 0;
    int current_sheet_ = -1;
    std::vector<uint32_t> sheet_positions_;
    // The cell of the last formula with a text result, for the STRING
    // record that follows it, and the text so far with the characters that
    // CONTINUE records still owe when it is longer than one record.
    bool string_pending_ = false;
    int string_sheet_ = 0;
    unsigned string_row_ = 0;
    unsigned string_column_ = 0;
    std::string string_text_;
    size_t string_chars_left_ = 0;
    bool cell_pending_ = false;   // pending_ holds a cell not handed over yet
    BookCell pending_;
    std::string text_;            // the text of a LABEL cell
};
