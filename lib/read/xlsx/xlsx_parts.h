// Parsers of the XML parts of an Excel 2007 package.  Each takes the part's
// text (UTF-8), scans it once and puts what it finds into the book record.
// All return 0 or a negative code: -1 malformed XML, -9 nesting too deep,
// -2 out of memory (also when the cell table would outgrow its budget).
#pragma once

#include "book_record.h"
#include "oxls.h"

class SheetCellSink;

#include <string>
#include <string_view>
#include <vector>

// Part kinds, numbered as the package reader hands them to the parsers.
enum XlsxPartKind {
    PART_WORKSHEET = 100,
    PART_SHARED_STRINGS = 101,
    PART_DRAWING = 102,
    PART_COMMENTS = 103,
    PART_WORKBOOK = 104,
    PART_STYLES = 116,
};

// Cells and rows a book may allocate: a fixed allowance plus a few slots per
// byte of worksheet XML, so that a small part naming a far-away cell in
// every row cannot make the cell table grow without bound.
constexpr long long XLSX_SLOT_ALLOWANCE = 4LL * 1024 * 1024;
constexpr long long XLSX_SLOTS_PER_BYTE = 2;

// State that lives across the parts of one package.
struct XlsxReadState {
    XLS_BOOK *book = nullptr;
    long long slots_left = XLSX_SLOT_ALLOWANCE;   // row and cell slots still allowed
    // Days between the book's date origin and the library's: 1462 for a
    // book counting its dates from 1904 (as Excel for the Mac did), else 0.
    int date_origin_days = 0;
    // Notes of the comment and drawing parts, by owning sheet index; they
    // are parsed before the sheets exist and attached at the end.
    std::vector<std::vector<SheetNote>> pending_notes;
    // The relationship id (r:id) of each sheet the workbook part listed, by
    // sheet index; empty when the sheet gave none.
    std::vector<std::string> sheet_relationship_ids;
};

// Appends the listed sheets (names from <sheet name= sheetId=>) in
// document order with their relationship ids, and notes the book's date
// origin.
int xlsx_parse_workbook(XlsxReadState &state, std::string_view text);
// Appends one shared string per <si>.
int xlsx_parse_shared_strings(XlsxReadState &state, std::string_view text);
// Appends number formats, fonts, fills, borders and cell formats.
int xlsx_parse_styles(XlsxReadState &state, std::string_view text);
// Fills the cell table, merged areas and row attributes of sheet
// `sheet_index`, which must exist; with a sink, hands the cells to it
// instead and keeps nothing.
int xlsx_parse_worksheet(XlsxReadState &state, int sheet_index, std::string_view text,
                         SheetCellSink *sink = nullptr);
// Collects the comment texts (PART_COMMENTS) or shape texts (PART_DRAWING)
// of a part owned by sheet `sheet_index`.
int xlsx_parse_notes(XlsxReadState &state, int kind, int sheet_index, std::string_view text);
