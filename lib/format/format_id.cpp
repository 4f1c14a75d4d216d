// Format ids from format codes and from cell styles, and the kind of cell a
// number becomes under its number format.
#include "format_id.h"

#include <string>

namespace {

bool contains(std::string_view code, std::string_view needle) { return code.find(needle) != std::string_view::npos; }

bool is_currency(std::string_view code) {
    return contains(code, "\\$") ||
           contains(code, "\"\xA5\"") ||               // yen, single byte
           contains(code, "\"\\\"") ||                // backslash shown as yen
           contains(code, "&quot;\\&quot;");            // the same, as a package stores it
}

struct CodeRule {
    std::string_view needle;
    int format_id;
};

// Date and time patterns tried after the date-time and short-date tests, in
// order; the first found gives the id.
constexpr CodeRule DATE_TIME_RULES[] = {
    {"ggge", FMT_ERA_LONG},
    {"ge", FMT_ERA_SHORT},
    {"dddd", FMT_WEEKDAY_NAME},
    {"ddd", FMT_WEEKDAY_ABBR},
    {"aaaa", FMT_JP_WEEKDAY_LONG},
    {"aaa", FMT_JP_WEEKDAY},
    // A package stores a double quote as "&quot;"; its Japanese date and
    // time codes are recognised in that form only where their section ends
    // (";" or the end of the code), so that "h時mm分ss秒" stays a time with
    // seconds.
    {"yyyy&quot;年&quot;m&quot;月&quot;d&quot;日&quot;;", FMT_JP_DATE},
    {"yyyy\"年\"m\"月\"d\"日\"", FMT_JP_DATE},
    {"dddd\\,\\ mmmm\\ dd\\,\\ yyyy", FMT_JP_DATE},
    {"m&quot;月&quot;d&quot;日&quot;;", FMT_JP_MONTH_DAY},
    {"m\"月\"d\"日\"", FMT_JP_MONTH_DAY},
    {"yyyy&quot;年&quot;m&quot;月&quot;;", FMT_JP_YEAR_MONTH},
    {"yyyy\"年\"m\"月\"", FMT_JP_YEAR_MONTH},
    {"h&quot;時&quot;mm&quot;分&quot;;", FMT_JP_HM},
    {"h\"時\"mm\"分\"", FMT_JP_HM},
    {"h&quot;時&quot;mm&quot;分&quot;ss&quot;秒&quot;", FMT_JP_HMS},
    {"h\"時\"mm\"分\"ss\"秒\"", FMT_JP_HMS},
    {"m&quot;月&quot;", FMT_JP_MONTH},
    {"m\"月\"", FMT_JP_MONTH},
};

constexpr CodeRule SHORT_DATE_RULES[] = {
    {"mm:ss", FMT_MINUTE_SECOND},
    {"m/d/yy", FMT_MDY},
    {"mm/dd/yy", FMT_MMDDYY},
    {"d\\-mmm", FMT_D_MON},
    {"dd\\-mmm\\-yy", FMT_DD_MON_YY},
    {"d\\-mmm\\-yy", FMT_D_MON_YY},
    {"mmmmm\\-yy", FMT_MONTH_INITIAL_YY},
    {"mmmm\\-yy", FMT_MONTH_NAME_YY},
    {"mmm\\-yy", FMT_MON_YY},
    {"mmmmm", FMT_MONTH_INITIAL},
    {"m/d", FMT_MONTH_DAY},
};

// A needle that ends in ";" also matches, without it, at the end of the
// code: the last section of a code ends there.
bool matches(std::string_view code, std::string_view needle) {
    if (contains(code, needle)) return true;
    if (needle.empty() || needle.back() != ';') return false;
    needle.remove_suffix(1);
    return code.size() >= needle.size() && code.substr(code.size() - needle.size()) == needle;
}

int first_rule(std::string_view code, const CodeRule *begin, const CodeRule *end) {
    for (const CodeRule *rule = begin; rule != end; ++rule) {
        if (matches(code, rule->needle)) return rule->format_id;
    }
    return FMT_NONE;
}

template <size_t N>
int first_rule(std::string_view code, const CodeRule (&rules)[N]) {
    return first_rule(code, rules, rules + N);
}

// Built-in number formats that show as something other than plain numbers.
int builtin_format_id(int number) {
    switch (number) {
    case 3: case 177: case 178: return FMT_GROUPED;
    case 5: return FMT_CURRENCY;
    case 18: return FMT_HM_12H;
    case 19: return FMT_HMS_12H;
    case 20: return FMT_HM;
    case 21: return FMT_HMS;
    case 32: return FMT_JP_HM;
    case 33: return FMT_JP_HMS;
    case 45: case 46: case 47: return FMT_MINUTE_SECOND;
    default: return FMT_NONE;
    }
}

int kind_of_format_id(int format_id) {
    if (format_id == FMT_YEAR_MONTH || format_id == FMT_DATE ||
        (format_id >= FMT_MONTH && format_id <= FMT_MONTH_INITIAL_YY) || format_id == FMT_DAY ||
        (format_id >= FMT_JP_MONTH && format_id <= FMT_ERA_LONG) ||
        (format_id >= FMT_WEEKDAY_ABBR && format_id <= FMT_JP_WEEKDAY_LONG)) {
        return XLS_CELL_DATE;
    }
    if (format_id == FMT_DATE_TIME || format_id == FMT_DATE_TIME_12H ||
        (format_id >= FMT_HM && format_id <= FMT_MINUTE_SECOND)) {
        return XLS_CELL_DATE_TIME;
    }
    if (format_id == FMT_PERCENT) return XLS_CELL_PERCENT;
    return OZW_KIND_GENERAL;
}

}  // namespace

int ozw_classify_format_code(std::string_view code) {
    const bool twelve_hour = contains(code, "AM/PM");
    if (contains(code, "yyyy/m/d\\ h:mm")) return twelve_hour ? FMT_DATE_TIME_12H : FMT_DATE_TIME;
    if (contains(code, "yyyy/m/d;")) return FMT_DATE;
    if (int id = first_rule(code, DATE_TIME_RULES)) return id;
    if (contains(code, "h:mm:ss")) return twelve_hour ? FMT_HMS_12H : FMT_HMS;
    if (contains(code, "h:mm")) return twelve_hour ? FMT_HM_12H : FMT_HM;
    if (int id = first_rule(code, SHORT_DATE_RULES)) return id;
    if (is_currency(code)) return FMT_CURRENCY;
    if (contains(code, "#,##0")) return FMT_GROUPED;
    if (code == "\"\"" || code == "&quot;&quot;" || code == "\"&quot;&quot;\"") return FMT_HIDDEN;
    // Any "d" left, even one inside a colour name such as [Red], makes the
    // code a day format: the tests are plain substring tests throughout.
    if (contains(code, "d")) return FMT_DAY;
    if (contains(code, "\"%\"") || contains(code, "&quot;%&quot;")) return FMT_PERCENT;
    return FMT_GENERAL;
}

int ozw_user_format_id(const StyleTables &styles, int number) {
    for (const NumberFormat &format : styles.number_formats) {
        if (format.id == number) return format.format_id;
    }
    return FMT_NONE;
}

int ozw_style_number_format(const StyleTables &styles, unsigned style) {
    if (style >= styles.xfs.size()) return -1;
    return static_cast<int>(styles.xfs[style].num_format);
}

int ozw_cell_format_id(const StyleTables *styles, const XLS_CELL &cell) {
    if (styles) {
        const int number = ozw_style_number_format(*styles, cell.style);
        if (number >= 0) {
            if (int id = ozw_user_format_id(*styles, number)) return id;
            if (int id = builtin_format_id(number)) return id;
        }
    }
    switch (cell.type) {
    case XLS_CELL_DATE:
    case XLS_CELL_DATE_TIME: return FMT_DATE;
    case XLS_CELL_TIME_HM:
    case XLS_CELL_TIME_HMS: return FMT_HMS;
    default: return FMT_NONE;
    }
}

int ozw_number_format_kind(const StyleTables *styles, int number) {
    switch (number) {
    case 0: return OZW_KIND_GENERAL;
    case 9: case 10: return XLS_CELL_PERCENT;
    case 14: case 15: case 16: case 17: case 30: case 31: case 55: case 56: case 58:
        return XLS_CELL_DATE;
    case 18: case 20: case 32: return XLS_CELL_TIME_HM;
    case 19: case 21: case 33: case 45: case 46: case 47: case 49: return XLS_CELL_TIME_HMS;
    case 22: return XLS_CELL_DATE_TIME;
    default: return styles ? kind_of_format_id(ozw_user_format_id(*styles, number)) : OZW_KIND_GENERAL;
    }
}

int ozw_style_cell_kind(const StyleTables *styles, unsigned style) {
    if (!styles) return OZW_KIND_GENERAL;
    const int number = ozw_style_number_format(*styles, style);
    return number < 0 ? OZW_KIND_GENERAL : ozw_number_format_kind(styles, number);
}
