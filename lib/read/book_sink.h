// What a reader hands over while it reads a book, and what it knows of the
// book besides: the readers parse each format once and tell a sink about
// every cell and every other part of a sheet they meet.  The book record
// is filled by one sink (BookTableSink), the search tests cells with
// another; a sink implements cell() and whichever other events it needs,
// the rest do nothing.
#pragma once

#include "book_record.h"
#include "shared_strings.h"
#include "style_tables.h"

#include <string>
#include <string_view>
#include <vector>

// What the reader knows of the book besides its cells, filled as it goes:
// the sheets it lists, the shared strings, the style tables and the date
// origin.  Sinks see it with each event.
struct ReadContext {
    int book_kind = 0;                    // BOOK_KIND_XLSX or BOOK_KIND_XLS
    std::vector<std::string> sheet_names; // UTF-8, in the book's order
    SharedStrings shared_strings;
    StyleTables *styles = nullptr;        // the tables cell styles refer to
    // Days between the book's date origin and the library's: 1462 for a
    // book counting its dates from 1904, else 0.
    int date_origin_days = 0;
    // Passwords to try on an encrypted book after the default one (UTF-8).
    std::vector<std::string> passwords;

    // Whether the number format codes keep XML escapes (a package's do).
    bool escaped_codes() const { return book_kind == BOOK_KIND_XLSX; }
};

// A cell's value as the book holds it, before anything is made of it.
struct CellValue {
    enum Kind : unsigned char {
        NONE,      // no value: a formatted cell, or a formula without a kept value
        NUMBER,    // `number`, and in a package the text it is written as
        SHARED,    // shared string `shared`
        TEXT,      // `text`: a text, a formula's text result, TRUE or FALSE, an error text
        ISO_DATE,  // `text`: a package's ISO 8601 date and time
    };
    Kind kind = NONE;
    // A number as the book stores it (dates counted from the book's own
    // origin).  `plain`: the number is binary, or written as a plain
    // decimal, so that it is stored as a number of its style's kind.
    double number = 0;
    bool plain = true;
    // TEXT and ISO_DATE: the text; NUMBER in a package: the written number.
    std::string_view text;
    int shared = 0;
};

// One cell, in the order the book holds it; views are valid during the
// event only.  A place met twice is handed over twice, the last one counts.
struct BookCell {
    int sheet = 0;       // an index into the context's sheets
    int row = 0;         // from 0
    int column = 0;      // from 0
    unsigned style = 0;  // cell-format index of a number; a package keeps it for every cell
    CellValue value;
    std::string_view formula;    // a package cell's formula, kept with its value
    bool formula_text = false;   // the value is the text result of a formula (t="str")
};

// A row element of a package's sheet: its place (-1 when outside the
// sheet), height in points (0 for none) and hidden flag.
struct BookRow {
    int sheet = 0;
    int row = -1;
    double height = 0;
    bool hidden = false;
};

class BookSink {
public:
    virtual ~BookSink() = default;

    // A cell.  A nonzero result stops the reading, which then fails with it.
    virtual int cell(const ReadContext &book, const BookCell &cell) = 0;

    // Whether the notes of comments and drawings are wanted: reading them
    // costs parts the cells do not need.
    virtual bool wants_notes() const { return false; }
    // Whether the cells and notes of sheet `sheet` are wanted: a package's
    // reader passes over the parts of a sheet not wanted without inflating
    // them, so that several sinks can share a large book's sheets out.
    virtual bool wants_sheet(const ReadContext &, int sheet) {
        (void)sheet;
        return true;
    }
    // Whether the numbers stored in cell style `style` may interest the
    // sink: a reader passes over the numbers of a style it does not want
    // when it can tell cheaply that they are numbers, without reading them.
    virtual bool wants_numbers(const ReadContext &, unsigned style) {
        (void)style;
        return true;
    }
    // Whether the cells showing shared string `index` may interest the
    // sink: a reader passes such a cell over, with any formula it holds,
    // without working out its place.
    virtual bool wants_shared_string(const ReadContext &, size_t index) {
        (void)index;
        return true;
    }

    // The events below return 0 to go on, like cell().
    // The cells of sheet `sheet` follow; `data_bytes` is the size of the
    // sheet's part (0 in a workbook stream).
    virtual int begin_sheet(const ReadContext &, int sheet, size_t data_bytes) {
        (void)sheet, (void)data_bytes;
        return 0;
    }
    virtual int row(const ReadContext &, const BookRow &row) {
        (void)row;
        return 0;
    }
    // The sheet's default row height in hundredths of a point.
    virtual int default_row_height(const ReadContext &, int sheet, int hundredths) {
        (void)sheet, (void)hundredths;
        return 0;
    }
    virtual int merge(const ReadContext &, int sheet, const MergedArea &area) {
        (void)sheet, (void)area;
        return 0;
    }
    // A package sheet's XML before <sheetData> and after </sheetData>.
    virtual int xml_before_data(const ReadContext &, int sheet, std::string_view xml) {
        (void)sheet, (void)xml;
        return 0;
    }
    virtual int xml_after_data(const ReadContext &, int sheet, std::string_view xml) {
        (void)sheet, (void)xml;
        return 0;
    }
    // A comment or shape text of sheet `sheet` (only when wants_notes()).
    virtual int note(const ReadContext &, int sheet, SheetNote &&note) {
        (void)sheet, (void)note;
        return 0;
    }
    // A defined name, external book, style or name comment of a workbook
    // stream, with the prefix that says which.
    virtual int listed_name(const ReadContext &, std::string_view name) {
        (void)name;
        return 0;
    }
    // The book is read to its end.
    virtual int finish(const ReadContext &) { return 0; }
};
