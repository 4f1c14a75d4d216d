// Texts of date and time values.
#include "date_text.h"

#include "date_serial.h"
#include "format_id.h"

#include <charconv>
#include <cstdarg>
#include <cstdlib>
#include <cstring>

namespace {

const char *const MONTH_ABBREVIATIONS[12] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                             "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
const char *const MONTH_NAMES[12] = {"January", "February", "March",     "April",
                                     "May",     "June",     "July",      "August",
                                     "September", "October", "November", "December"};
const char *const MONTH_INITIALS[12] = {"J", "F", "M", "A", "M", "J",
                                        "J", "A", "S", "O", "N", "D"};
const char *const WEEKDAY_ABBREVIATIONS[7] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
const char *const WEEKDAY_NAMES[7] = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                      "Thursday", "Friday", "Saturday"};
const char *const JP_WEEKDAYS[7] = {"日", "月", "火", "水", "木", "金", "土"};
const char *const JP_WEEKDAYS_LONG[7] = {"日曜日", "月曜日", "火曜日", "水曜日",
                                         "木曜日", "金曜日", "土曜日"};

// The pattern with its conversions filled in from the arguments: %d (an
// int, at least as many digits as a width such as %02d asks for, with
// zeros before) and %s (a C string); the date texts need no others.
std::string format(const char *pattern, ...) {
    std::string text;
    va_list args;
    va_start(args, pattern);
    for (const char *p = pattern; *p; ++p) {
        if (*p != '%') {
            text += *p;
            continue;
        }
        int width = 0;
        while (*++p >= '0' && *p <= '9') width = width * 10 + (*p - '0');
        if (*p == 's') {
            text += va_arg(args, const char *);
            continue;
        }
        char digits[16];
        const long long value = va_arg(args, int);
        const auto length = static_cast<int>(std::to_chars(digits, digits + sizeof digits, value < 0 ? -value : value).ptr - digits);
        if (value < 0) text += '-';
        if (width > length + (value < 0)) text.append(static_cast<size_t>(width - length - (value < 0)), '0');
        text.append(digits, static_cast<size_t>(length));
    }
    va_end(args);
    return text;
}

// Years 1901 to 1999 and from 2000 lose their century; 1900 and earlier
// stay whole.
int two_digit_year(int year) {
    if (year >= 2000) return year - 2000;
    if (year > 1900) return year - 1900;
    return 1900;
}

struct TwelveHour {
    int hour;
    const char *suffix;
};

// Hour 0 is 12 AM, 12 is 12 PM; the 24 that a time rounded up to the end of
// the day gives is the next midnight, 12 AM.
TwelveHour twelve_hour(int hour) {
    if (hour == 0 || hour == 24) return {12, "AM"};
    if (hour < 12) return {hour, "AM"};
    if (hour == 12) return {12, "PM"};
    return {hour - 12, "PM"};
}

struct Era {
    const char *letter;
    const char *name;
    int first_year_offset;  // era year = year - offset
};

// The Japanese era of a date; null before 1900.
const Era *japanese_era(const DateParts &d) {
    static const Era MEIJI{"M", "明治", 1867};
    static const Era TAISHO{"T", "大正", 1911};
    static const Era SHOWA{"S", "昭和", 1925};
    static const Era HEISEI{"H", "平成", 1988};
    static const Era REIWA{"R", "令和", 2018};
    const long key = d.year * 10000L + d.month * 100L + d.day;
    if (d.year < 1900) return nullptr;
    if (key <= 19120729) return &MEIJI;
    if (key <= 19261224) return &TAISHO;
    if (key <= 19890107) return &SHOWA;
    if (key <= 20190430) return &HEISEI;
    return &REIWA;
}

std::string era_text(const DateParts &d, bool long_form) {
    const Era *era = japanese_era(d);
    if (!era) return "";
    const int era_year = d.year - era->first_year_offset;
    if (long_form) return format("%s%d年%d月%d日", era->name, era_year, d.month, d.day);
    return format("%s%d.%d.%d", era->letter, era_year, d.month, d.day);
}

}  // namespace

std::string ozw_date_text(double serial, int format_id) {
    const DateParts d = ozw_serial_to_date(serial);
    const int month = d.month - 1;  // always 0..11 for a converted serial
    const int yy = two_digit_year(d.year);
    const TwelveHour h12 = twelve_hour(d.hour);
    switch (format_id) {
    case FMT_YEAR_MONTH: return format("%d/%d", d.year, d.month);
    case FMT_DATE: return format("%d/%d/%d", d.year, d.month, d.day);
    case FMT_DATE_TIME: return format("%d/%d/%d %02d:%02d", d.year, d.month, d.day, d.hour, d.minute);
    case FMT_DATE_TIME_12H:
        return format("%d/%d/%d %02d:%02d %s", d.year, d.month, d.day, h12.hour, d.minute, h12.suffix);
    case FMT_MONTH: return format("%d", d.month);
    case FMT_MONTH_DAY: return format("%d/%d", d.month, d.day);
    case FMT_MDY: return format("%d/%d/%02d", d.month, d.day, yy);
    case FMT_MMDDYY: return format("%02d/%02d/%02d", d.month, d.day, yy);
    case FMT_D_MON: return format("%d-%s", d.day, MONTH_ABBREVIATIONS[month]);
    case FMT_D_MON_YY: return format("%d-%s-%02d", d.day, MONTH_ABBREVIATIONS[month], yy);
    case FMT_DD_MON_YY: return format("%02d-%s-%02d", d.day, MONTH_ABBREVIATIONS[month], yy);
    case FMT_MON_YY: return format("%s-%02d", MONTH_ABBREVIATIONS[month], yy);
    case FMT_MONTH_NAME_YY: return format("%s-%02d", MONTH_NAMES[month], yy);
    case FMT_MONTH_INITIAL: return MONTH_INITIALS[month];
    case FMT_MONTH_INITIAL_YY: return format("%s-%02d", MONTH_INITIALS[month], yy);
    case FMT_YYYYMMDD: return format("%04d%02d%02d", d.year, d.month, d.day);
    case FMT_YYYYMMDDHHMMSS:
        return format("%04d%02d%02d%02d%02d%02d", d.year, d.month, d.day, d.hour, d.minute, d.second);
    case FMT_DATE_TIME_SECONDS:
        return format("%d/%d/%d %02d:%02d:%02d", d.year, d.month, d.day, d.hour, d.minute, d.second);
    case FMT_DAY: return format("%d", d.day);
    case FMT_JP_MONTH: return format("%d月", d.month);
    case FMT_JP_MONTH_DAY: return format("%d月%d日", d.month, d.day);
    case FMT_JP_YEAR_MONTH: return format("%d年%d月", d.year, d.month);
    case FMT_JP_DATE: return format("%d年%d月%d日", d.year, d.month, d.day);
    case FMT_ERA_SHORT: return era_text(d, false);
    case FMT_ERA_LONG: return era_text(d, true);
    case FMT_WEEKDAY_ABBR: return WEEKDAY_ABBREVIATIONS[ozw_day_of_week(d.year, d.month, d.day)];
    case FMT_WEEKDAY_NAME: return WEEKDAY_NAMES[ozw_day_of_week(d.year, d.month, d.day)];
    case FMT_JP_WEEKDAY: return JP_WEEKDAYS[ozw_day_of_week(d.year, d.month, d.day)];
    case FMT_JP_WEEKDAY_LONG: return JP_WEEKDAYS_LONG[ozw_day_of_week(d.year, d.month, d.day)];
    case FMT_HM: return format("%02d:%02d", d.hour, d.minute);
    case FMT_JP_HM: return format("%d時%d分", d.hour, d.minute);
    case FMT_HM_12H: return format("%02d:%02d %s", h12.hour, d.minute, h12.suffix);
    case FMT_HMS: return format("%d:%02d:%02d", d.hour, d.minute, d.second);
    case FMT_JP_HMS: return format("%d時%02d分%02d秒", d.hour, d.minute, d.second);
    case FMT_HMS_12H: return format("%d:%02d:%02d %s", h12.hour, d.minute, d.second, h12.suffix);
    case FMT_MINUTE_SECOND: return format("%02d:%02d", d.minute, d.second);
    default: return "";
    }
}

std::string ozw_cell_date_text(const XLS_CELL &cell, int format_id) {
    const bool has_time = cell.type == XLS_CELL_DATE_TIME || cell.type == XLS_CELL_TIME_HM ||
                          cell.type == XLS_CELL_TIME_HMS;
    if (format_id == FMT_NONE) {
        switch (cell.type) {
        case XLS_CELL_DATE: format_id = FMT_DATE; break;
        case XLS_CELL_DATE_TIME: format_id = FMT_DATE_TIME; break;
        case XLS_CELL_TIME_HM: format_id = FMT_JP_HM; break;
        case XLS_CELL_TIME_HMS: format_id = FMT_HMS; break;
        default: return "";
        }
    }
    double serial = cell.number;
    if (has_time && cell.text && cell.text[0]) {
        // The time fraction is "%lf" printed; anything else is read as strtod
        // reads it.
        double fraction = 0;
        const char *end = cell.text + std::strlen(cell.text);
        const auto read = std::from_chars(cell.text, end, fraction);
        if (read.ec != std::errc() || read.ptr != end) fraction = std::strtod(cell.text, nullptr);
        serial += fraction;
    }
    return ozw_date_text(serial, format_id);
}

void ozw_add_date_text_bytes(int format_id, ByteSet &bytes) {
    const auto add_all = [&bytes](const char *const *texts, size_t count) {
        for (size_t i = 0; i < count; ++i) bytes.add(texts[i]);
    };
    switch (format_id) {
    case FMT_YEAR_MONTH: case FMT_DATE: case FMT_MONTH_DAY: case FMT_MDY: case FMT_MMDDYY: bytes.add("/"); break;
    case FMT_DATE_TIME: case FMT_DATE_TIME_SECONDS: bytes.add("/ :"); break;
    case FMT_DATE_TIME_12H: bytes.add("/ :AMP"); break;
    case FMT_MONTH: case FMT_YYYYMMDD: case FMT_YYYYMMDDHHMMSS: case FMT_DAY: break;
    case FMT_D_MON: case FMT_D_MON_YY: case FMT_DD_MON_YY: case FMT_MON_YY:
        bytes.add("-");
        add_all(MONTH_ABBREVIATIONS, 12);
        break;
    case FMT_MONTH_NAME_YY:
        bytes.add("-");
        add_all(MONTH_NAMES, 12);
        break;
    case FMT_MONTH_INITIAL_YY:
        bytes.add("-");
        add_all(MONTH_INITIALS, 12);
        break;
    case FMT_MONTH_INITIAL: add_all(MONTH_INITIALS, 12); return;
    case FMT_JP_MONTH: bytes.add("月"); break;
    case FMT_JP_MONTH_DAY: bytes.add("月日"); break;
    case FMT_JP_YEAR_MONTH: bytes.add("年月"); break;
    case FMT_JP_DATE: bytes.add("年月日"); break;
    case FMT_ERA_SHORT: bytes.add(".MTSHR"); break;
    case FMT_ERA_LONG: bytes.add("明治大正昭和平成令和年月日"); break;
    case FMT_WEEKDAY_ABBR: add_all(WEEKDAY_ABBREVIATIONS, 7); return;
    case FMT_WEEKDAY_NAME: add_all(WEEKDAY_NAMES, 7); return;
    case FMT_JP_WEEKDAY: add_all(JP_WEEKDAYS, 7); return;
    case FMT_JP_WEEKDAY_LONG: add_all(JP_WEEKDAYS_LONG, 7); return;
    case FMT_HM: case FMT_HMS: case FMT_MINUTE_SECOND: bytes.add(":"); break;
    case FMT_HM_12H: case FMT_HMS_12H: bytes.add(": AMP"); break;
    case FMT_JP_HM: bytes.add("時分"); break;
    case FMT_JP_HMS: bytes.add("時分秒"); break;
    default: return;   // no text
    }
    bytes.add("0123456789");
}
