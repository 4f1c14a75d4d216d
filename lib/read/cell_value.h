// What a cell's value becomes: the rules that turn the value a reader
// hands over into the value a cell record keeps, shared by the sink that
// fills the record and the sinks that only look at cells.
#pragma once

#include "book_sink.h"
#include "value_store.h"

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

// The record's value of `value` in a style of number kind `kind`
// (ozw_style_cell_kind): numbers by that kind, whole numbers a package
// writes without a point as integers and its other numbers of the general
// kind as decimals keeping their written digits; dates and times moved by
// `date_origin_days` into the 1900 system; a package's ISO dates as dates;
// texts and shared strings as they are.  A package number that is no
// number, or a date that does not convert, stays the text it is written
// as.  Texts are viewed, not copied.  0, or -2 when memory runs out.
int ozw_cell_stored_value(StoredValue &stored, const CellValue &value, int kind, int date_origin_days);

// A package's ISO 8601 date or time as the date cell it stands for.
struct IsoDate {
    double serial = 0;   // in the 1900 date system
    int kind = 0;        // XLS_CELL_DATE, XLS_CELL_DATE_TIME or XLS_CELL_TIME_HMS
};
// "2016-03-25", "2016-03-25T14:05:09" (fractions of seconds and a zone
// letter allowed), or a time alone ("14:05:09", or on the days 1899-12-30
// and 1899-12-31 that stand for no date); nothing for any other text.
std::optional<IsoDate> ozw_iso_date(std::string_view text);

// Puts the cell's value into `record`, which is empty with its style set:
// the value as above, the formula kept with any value (a formula without a
// value makes a formula cell), and the mark of a formula's text result.
// 0, or -2.
int ozw_store_book_cell(XLS_CELL &record, const BookCell &cell, int kind, int date_origin_days);

// A whole number as strtoll reads it from the start of `text`, after
// blanks (spaces, tabs and line ends); false when no digit follows.
bool ozw_leading_integer(std::string_view text, long long &value);

// The number kind of each cell style, worked out once per style: books use
// few styles for many cells.
class StyleKinds {
public:
    void clear() { kinds_.clear(); }
    int of(const StyleTables *styles, unsigned style);

private:
    std::vector<int8_t> kinds_;
};
