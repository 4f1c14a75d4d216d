// Running a compiled number format for one value.
#include "shown_text.h"

#include "date_serial.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <cstring>

namespace {

// A number >= 0 as the program keeps it: at most 15 significant decimal
// digits, the value being 0.d1 d2 ... dn times ten to the power `point`.
struct Digits {
    char d[16] = {};
    int n = 0;
    int point = 0;

    explicit Digits(double x) {
        if (!(x > 0) || !std::isfinite(x)) return;
        char text[32];
        const auto end = std::to_chars(text, text + sizeof text, x, std::chars_format::scientific, 14).ptr;
        *end = 0;  // d.dddddddddddddde+XX
        d[0] = text[0];
        std::memcpy(d + 1, text + 2, 14);
        n = 15;
        point = std::atoi(text + 17) + 1;
        trim();
    }

    void trim() {
        while (n > 0 && d[n - 1] == '0') --n;
        if (n == 0) point = 0;
    }

    // Rounds half away from zero to `decimals` digits after the point.
    void round(int decimals) {
        const int keep = point + decimals;
        if (keep >= n) return;
        if (keep < 0) {
            n = point = 0;
            return;
        }
        const bool up = d[keep] >= '5';
        n = keep;
        if (up) {
            int i = keep - 1;
            while (i >= 0 && d[i] == '9') --i;
            if (i < 0) {
                d[0] = '1';
                n = 1;
                ++point;
            } else {
                ++d[i];
                n = i + 1;
            }
        }
        trim();
    }

    bool zero() const { return n == 0; }
    int whole_count() const { return point > 0 ? point : 0; }
    // Digit k of the whole part counted from the left.
    char whole(int k) const { return k < n ? d[k] : '0'; }
    // Digit k after the decimal point.
    char decimal(int k) const {
        const int at = point + k;
        return at >= 0 && at < n ? d[at] : '0';
    }
};

// Rounds half away from zero.
double round_half_up(double x) { return std::floor(x + 0.5); }

// A number >= 0 padded with zeros to at least `min_width` digits.
void append_int(long long v, int min_width, std::string &out) {
    char text[24];
    const auto n = static_cast<int>(std::to_chars(text, text + sizeof text, v).ptr - text);
    if (min_width > n) out.append(static_cast<size_t>(min_width - n), '0');
    out.append(text, static_cast<size_t>(n));
}

// The General form, wide enough for every digit: up to 15 significant
// digits, with an exponent for very large and very small numbers.
void append_general(double x, std::string &out) {
    if (x < 0) {
        out += '-';
        x = -x;
    }
    Digits g(x);
    if (g.zero()) {
        out += '0';
        return;
    }
    if (g.point > 15 || g.point < -8) {
        out += g.d[0];
        if (g.n > 1) {
            out += '.';
            out.append(g.d + 1, static_cast<size_t>(g.n - 1));
        }
        out += g.point - 1 < 0 ? "E-" : "E+";
        append_int(std::abs(g.point - 1), 2, out);
        return;
    }
    if (g.point <= 0) out += '0';
    for (int k = 0; k < g.whole_count(); ++k) out += g.whole(k);
    if (g.n > g.point) {
        out += '.';
        for (int k = 0; k < g.n - g.point; ++k) out += g.decimal(k);
    }
}

// The k-th of `places` placeholders of a right-aligned digit run (whole
// part, numerator): the digit it shows, or its padding when the number has
// fewer digits.  The first placeholder also takes the digits that do not
// fit.  `grouping` puts a comma after every third digit from the right.
void append_whole_place(const Digits &v, int k, int places, char placeholder, bool grouping, std::string &out) {
    const int length = v.whole_count();
    const int position = places - 1 - k;  // from the right, 0 for the units
    const auto put = [&](int pos) {
        out += v.whole(length - 1 - pos);
        if (grouping && pos > 0 && pos % 3 == 0) out += ',';
    };
    if (k == 0)
        for (int pos = length - 1; pos >= places; --pos) put(pos);
    if (position < length) put(position);
    else if (placeholder == '0') {
        out += '0';
        if (grouping && position > 0 && position % 3 == 0) out += ',';
    } else if (placeholder == '?') out += ' ';
}

// Best approximation of x by a fraction with a denominator up to max_den,
// from the continued fraction of x and the last semiconvergent.
void best_fraction(double x, double max_den, double &num, double &den) {
    double p0 = 0, q0 = 1, p1 = 1, q1 = 0;
    double r = x;
    for (int step = 0; step < 64; ++step) {
        const double a = std::floor(r);
        const double q2 = q0 + a * q1;
        if (q2 > max_den) {
            const double k = std::floor((max_den - q0) / q1);
            const double ps = p0 + k * p1, qs = q0 + k * q1;
            if (std::fabs(x - ps / qs) < std::fabs(x - p1 / q1)) p1 = ps, q1 = qs;
            break;
        }
        const double p2 = p0 + a * p1;
        p0 = p1, q0 = q1, p1 = p2, q1 = q2;
        const double rest = r - a;
        if (rest < 1e-12) break;
        r = 1 / rest;
    }
    num = p1;
    den = q1;
}

const char *const MONTH_ABBREVIATIONS[12] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                             "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
const char *const MONTH_NAMES[12] = {"January", "February", "March",     "April",   "May",      "June",
                                     "July",    "August",   "September", "October", "November", "December"};
const char *const DAY_ABBREVIATIONS[7] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
const char *const DAY_NAMES[7] = {"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"};
const char *const DAYS_JA[7] = {"日", "月", "火", "水", "木", "金", "土"};

// Japanese eras, newest first: the first day, the letter, the first kanji,
// the name, and the year before the era's first year.
struct Era {
    int first_day;  // yyyymmdd
    const char *letter;
    const char *kanji;
    const char *name;
    int year_before;
};
constexpr Era ERAS[] = {
    {20190501, "R", "令", "令和", 2018}, {19890108, "H", "平", "平成", 1988}, {19261225, "S", "昭", "昭和", 1925},
    {19120730, "T", "大", "大正", 1911}, {0, "M", "明", "明治", 1867},
};

const Era &era_of(const DateParts &p) {
    const int day = p.year * 10000 + p.month * 100 + p.day;
    for (const Era &e : ERAS)
        if (day >= e.first_day) return e;
    return ERAS[4];
}

// Last serial day each date system shows (9999-12-31).
constexpr double LAST_DAY_1900 = 2958465;
constexpr double LAST_DAY_1904 = LAST_DAY_1900 - 1462;

}  // namespace

const ShownSection *ShownFormat::choose(double value, bool &show_minus) const {
    const int n = section_count_;
    const ShownSection *s = sections_;
    show_minus = false;
    if (!has_conditions_) {
        if (n >= 2 && value < 0) return &s[1];
        if (n >= 3 && value == 0) return &s[2];
        show_minus = value < 0;
        return &s[0];
    }
    const auto holds = [value](const ShownSection &sec) {
        switch (sec.condition) {
        case SHOWN_LT: return value < sec.operand;
        case SHOWN_LE: return value <= sec.operand;
        case SHOWN_GT: return value > sec.operand;
        case SHOWN_GE: return value >= sec.operand;
        case SHOWN_EQ: return value == sec.operand;
        case SHOWN_NE: return value != sec.operand;
        default: return false;
        }
    };
    const ShownSection *chosen = nullptr;
    if (holds(s[0])) chosen = &s[0];
    else if (n >= 2 && holds(s[1])) chosen = &s[1];
    else if (n >= 2 && s[1].condition == SHOWN_ANY) chosen = &s[1];
    else if (n >= 3) chosen = &s[2];
    if (!chosen) return nullptr;
    // A section meant for negative numbers writes its own sign: the second
    // one without a condition, or any whose condition takes only numbers
    // below zero.
    const bool negative_section =
        (chosen == &s[1] && chosen->condition == SHOWN_ANY) ||
        ((chosen->condition == SHOWN_LT && chosen->operand <= 0) ||
         (chosen->condition == SHOWN_LE && chosen->operand < 0));
    show_minus = value < 0 && !negative_section;
    return chosen;
}

bool ShownFormat::render(double value, bool date1904, std::string &out) const {
    out.clear();
    if (!std::isfinite(value)) return false;
    bool show_minus = false;
    const ShownSection *sec = choose(value, show_minus);
    if (!sec) return false;
    switch (sec->kind) {
    case SHOWN_GENERAL_SECTION:
        return false;
    case SHOWN_TEXT_SECTION:
        append_general(value, out);
        return true;
    case SHOWN_DATE_SECTION:
        return render_date(*sec, value, date1904, out);
    default:
        if (sec->fraction) render_fraction(*sec, std::fabs(value), show_minus, out);
        else render_number(*sec, std::fabs(value), show_minus, out);
        return true;
    }
}

int ShownFormat::shows_date(double value) const {
    bool show_minus = false;
    const ShownSection *sec = std::isfinite(value) ? choose(value, show_minus) : nullptr;
    if (!sec || sec->kind != SHOWN_DATE_SECTION) return 0;
    bool date = false, time = false;
    for (uint32_t i = sec->first; i < sec->first + sec->count; ++i) {
        switch (tokens_[i].kind) {
        case SHOWN_YEAR: case SHOWN_MONTH: case SHOWN_DAY: case SHOWN_ERA_YEAR: case SHOWN_WEEKDAY_JA:
            date = true;
            break;
        case SHOWN_HOUR: case SHOWN_MINUTE:
            time = true;
            break;
        default:
            break;
        }
    }
    return date ? (time ? 2 : 1) : 0;
}

void ShownFormat::render_number(const ShownSection &sec, double x, bool show_minus, std::string &out) const {
    const double original = x;
    for (int k = 0; k < sec.percents; ++k) x *= 100;
    for (int k = 0; k < sec.scale_thousands; ++k) x /= 1000;
    Digits v(x);
    int exponent = 0;
    if (sec.exponent && !v.zero()) {
        // The exponent is a multiple of the whole places (engineering
        // notation for ##0.0E+0); rounding may carry into the next power.
        const int places = sec.integer_places > 0 ? sec.integer_places : 1;
        int power = v.point - 1;
        for (int attempt = 0; attempt < 2; ++attempt) {
            const int shift = (power >= 0 ? power / places : -((-power + places - 1) / places)) * places;
            Digits m = v;
            m.point -= shift;
            m.round(sec.fraction_places);
            if (m.point > power - shift + 1 && attempt == 0) {
                ++power;
                continue;
            }
            v = m;
            exponent = shift;
            break;
        }
    } else {
        v.round(sec.fraction_places);
    }
    if (show_minus) out += '-';

    const ShownToken *t = tokens_.data() + sec.first;
    // The last decimal place that shows a digit: zeros beyond it are
    // dropped by # and blanked by ?.
    int last_shown = -1;
    for (uint32_t k = 0, place = 0; k < sec.count; ++k) {
        if (t[k].kind != SHOWN_DIGIT || t[k].role != SHOWN_DECIMALS) continue;
        if (v.decimal(static_cast<int>(place)) != '0' || t[k].width == '0') last_shown = static_cast<int>(place);
        ++place;
    }
    int whole = 0, decimal = 0;
    bool exponent_written = false;
    for (uint32_t k = 0; k < sec.count; ++k) {
        const ShownToken &tok = t[k];
        switch (tok.kind) {
        case SHOWN_LITERAL:
            out.append(literals_, tok.text_at, tok.text_len);
            break;
        case SHOWN_POINT:
            // With no place before the point, the whole part still shows
            // when it is not zero (.00 shows 1.50).
            if (sec.integer_places == 0)
                for (int d = 0; d < v.whole_count(); ++d) out += v.whole(d);
            out += '.';
            break;
        case SHOWN_GENERAL:
            append_general(original, out);
            break;
        case SHOWN_EXPONENT:
            out += static_cast<char>(tok.role);
            if (exponent < 0) out += '-';
            else if (tok.width == '+') out += '+';
            break;
        case SHOWN_DIGIT:
            if (tok.role == SHOWN_WHOLE) {
                append_whole_place(v, whole++, sec.integer_places, static_cast<char>(tok.width), sec.grouping, out);
            } else if (tok.role == SHOWN_DECIMALS) {
                if (decimal <= last_shown) out += v.decimal(decimal);
                else if (tok.width == '?') out += ' ';
                ++decimal;
            } else if (!exponent_written) {
                append_int(std::abs(exponent), sec.exponent_places, out);
                exponent_written = true;
            }
            break;
        default:
            break;
        }
    }
}

void ShownFormat::render_fraction(const ShownSection &sec, double x, bool show_minus, std::string &out) const {
    double whole = 0, part = x;
    if (sec.fraction_whole) {
        whole = std::floor(x);
        part = x - whole;
    }
    double num = 0, den = 1;
    if (sec.fixed_denominator > 0) {
        den = sec.fixed_denominator;
        num = round_half_up(part * den);
    } else {
        const int places = sec.denominator_places < 9 ? sec.denominator_places : 9;
        best_fraction(part, std::pow(10.0, places) - 1, num, den);
    }
    if (sec.fraction_whole && num >= den) {
        whole += 1;
        num = 0;
    }
    // A whole number shows no fraction: blanks stand in its place.
    const bool blank = sec.fraction_whole && num == 0;
    if (show_minus) out += '-';
    const Digits w(whole), numerator(num), denominator(den);
    const ShownToken *t = tokens_.data() + sec.first;
    int numerator_places = 0;
    for (uint32_t k = 0; k < sec.count; ++k)
        numerator_places += t[k].kind == SHOWN_DIGIT && t[k].role == SHOWN_NUMERATOR;
    int whole_at = 0, numerator_at = 0, denominator_at = 0;
    for (uint32_t k = 0; k < sec.count; ++k) {
        const ShownToken &tok = t[k];
        const char placeholder = static_cast<char>(tok.width);
        if (tok.kind == SHOWN_LITERAL) {
            // A fixed denominator goes with the fraction it ends.
            if (!blank || tok.role != SHOWN_DENOMINATOR) out.append(literals_, tok.text_at, tok.text_len);
        } else if (tok.kind == SHOWN_SLASH) {
            out += blank ? ' ' : '/';
        } else if (tok.kind == SHOWN_GENERAL) {
            append_general(x, out);
        } else if (tok.kind == SHOWN_DIGIT && tok.role == SHOWN_WHOLE) {
            // With no fraction to show, a zero whole part still shows 0.
            const bool last = whole_at == sec.integer_places - 1;
            append_whole_place(w, whole_at++, sec.integer_places, blank && last ? '0' : placeholder, sec.grouping, out);
        } else if (tok.kind == SHOWN_DIGIT && tok.role == SHOWN_NUMERATOR) {
            if (blank) out += ' ';
            else append_whole_place(numerator, numerator_at, numerator_places,
                                    num == 0 && numerator_at == numerator_places - 1 ? '0' : placeholder, false, out);
            ++numerator_at;
        } else if (tok.kind == SHOWN_DIGIT && tok.role == SHOWN_DENOMINATOR) {
            // The denominator is aligned left: its digits first, then padding.
            if (blank) {
                out += ' ';
            } else if (denominator_at == 0) {
                for (int d = 0; d < denominator.whole_count(); ++d) out += denominator.whole(d);
            }
            if (!blank && denominator_at >= denominator.whole_count() && placeholder != '#') out += ' ';
            ++denominator_at;
        }
    }
}

bool ShownFormat::render_date(const ShownSection &sec, double value, bool date1904, std::string &out) const {
    const double last_day = date1904 ? LAST_DAY_1904 : LAST_DAY_1900;
    if (!(value >= 0) || value >= last_day + 1) return false;
    // The time is rounded to the finest unit shown: a hundredth of a second
    // for ss.00, a second otherwise; coarser units are then cut, not rounded.
    static constexpr long long SCALE[4] = {1, 10, 100, 1000};
    const long long per_second = SCALE[sec.second_decimals];
    const long long per_day = 86400 * per_second;
    const long long units = static_cast<long long>(round_half_up(value * static_cast<double>(per_day)));
    const long long day = units / per_day;
    if (static_cast<double>(day) > last_day) return false;
    const long long seconds_total = units / per_second;
    const long long second_part = units % per_second;
    const long long in_day = seconds_total % 86400;
    const int hour = static_cast<int>(in_day / 3600);
    const int minute = static_cast<int>(in_day / 60 % 60);
    const int second = static_cast<int>(in_day % 60);

    const DateParts date = ozw_serial_to_date(static_cast<double>(date1904 ? day + 1462 : day));
    // Days before March 1900 keep the weekdays of a calendar with 29 February 1900.
    const int weekday = !date1904 && day < 61 ? static_cast<int>((day + 6) % 7)
                                               : ozw_day_of_week(date.year, date.month, date.day);
    const Era &era = era_of(date);

    const ShownToken *t = tokens_.data() + sec.first;
    for (uint32_t k = 0; k < sec.count; ++k) {
        const ShownToken &tok = t[k];
        const int w = tok.width;
        switch (tok.kind) {
        case SHOWN_LITERAL: out.append(literals_, tok.text_at, tok.text_len); break;
        case SHOWN_YEAR: append_int(w == 2 ? date.year % 100 : date.year, w, out); break;
        case SHOWN_MONTH:
            if (w <= 2) append_int(date.month, w, out);
            else if (w == 3) out += MONTH_ABBREVIATIONS[date.month - 1];
            else if (w == 4) out += MONTH_NAMES[date.month - 1];
            else out += MONTH_NAMES[date.month - 1][0];
            break;
        case SHOWN_DAY:
            if (w <= 2) append_int(date.day, w, out);
            else out += (w == 3 ? DAY_ABBREVIATIONS : DAY_NAMES)[weekday];
            break;
        case SHOWN_WEEKDAY_JA:
            out += DAYS_JA[weekday];
            if (w == 4) out += "曜日";
            break;
        case SHOWN_HOUR: {
            const int h = sec.twelve_hour ? (hour % 12 == 0 ? 12 : hour % 12) : hour;
            append_int(h, w, out);
            break;
        }
        case SHOWN_MINUTE: append_int(minute, w, out); break;
        case SHOWN_SECOND: append_int(second, w, out); break;
        case SHOWN_SUBSECOND: {
            // The first w of the second's decimals.
            const size_t at = out.size() + 1;
            out += '.';
            append_int(second_part, sec.second_decimals, out);
            out.resize(at + static_cast<size_t>(w));
            break;
        }
        case SHOWN_AMPM: {
            static const char *const SPELLINGS[4][2] = {{"AM", "PM"}, {"am", "pm"}, {"A", "P"}, {"a", "p"}};
            out += SPELLINGS[w][hour >= 12 ? 1 : 0];
            break;
        }
        case SHOWN_ERA: out += w == 1 ? era.letter : w == 2 ? era.kanji : era.name; break;
        case SHOWN_ERA_YEAR: append_int(date.year - era.year_before, w, out); break;
        case SHOWN_ELAPSED_HOURS: append_int(seconds_total / 3600, w, out); break;
        case SHOWN_ELAPSED_MINUTES: append_int(seconds_total / 60, w, out); break;
        case SHOWN_ELAPSED_SECONDS: append_int(seconds_total, w, out); break;
        default: break;
        }
    }
    return true;
}

bool ShownFormat::has_dates() const {
    for (int s = 0; s < section_count_; ++s)
        if (sections_[s].kind == SHOWN_DATE_SECTION) return true;
    return false;
}

void ShownFormat::add_bytes(ByteSet &bytes) const {
    static constexpr std::string_view kDigits = "0123456789";
    // The General form: digits, sign, point and exponent.
    static constexpr std::string_view kGeneral = "0123456789-.E+";
    const auto add_all = [&bytes](const char *const *texts, size_t count) {
        for (size_t i = 0; i < count; ++i) bytes.add(texts[i]);
    };
    for (int s = 0; s < section_count_; ++s) {
        const ShownSection &sec = sections_[s];
        if (sec.kind == SHOWN_GENERAL_SECTION) continue;
        if (sec.kind == SHOWN_TEXT_SECTION) {
            bytes.add(kGeneral);
            continue;
        }
        // A number section writes its own minus sign and blanks for ?
        // places and a whole number's missing fraction.
        if (sec.kind == SHOWN_NUMBER_SECTION) bytes.add("- ");
        for (uint32_t k = sec.first; k < sec.first + sec.count; ++k) {
            const ShownToken &tok = tokens_[k];
            switch (tok.kind) {
            case SHOWN_LITERAL: bytes.add(std::string_view(literals_).substr(tok.text_at, tok.text_len)); break;
            case SHOWN_DIGIT:
                bytes.add(kDigits);
                if (sec.grouping) bytes.add(",");
                break;
            case SHOWN_POINT: bytes.add(kDigits); bytes.add("."); break;
            case SHOWN_EXPONENT: bytes.add(std::string_view(reinterpret_cast<const char *>(&tok.role), 1)); bytes.add("+-"); break;
            case SHOWN_SLASH: bytes.add("/"); break;
            case SHOWN_GENERAL: bytes.add(kGeneral); break;
            case SHOWN_MONTH:
                if (tok.width <= 2) bytes.add(kDigits);
                else if (tok.width == 3) add_all(MONTH_ABBREVIATIONS, 12);
                else add_all(MONTH_NAMES, 12);
                break;
            case SHOWN_DAY:
                if (tok.width <= 2) bytes.add(kDigits);
                else add_all(tok.width == 3 ? DAY_ABBREVIATIONS : DAY_NAMES, 7);
                break;
            case SHOWN_WEEKDAY_JA:
                add_all(DAYS_JA, 7);
                if (tok.width == 4) bytes.add("曜日");
                break;
            case SHOWN_SUBSECOND: bytes.add(kDigits); bytes.add("."); break;
            case SHOWN_AMPM: bytes.add(tok.width == SHOWN_AM_PM ? "AMP" : tok.width == SHOWN_AM_PM_LOWER ? "amp"
                                       : tok.width == SHOWN_A_P ? "AP" : "ap"); break;
            case SHOWN_ERA:
                for (const Era &era : ERAS) bytes.add(tok.width == 1 ? era.letter : tok.width == 2 ? era.kanji : era.name);
                break;
            default:   // year, hour, minute, second, era year, elapsed time
                bytes.add(kDigits);
                break;
            }
        }
    }
}
