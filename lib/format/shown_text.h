// The text a spreadsheet program in the Japanese locale shows for a number,
// made from the cell's number format code as the program reads it: up to
// four sections with conditions, digit placeholders, grouping and scaling,
// percent, exponents, fractions, dates and times with Japanese eras and
// weekdays.  Independent of column width: fill characters show nothing,
// `_x` shows one space, and General (whose text depends on the width) has
// no shown form here.  A number under the text format @ shows every digit
// in the General form, as a wide column shows it.
//
// A code is compiled once into a small program and then rendered for many
// values; rendering allocates nothing once the output string has grown to
// its working size.  Any code compiles, hostile ones included, and the text
// of one value is bounded by a small multiple of the code's length.
#pragma once

#include "byte_set.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// What a token of a compiled section does.
enum ShownKind : uint8_t {
    SHOWN_LITERAL,     // text as it stands
    SHOWN_DIGIT,       // 0 # ?  (width holds the character)
    SHOWN_POINT,       // the decimal point
    SHOWN_EXPONENT,    // E+ or E-  (width holds the sign character)
    SHOWN_SLASH,       // the bar of a fraction
    SHOWN_GENERAL,     // the number in the General form
    SHOWN_YEAR,        // width 2 or 4
    SHOWN_MONTH,       // width 1 to 5
    SHOWN_MINUTE,      // width 1 or 2
    SHOWN_DAY,         // width 1 to 4
    SHOWN_HOUR,        // width 1 or 2
    SHOWN_SECOND,      // width 1 or 2
    SHOWN_SUBSECOND,   // width: decimals of the second
    SHOWN_AMPM,        // width: ShownAmPm
    SHOWN_ERA,         // width 1 to 3: R, 令, 令和
    SHOWN_ERA_YEAR,    // width 1 or 2
    SHOWN_WEEKDAY_JA,  // width 3 (金) or 4 (金曜日)
    SHOWN_ELAPSED_HOURS,
    SHOWN_ELAPSED_MINUTES,
    SHOWN_ELAPSED_SECONDS,
};

// The spelling of a morning/afternoon token.
enum ShownAmPm : uint8_t { SHOWN_AM_PM, SHOWN_AM_PM_LOWER, SHOWN_A_P, SHOWN_A_P_LOWER };

// The part of a number a digit placeholder shows.
enum ShownRole : uint8_t {
    SHOWN_WHOLE,        // integer part, or the whole part before a fraction
    SHOWN_DECIMALS,     // after the decimal point
    SHOWN_EXPONENT_DIGITS,
    SHOWN_NUMERATOR,
    SHOWN_DENOMINATOR,
};

enum ShownSectionKind : uint8_t {
    SHOWN_NUMBER_SECTION,
    SHOWN_DATE_SECTION,
    SHOWN_GENERAL_SECTION,  // General alone: no shown form
    SHOWN_TEXT_SECTION,     // @ alone: a number shows in the General form
};

enum ShownCondition : uint8_t { SHOWN_ANY, SHOWN_LT, SHOWN_LE, SHOWN_GT, SHOWN_GE, SHOWN_EQ, SHOWN_NE };

// One step of a compiled section.
struct ShownToken {
    uint8_t kind = 0;      // ShownKind
    uint8_t width = 0;
    uint8_t role = 0;      // ShownRole of a digit placeholder
    uint32_t text_at = 0;  // literal: bytes in ShownFormat::literals_
    uint32_t text_len = 0;
};

// One section: the tokens it runs and what it needs to know before it runs.
struct ShownSection {
    uint32_t first = 0;  // tokens [first, first + count)
    uint32_t count = 0;
    uint8_t kind = 0;       // ShownSectionKind
    uint8_t condition = 0;  // ShownCondition
    double operand = 0.0;
    // Number sections.
    bool grouping = false;
    int scale_thousands = 0;
    int percents = 0;
    int integer_places = 0;
    int fraction_places = 0;
    int exponent_places = 0;
    bool exponent = false;
    bool fraction = false;
    bool fraction_whole = false;  // a whole part before the numerator
    double fixed_denominator = 0.0;
    int denominator_places = 0;
    // Date sections.
    bool twelve_hour = false;
    int second_decimals = 0;
    uint8_t largest_elapsed = 0;  // 0, or the ShownKind of [h], [m] or [s]
};

class ShownFormat {
  public:
    // Compiles a format code given as UTF-8.
    static ShownFormat compile(std::string_view code);
    // The format of a built-in number format number as the Japanese locale
    // reads it (14 is yyyy/m/d, 5 to 8 show the yen sign); numbers without a
    // built-in meaning are General.
    static ShownFormat builtin(int number);
    // The code a built-in number stands for; empty for General and unknown.
    static std::string_view builtin_code(int number);

    // Replaces `out` with the shown text of `value` and returns true, or
    // returns false when the value has no shown form of its own: the chosen
    // section is General, no section takes the value, or a date or time is
    // outside the range the program can show (it fills the cell with #).
    bool render(double value, bool date1904, std::string &out) const;

    // What of a calendar date the text of `value` shows: 0 nothing, 1 a
    // date (a year, month or day), 2 a date and a time of day.
    int shows_date(double value) const;
    // Whether some section shows a calendar date or time.
    bool has_dates() const;

    // Adds to `bytes` every byte a shown text of any value can hold.
    void add_bytes(ByteSet &bytes) const;

  private:
    friend class ShownCompiler;
    std::vector<ShownToken> tokens_;
    std::string literals_;
    ShownSection sections_[4];
    int section_count_ = 0;
    bool has_conditions_ = false;

    void render_number(const ShownSection &section, double value, bool show_minus, std::string &out) const;
    void render_fraction(const ShownSection &section, double value, bool show_minus, std::string &out) const;
    bool render_date(const ShownSection &section, double value, bool date1904, std::string &out) const;
    const ShownSection *choose(double value, bool &show_minus) const;
};
