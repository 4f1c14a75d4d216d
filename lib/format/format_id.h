// Format ids: the library's own small numbers for display formats, and how
// a cell's number format leads to one.
//
// A number format number is what a cell format (XF) refers to: Excel's
// built-in numbers, and 164 upwards for the book's own formats, whose codes
// the readers keep in StyleTables::number_formats (NumberFormat::id holds the
// number, NumberFormat::code the format code, NumberFormat::format_id its
// classification).
#pragma once

#include "oxls.h"
#include "style_tables.h"
#include "value_store.h"

#include <string_view>

// Format ids.
constexpr int FMT_NONE = 0;
constexpr int FMT_GENERAL = 100;
constexpr int FMT_GROUPED = 107;          // 1,234,567
constexpr int FMT_GROUPED_ALT = 108;
constexpr int FMT_CURRENCY_FIRST = 200;   // \1,234 (the backslash is the yen sign in Shift-JIS)
constexpr int FMT_CURRENCY = 201;
constexpr int FMT_CURRENCY_LAST = 205;
constexpr int FMT_YEAR_MONTH = 301;       // 2016/3
constexpr int FMT_DATE = 302;             // 2016/3/25
constexpr int FMT_DATE_TIME = 303;        // 2016/3/25 14:05
constexpr int FMT_DATE_TIME_12H = 304;    // 2016/3/25 02:05 PM
constexpr int FMT_MONTH = 305;            // 3
constexpr int FMT_MONTH_DAY = 306;        // 3/25
constexpr int FMT_MDY = 307;              // 3/25/16
constexpr int FMT_MMDDYY = 308;           // 03/25/16
constexpr int FMT_D_MON = 309;            // 25-Mar
constexpr int FMT_D_MON_YY = 310;         // 25-Mar-16
constexpr int FMT_DD_MON_YY = 311;        // 25-Mar-16
constexpr int FMT_MON_YY = 312;           // Mar-16
constexpr int FMT_MONTH_NAME_YY = 313;    // March-16
constexpr int FMT_MONTH_INITIAL = 314;    // M
constexpr int FMT_MONTH_INITIAL_YY = 315; // M-16
constexpr int FMT_YYYYMMDD = 316;         // 20160325
constexpr int FMT_YYYYMMDDHHMMSS = 317;   // 20160325140509
constexpr int FMT_DATE_TIME_SECONDS = 318;// 2016/3/25 14:05:09
constexpr int FMT_DAY = 319;              // 25
constexpr int FMT_JP_MONTH = 330;         // 3月
constexpr int FMT_JP_MONTH_DAY = 331;     // 3月25日
constexpr int FMT_JP_YEAR_MONTH = 332;    // 2016年3月
constexpr int FMT_JP_DATE = 333;          // 2016年3月25日
constexpr int FMT_ERA_SHORT = 334;        // H28.3.25
constexpr int FMT_ERA_LONG = 335;         // 平成28年3月25日
constexpr int FMT_WEEKDAY_ABBR = 340;     // Fri
constexpr int FMT_WEEKDAY_NAME = 341;     // Friday
constexpr int FMT_JP_WEEKDAY = 342;       // 金
constexpr int FMT_JP_WEEKDAY_LONG = 343;  // 金曜日
constexpr int FMT_HM = 401;               // 14:05
constexpr int FMT_JP_HM = 402;            // 14時5分
constexpr int FMT_HM_12H = 403;           // 02:05 PM
constexpr int FMT_HMS = 404;              // 14:05:09
constexpr int FMT_JP_HMS = 405;           // 14時05分09秒
constexpr int FMT_HMS_12H = 406;          // 2:05:09 PM
constexpr int FMT_MINUTE_SECOND = 407;    // 05:09
constexpr int FMT_PERCENT = 501;
constexpr int FMT_HIDDEN = 900;           // empty text

// Format id of a format code, by substring tests on the code as the book
// stores it: codes from a package still carry the escape &quot; for a double
// quote, and the Japanese date and time patterns are recognised in that form
// only where their section ends (";" or the end of the code).  The tests are plain substring tests in a fixed order, so a code
// such as "yyyy/m/d" (no section end) is taken by "m/d" and "[Red]" counts
// as a day part; readers rely on exactly this order.  Never fails: a code
// that nothing recognises is general (100).
int ozw_classify_format_code(std::string_view code);

// Format id of a book's own number format `number`: the classification the
// reader gave its code, or 0 when the book has no format of that number.
int ozw_user_format_id(const StyleTables &styles, int number);

// Number format number of a cell style as the readers store it (the style
// index selects xfs[style]); -1 when the style is outside the table or is a
// style-only format.
int ozw_style_number_format(const StyleTables &styles, unsigned style);

// Format id a cell is shown with: its book's own format when that has a
// nonzero id, else the built-in number formats the library knows, else by
// the cell's type (dates 302, times 404, anything else 0).  `styles` may be
// null (a book without style tables).
int ozw_cell_format_id(const StyleTables *styles, const XLS_CELL &cell);

// Kind of cell a number becomes under number format `number`:
// OZW_KIND_GENERAL (the reader then chooses integer or decimal),
// XLS_CELL_PERCENT, XLS_CELL_DATE, XLS_CELL_DATE_TIME, XLS_CELL_TIME_HM or
// XLS_CELL_TIME_HMS.  `styles` may be null (built-in numbers only).
int ozw_number_format_kind(const StyleTables *styles, int number);

// The same for a cell style (readers pass the style index of the cell);
// general for a style outside the table.
int ozw_style_cell_kind(const StyleTables *styles, unsigned style);
