// The record handler of the BIFF reader: fills a book from the records of
// its workbook stream.
//
// The globals substream gives the sheet list (BOUNDSHEET), the cell formats
// (XF), the book's own number formats (FORMAT), the code page of 8-bit
// strings (CODEPAGE), the date origin (DATEMODE) and the shared string
// table (SST and CONTINUE); for
// a book opened to unload its names, also the defined names, external
// books, styles and name comments (NAME, SUPBOOK, STYLE, NAMECMT).  Each
// sheet's substream follows, opened by a BOF record; the cell records of a
// worksheet substream go into that sheet's cell table.  Chart, macro and
// module sheets keep an empty cell table, and the records of a chart
// embedded in a worksheet (a BOF nested inside it) are not taken as cells.
#pragma once

#include "oxls.h"
#include "xls/biff_records.h"
#include "xls/biff_sst.h"
#include "xls/biff_text.h"
#include "cell_sink.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

struct StyleTables;

// Most entries of the book's own number-format table.
constexpr int OZW_MAX_NUMFORMAT = 500;
// Most row and cell slots the cell tables of one book may take together
// (about 160 MB): a row or cell slot exists for every row and column up to
// the last one used, so a damaged or hostile stream naming far-apart cells
// could otherwise make a few bytes cost megabytes.  A dense sheet of 65536
// rows by 63 columns still fits.
constexpr long long BIFF_MAX_CELL_SLOTS = 1LL << 22;
// Number format number kept for a style-only cell format.
constexpr uint32_t BIFF_STYLE_FORMAT = 0xFFFFFFFF;

class BiffWorkbookLoader {
public:
    // With a sink the cells go to it, each once its record (and the STRING
    // record of a formula's text) has been read; else they fill the sheets'
    // cell tables.
    explicit BiffWorkbookLoader(XLS_BOOK *book, SheetCellSink *sink = nullptr);

    // Called before the first record of each stream.
    void begin_stream();
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
    int on_format(const biff::Record &record);
    int on_listed_name(const biff::Record &record);

    bool in_worksheet() const;
    // The cell a record names, after the checks every cell record makes:
    // row and column within the book's limits, a sheet to hold it, and
    // (when labels.index is set) `index` below `limit`.  0, -2 or -9.
    int cell_at(const CellLabels &labels, unsigned row, unsigned column, long long index, long long limit,
                XLS_CELL *&cell);
    int store_number(XLS_CELL *cell, unsigned format, double value);
    int store_text(XLS_CELL *cell, const std::string &text);

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
    int store_formula_text();
    // Hands the cell filled last to the sink.  0 or the sink's result.
    int flush_cell();

    XLS_BOOK *book_;
    StyleTables *styles_;
    BiffSstCollector sst_;
    int last_record_ = -1;          // SST or TXO while CONTINUE records may extend it
    int codepage_ = BIFF_DEFAULT_CODEPAGE;
    // Days between the book's date origin and the library's: 1462 for a
    // book counting its dates from 1904 (DATEMODE), else 0.
    int date_origin_days_ = 0;
    bool biff8_ = true;
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
    long long cell_slots_ = 0;
    SheetCellSink *sink_;
    std::unique_ptr<SinkCell> sink_cell_;
    bool cell_pending_ = false;   // sink_cell_ holds a cell not handed over yet
    SheetCell pending_;
};
