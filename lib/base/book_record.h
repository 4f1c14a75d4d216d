// Setting up and releasing the contents of a book record, and the growable
// tables every reader and the writer fill: sheets, rows, cells and shared
// strings.
#pragma once

#include "oxls.h"
#include "style_tables.h"

#include <string>
#include <vector>

// Kinds the record can be set up for.
constexpr int BOOK_KIND_XLS = 11;
constexpr int BOOK_KIND_XLSX = 20;

// Rows and columns a sheet of each kind holds.
constexpr int XLS_ROW_LIMIT = 65536;
constexpr int XLS_COLUMN_LIMIT = 256;
constexpr int XLSX_ROW_LIMIT = 1048576;
constexpr int XLSX_COLUMN_LIMIT = 16384;

// A merged cell area (0-based, inclusive).
struct MergedArea {
    int first_row, first_column, last_row, last_column;
};

// A hyperlink of a sheet being written.
struct SheetHyperlink {
    int kind = 0;           // 0 a cell of this book, 1 an external target, 3 another book,
                            // -1 taken from a "#Sheet!Cell" value (not written)
    int row = 0, column = 0;  // the cell that carries the link (0-based)
    std::string sheet;      // target sheet name, UTF-8 (kinds 0, 3, -1); may be empty for kind 3
    int target_row = -1, target_column = -1;  // target cell (0-based); -1 when none is given
    std::string target;     // kind 1: the target ("mailto:" put before a mail address); kind 3: the book path
};

// What holds a text outside the cells.
enum class NoteHolder : unsigned char {
    Comment,           // a note (legacy comment) of a cell
    ThreadedComment,   // a comment of a conversation on a cell
    Shape,             // a shape with text
    TextBox,           // a text box
    ChartShape,        // a shape drawn over a chart
};

// A comment or the text of a drawing shape, kept with the sheet that owns
// it by the readers.
struct SheetNote {
    // The commented cell, or the cell under the shape's top-left corner
    // (for a shape over a chart, the chart's; A1 on a chart sheet).
    int row = 0, column = 0;
    NoteHolder holder = NoteHolder::Comment;
    std::string name;   // a shape's name, UTF-8; empty when the book gives none
    std::string text;   // UTF-8: a shape's paragraphs joined by line feeds
};

// Per-sheet tables that do not fit the fixed XLS_SHEET record
// (XLS_SHEET.extension).
struct SheetExtras {
    std::vector<MergedArea> merges;
    std::vector<SheetHyperlink> hyperlinks;
    // The worksheet XML before <sheetData> and after </sheetData> of a book
    // that was read, so that an updated book can be written around new cell
    // data.
    std::string xml_before_data;
    std::string xml_after_data;
    std::vector<SheetNote> notes;
};

// The name list of a book opened with MODE=UNLOAD_NAME (XLS_BOOK.name_list):
// the LIST= file path and a table of name slots that the Excel 97-2003
// reader fills with the book's defined names and styles.
constexpr int NAME_LIST_SLOTS = 1000;
constexpr int NAME_LIST_SLOT_LEN = 202;
constexpr const char *DEFAULT_NAME_LIST_PATH = "C:\\Z-WEAVE_name.log";

struct NameList {
    char list_path[XLS_PATH_LEN + 1];
    char (*slots)[NAME_LIST_SLOT_LEN];   // NAME_LIST_SLOTS slots, empty at the start
    int count;                           // slots in use
};

// Gives the book an empty name list; 0, or -2.
int ozw_create_name_list(XLS_BOOK *book, const char *list_path);
// The book's name list, or null when it has none.
NameList *ozw_name_list(XLS_BOOK *book);
// Puts a name into the next free slot (cut to NAME_LIST_SLOT_LEN - 1 bytes);
// 0, -9 when the list is full, -3 when the book has no list.
int ozw_add_list_name(XLS_BOOK *book, const char *name);

// Frees the book's work area.  The caller's character set is kept in the
// record's reserved word, so that the text of an open that failed and
// released its book is still handed back in that character set.
void ozw_free_work(XLS_BOOK *book);

// Sets the record up for a book of this kind (BOOK_KIND_XLSX or
// BOOK_KIND_XLS): limits, flags, properties, error state, ten preallocated
// sheet records and the initial style tables.  The work area and thread
// number are left as they are.  0, or -2 (everything freed again).
int ozw_init_book(XLS_BOOK *book, int kind);
// Frees every table the record owns (name list included) and deletes the
// temporary workbook when one is set, both the disk file and the memory file
// of that name.  The work area is not touched.
void ozw_release_book(XLS_BOOK *book);

StyleTables *ozw_styles(XLS_BOOK *book);
SheetExtras *ozw_sheet_extras(XLS_SHEET *sheet);   // created on first use; null on no memory

// Appends a sheet with this UTF-8 name (at most XLS_SHEET_LEN bytes, else
// -9); returns its index, or -2.
int ozw_add_sheet(XLS_BOOK *book, const char *name_utf8);
// Grows the row table / the row's cell array so that the slot exists; new
// cells are empty (type -1, style 0).  Returns the cell, or null on no memory.
XLS_CELL *ozw_ensure_cell(XLS_SHEET *sheet, int row, int column);
XLS_ROW *ozw_ensure_row(XLS_SHEET *sheet, int row);
// Replaces an owned text of a cell (text, formula or extra) with a copy; 0 or -2.
int ozw_set_cell_text(char **field, const char *text, size_t length);
// Appends a shared string; returns its index or -2.
int ozw_add_sst(XLS_BOOK *book, const char *text, int length);
