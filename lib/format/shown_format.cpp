// Compiling a number format code into the tokens ShownFormat runs.
#include "shown_text.h"

#include <algorithm>
#include <cstdlib>

namespace {

// Longer codes get no shown form (a spreadsheet program keeps 255 characters).
constexpr size_t MAX_CODE_BYTES = 4096;
// The program shows at most 30 decimals; more percent signs or scaling
// commas than this only push every digit out of reach.
constexpr int MAX_DECIMALS = 30;
constexpr int MAX_SCALE_STEPS = 8;
// Internal token kind of a comma until it is known to group or to scale.
constexpr uint8_t PENDING_COMMA = 200;

char lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool starts_with_ci(std::string_view s, size_t at, std::string_view word) {
    if (s.size() - at < word.size()) return false;
    for (size_t k = 0; k < word.size(); ++k)
        if (lower(s[at + k]) != word[k]) return false;
    return true;
}

// Bytes of the UTF-8 character at s[at]; a stray byte counts alone.
size_t char_length(std::string_view s, size_t at) {
    const auto c = static_cast<unsigned char>(s[at]);
    const size_t n = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC0 ? 2 : 1;
    return std::min(n, s.size() - at);
}

// The end of the quoted text, escape, spacing or fill item starting at s[at]
// (a quote, backslash, underscore or asterisk); `at` + 1 for anything else.
size_t skip_item(std::string_view s, size_t at) {
    const char c = s[at];
    if (c == '"') {
        const size_t close = s.find('"', at + 1);
        return close == std::string_view::npos ? s.size() : close + 1;
    }
    if ((c == '\\' || c == '_' || c == '*') && at + 1 < s.size()) return at + 1 + char_length(s, at + 1);
    if (c == '[') {
        const size_t close = s.find(']', at + 1);
        return close == std::string_view::npos ? s.size() : close + 1;
    }
    return at + 1;
}

// What stands between a bracket starting at s[at] and its end (an
// unclosed bracket runs to the end of the section).
std::string_view bracket_inside(std::string_view s, size_t at, size_t end) {
    return s.substr(at + 1, end - at - 1 - (s[end - 1] == ']' && end - 1 > at ? 1 : 0));
}

// The letters of a bracket that stand for elapsed time: [h], [mm], [ss].
uint8_t elapsed_kind(std::string_view inside) {
    if (inside.empty()) return 0;
    const char first = lower(inside[0]);
    for (char c : inside)
        if (lower(c) != first) return 0;
    if (first == 'h') return SHOWN_ELAPSED_HOURS;
    if (first == 'm') return SHOWN_ELAPSED_MINUTES;
    if (first == 's') return SHOWN_ELAPSED_SECONDS;
    return 0;
}

// Whether a section shows a date or time: it holds a date or time letter
// outside quotes, escapes and brackets, or an elapsed-time bracket.
bool is_date_section(std::string_view s) {
    for (size_t i = 0; i < s.size();) {
        const char c = lower(s[i]);
        if (c == '[') {
            const size_t end = skip_item(s, i);
            if (elapsed_kind(bracket_inside(s, i, end))) return true;
            i = end;
            continue;
        }
        if (starts_with_ci(s, i, "general")) {
            i += 7;
            continue;
        }
        if (c == 'y' || c == 'm' || c == 'd' || c == 'h' || c == 's' || c == 'g') return true;
        if (c == 'e' && !(i + 1 < s.size() && (s[i + 1] == '+' || s[i + 1] == '-'))) return true;
        if (starts_with_ci(s, i, "am/pm") || starts_with_ci(s, i, "a/p") || starts_with_ci(s, i, "aaa")) return true;
        i = skip_item(s, i);
    }
    return false;
}

// The sections of a code: split at semicolons outside quotes, escapes and
// brackets.  A fifth and later sections are ignored.
int split_sections(std::string_view code, std::string_view parts[4]) {
    int count = 0;
    size_t start = 0;
    for (size_t i = 0; i <= code.size();) {
        if (i == code.size() || code[i] == ';') {
            if (count == 4) break;
            parts[count++] = code.substr(start, i - start);
            start = ++i;
            continue;
        }
        i = skip_item(code, i);
    }
    return count;
}

bool holds_text_placeholder(std::string_view s) {
    for (size_t i = 0; i < s.size(); i = skip_item(s, i))
        if (s[i] == '@') return true;
    return false;
}

// The locale codes that stand for the system's long date and time formats,
// shown in the Japanese locale's own forms.
constexpr std::string_view SYSTEM_LONG_DATE = "yyyy\"年\"mm\"月\"dd\"日（\"aaaa\"）\"";
constexpr std::string_view SYSTEM_TIME = "hh:mm:ss";

}  // namespace

// Builds the tokens of one format; one object per compile.
class ShownCompiler {
  public:
    explicit ShownCompiler(ShownFormat &format) : f_(format) {}

    void section(std::string_view text, ShownSection &sec) {
        sec.first = static_cast<uint32_t>(f_.tokens_.size());
        std::string_view system_code;
        tokenize(text, sec, system_code);
        if (!system_code.empty()) {
            // The rest of a system-format section is only what the format
            // looked like where the book was written.
            f_.tokens_.resize(sec.first);
            const uint8_t condition = sec.condition;
            const double operand = sec.operand;
            sec = ShownSection{};
            sec.first = static_cast<uint32_t>(f_.tokens_.size());
            sec.condition = condition;
            sec.operand = operand;
            tokenize(system_code, sec, system_code);
        }
        sec.count = static_cast<uint32_t>(f_.tokens_.size()) - sec.first;
        if (sec.kind == SHOWN_DATE_SECTION)
            finish_date(sec);
        else
            finish_number(sec);
        if (sec.count == 1 && f_.tokens_[sec.first].kind == SHOWN_GENERAL) sec.kind = SHOWN_GENERAL_SECTION;
    }

  private:
    ShownFormat &f_;

    ShownToken &add(uint8_t kind, uint8_t width = 0) {
        ShownToken t;
        t.kind = kind;
        t.width = width;
        f_.tokens_.push_back(t);
        return f_.tokens_.back();
    }

    // Appends literal text, joining it to a literal just before.
    void literal(const ShownSection &sec, std::string_view text) {
        if (text.empty()) return;
        const auto end = static_cast<uint32_t>(f_.literals_.size());
        f_.literals_.append(text);
        if (f_.tokens_.size() > sec.first) {
            ShownToken &last = f_.tokens_.back();
            if (last.kind == SHOWN_LITERAL && last.text_at + last.text_len == end && last.role == 0) {
                last.text_len += static_cast<uint32_t>(text.size());
                return;
            }
        }
        ShownToken &t = add(SHOWN_LITERAL);
        t.text_at = end;
        t.text_len = static_cast<uint32_t>(text.size());
    }

    static size_t run_length(std::string_view s, size_t at, char letter) {
        size_t n = 0;
        while (at + n < s.size() && lower(s[at + n]) == letter) ++n;
        return n;
    }

    void bracket(std::string_view inside, bool date, ShownSection &sec, std::string_view &system_code) {
        if (inside.empty()) return;
        const char c = inside[0];
        if (c == '$') {
            const size_t dash = inside.find('-');
            literal(sec, inside.substr(1, dash == std::string_view::npos ? std::string_view::npos : dash - 1));
            if (dash != std::string_view::npos) {
                const std::string_view locale = inside.substr(dash + 1);
                const unsigned long lcid = std::strtoul(std::string(locale).c_str(), nullptr, 16);
                if (lcid == 0xF800) system_code = SYSTEM_LONG_DATE;
                if (lcid == 0xF400) system_code = SYSTEM_TIME;
            }
            return;
        }
        if (c == '<' || c == '>' || c == '=') {
            size_t at = 1;
            if (c == '<' && inside.size() > 1 && inside[1] == '=') sec.condition = SHOWN_LE, at = 2;
            else if (c == '<' && inside.size() > 1 && inside[1] == '>') sec.condition = SHOWN_NE, at = 2;
            else if (c == '>' && inside.size() > 1 && inside[1] == '=') sec.condition = SHOWN_GE, at = 2;
            else sec.condition = c == '<' ? SHOWN_LT : c == '>' ? SHOWN_GT : SHOWN_EQ;
            const std::string number(inside.substr(at));
            sec.operand = std::strtod(number.c_str(), nullptr);
            f_.has_conditions_ = true;
            return;
        }
        const uint8_t elapsed = elapsed_kind(inside);
        if (elapsed && date) add(elapsed, static_cast<uint8_t>(std::min<size_t>(inside.size(), 9)));
        // Colours, [DBNum1] and the like change nothing in the text.
    }

    void tokenize(std::string_view s, ShownSection &sec, std::string_view &system_code) {
        const bool date = is_date_section(s);
        sec.kind = date ? SHOWN_DATE_SECTION : SHOWN_NUMBER_SECTION;
        for (size_t i = 0; i < s.size();) {
            const char c = s[i];
            const char lc = lower(c);
            if (c == '"' || c == '\\' || c == '[') {
                const size_t end = skip_item(s, i);
                if (c == '"') literal(sec, s.substr(i + 1, end - i - (end > i + 1 && s[end - 1] == '"' ? 2 : 1)));
                else if (c == '\\') literal(sec, s.substr(i + 1, end - i - 1));
                else bracket(bracket_inside(s, i, end), date, sec, system_code);
                i = end;
                continue;
            }
            if (c == '_' || c == '*') {
                if (c == '_') literal(sec, " ");
                i = skip_item(s, i);
                continue;
            }
            if (starts_with_ci(s, i, "general")) {
                add(SHOWN_GENERAL);
                i += 7;
                continue;
            }
            if (c == '@') {
                add(SHOWN_GENERAL);
                ++i;
                continue;
            }
            i = date ? date_item(s, i, lc, sec) : number_item(s, i, c, sec);
        }
    }

    size_t number_item(std::string_view s, size_t i, char c, ShownSection &sec) {
        if (c == '0' || c == '#' || c == '?') {
            add(SHOWN_DIGIT, static_cast<uint8_t>(c));
            return i + 1;
        }
        if (c == '.') add(SHOWN_POINT);
        else if (c == ',') add(PENDING_COMMA);
        else if (c == '/') add(SHOWN_SLASH);
        else if ((c == 'e' || c == 'E') && i + 1 < s.size() && (s[i + 1] == '+' || s[i + 1] == '-')) {
            add(SHOWN_EXPONENT, static_cast<uint8_t>(s[i + 1])).role = static_cast<uint8_t>(c);
            return i + 2;
        } else {
            if (c == '%') ++sec.percents;
            const size_t n = char_length(s, i);
            literal(sec, s.substr(i, n));
            return i + n;
        }
        return i + 1;
    }

    size_t date_item(std::string_view s, size_t i, char lc, ShownSection &sec) {
        const auto width = [](size_t n, size_t most) { return static_cast<uint8_t>(std::min(n, most)); };
        switch (lc) {
        case 'y': {
            const size_t n = run_length(s, i, 'y');
            add(SHOWN_YEAR, n <= 2 ? 2 : 4);
            return i + n;
        }
        case 'm': case 'd': case 'h': case 's': case 'e': case 'g': {
            static constexpr struct { char letter; uint8_t kind; size_t most; } LETTERS[] = {
                {'m', SHOWN_MONTH, 5}, {'d', SHOWN_DAY, 4}, {'h', SHOWN_HOUR, 2},
                {'s', SHOWN_SECOND, 2}, {'e', SHOWN_ERA_YEAR, 2}, {'g', SHOWN_ERA, 3}};
            for (const auto &l : LETTERS)
                if (l.letter == lc) {
                    const size_t n = run_length(s, i, lc);
                    add(l.kind, width(n, l.most));
                    return i + n;
                }
            break;
        }
        case 'a':
            if (starts_with_ci(s, i, "am/pm")) {
                add(SHOWN_AMPM, s[i] == 'a' ? SHOWN_AM_PM_LOWER : SHOWN_AM_PM);
                return i + 5;
            }
            if (starts_with_ci(s, i, "a/p")) {
                add(SHOWN_AMPM, s[i] == 'a' ? SHOWN_A_P_LOWER : SHOWN_A_P);
                return i + 3;
            }
            if (const size_t n = run_length(s, i, 'a'); n >= 3) {
                add(SHOWN_WEEKDAY_JA, width(n, 4));
                return i + n;
            }
            break;
        case '.':
            if (const size_t n = run_length(s, i + 1, '0'); n > 0) {
                add(SHOWN_SUBSECOND, width(n, 3));
                sec.second_decimals = std::max<int>(sec.second_decimals, std::min<size_t>(n, 3));
                return i + 1 + n;
            }
            break;
        default:
            break;
        }
        const size_t n = char_length(s, i);
        literal(sec, s.substr(i, n));
        return i + n;
    }

    void finish_date(ShownSection &sec) {
        ShownToken *t = f_.tokens_.data() + sec.first;
        const auto time_kind = [&](int at, int step) -> uint8_t {
            for (int k = at + step; k >= 0 && k < static_cast<int>(sec.count); k += step)
                if (t[k].kind != SHOWN_LITERAL) return t[k].kind;
            return SHOWN_LITERAL;
        };
        for (int k = 0; k < static_cast<int>(sec.count); ++k) {
            const uint8_t kind = t[k].kind;
            if (kind == SHOWN_MONTH && t[k].width <= 2) {
                // Minutes when just after an hour or just before a second.
                const uint8_t before = time_kind(k, -1);
                const uint8_t after = time_kind(k, 1);
                if (before == SHOWN_HOUR || before == SHOWN_ELAPSED_HOURS || after == SHOWN_SECOND ||
                    after == SHOWN_ELAPSED_SECONDS)
                    t[k].kind = SHOWN_MINUTE;
            }
            if (kind == SHOWN_AMPM) sec.twelve_hour = true;
            if (kind >= SHOWN_ELAPSED_HOURS && kind <= SHOWN_ELAPSED_SECONDS &&
                (sec.largest_elapsed == 0 || kind < sec.largest_elapsed))
                sec.largest_elapsed = kind;
        }
    }

    // Decides what commas, slashes and placeholders of a number section do.
    void finish_number(ShownSection &sec) {
        ShownToken *t = f_.tokens_.data() + sec.first;
        const int n = static_cast<int>(sec.count);
        const auto as_literal = [&](ShownToken &token, std::string_view text) {
            token.kind = SHOWN_LITERAL;
            token.text_at = static_cast<uint32_t>(f_.literals_.size());
            token.text_len = static_cast<uint32_t>(text.size());
            f_.literals_.append(text);
        };
        find_fraction(sec, t, n);
        bool after_point = false;
        for (int k = 0; k < n; ++k) {
            if (t[k].kind == SHOWN_POINT && (after_point || sec.fraction || sec.exponent)) as_literal(t[k], ".");
            if (t[k].kind == SHOWN_POINT) after_point = true;
            if (t[k].kind == SHOWN_EXPONENT && sec.exponent) as_literal(t[k], "E");
            if (t[k].kind == SHOWN_EXPONENT) sec.exponent = true;
            if (t[k].kind == SHOWN_SLASH && t[k].role != 1) as_literal(t[k], "/");
            if (t[k].kind != PENDING_COMMA) continue;
            // A comma right after a placeholder groups thousands when another
            // placeholder follows, and scales by a thousand otherwise.
            int run = 0;
            while (k + run < n && t[k + run].kind == PENDING_COMMA) ++run;
            const bool after_digit = k > 0 && t[k - 1].kind == SHOWN_DIGIT;
            const bool before_digit = k + run < n && t[k + run].kind == SHOWN_DIGIT;
            for (int r = 0; r < run; ++r) {
                if (!after_digit) as_literal(t[k + r], ",");
                else t[k + r] = ShownToken{SHOWN_LITERAL, 0, 0, 0, 0};
            }
            if (after_digit && before_digit && !after_point) sec.grouping = true;
            else if (after_digit && !before_digit) sec.scale_thousands = std::min(MAX_SCALE_STEPS, sec.scale_thousands + run);
            k += run - 1;
        }
        sec.percents = std::min(sec.percents, MAX_SCALE_STEPS);
        uint8_t role = SHOWN_WHOLE;
        bool point_seen = false;
        for (int k = 0; k < n; ++k) {
            if (t[k].kind == SHOWN_POINT && !point_seen && role == SHOWN_WHOLE) role = SHOWN_DECIMALS, point_seen = true;
            if (t[k].kind == SHOWN_EXPONENT) role = SHOWN_EXPONENT_DIGITS;
            if (t[k].kind != SHOWN_DIGIT || sec.fraction) continue;
            t[k].role = role;
            if (role == SHOWN_WHOLE) ++sec.integer_places;
            else if (role == SHOWN_DECIMALS) ++sec.fraction_places;
            else ++sec.exponent_places;
        }
        sec.fraction_places = std::min(sec.fraction_places, MAX_DECIMALS);
    }

    // A fraction: placeholders, a slash, then placeholders or a fixed
    // denominator written in digits.
    void find_fraction(ShownSection &sec, ShownToken *t, int n) {
        int slash = -1;
        for (int k = 1; k < n; ++k)
            if (t[k].kind == SHOWN_SLASH && t[k - 1].kind == SHOWN_DIGIT) {
                slash = k;
                break;
            }
        if (slash < 0 || slash + 1 >= n) return;
        ShownToken &next = t[slash + 1];
        if (next.kind == SHOWN_LITERAL && next.text_len > 0 && f_.literals_[next.text_at] >= '1' &&
            f_.literals_[next.text_at] <= '9') {
            // Digits of the denominator: the literal's leading digits and
            // the zeros that follow it (tokenized as placeholders).
            double denominator = 0;
            uint32_t digits = 0;
            while (digits < next.text_len && f_.literals_[next.text_at + digits] >= '0' &&
                   f_.literals_[next.text_at + digits] <= '9')
                denominator = denominator * 10 + (f_.literals_[next.text_at + digits++] - '0');
            const bool literal_is_digits = digits == next.text_len;
            std::string zeros;
            for (int k = slash + 2; literal_is_digits && k < n && t[k].kind == SHOWN_DIGIT && t[k].width == '0'; ++k) {
                denominator *= 10;
                t[k] = ShownToken{SHOWN_LITERAL, 0, SHOWN_DENOMINATOR, 0, 0};
                zeros += '0';
            }
            if (denominator > 1e9) return;
            sec.fixed_denominator = denominator;
            // The denominator's text, whole, so that a blank fraction blanks it.
            next.role = SHOWN_DENOMINATOR;
            if (!zeros.empty()) {
                std::string text(f_.literals_.substr(next.text_at, next.text_len));
                next.text_at = static_cast<uint32_t>(f_.literals_.size());
                next.text_len = static_cast<uint32_t>(text.size() + zeros.size());
                f_.literals_ += text + zeros;
            }
        } else if (next.kind == SHOWN_DIGIT) {
            for (int k = slash + 1; k < n && t[k].kind == SHOWN_DIGIT; ++k) {
                t[k].role = SHOWN_DENOMINATOR;
                ++sec.denominator_places;
            }
        } else {
            return;
        }
        sec.fraction = true;
        t[slash].role = 1;  // the fraction's own slash
        int k = slash - 1;
        for (; k >= 0 && t[k].kind == SHOWN_DIGIT; --k) t[k].role = SHOWN_NUMERATOR;
        for (; k >= 0; --k)
            if (t[k].kind == SHOWN_DIGIT) {
                t[k].role = SHOWN_WHOLE;
                ++sec.integer_places;
                sec.fraction_whole = true;
            }
    }
};

ShownFormat ShownFormat::compile(std::string_view code) {
    ShownFormat f;
    f.section_count_ = 1;
    if (code.empty() || code.size() > MAX_CODE_BYTES) {
        f.sections_[0].kind = SHOWN_GENERAL_SECTION;
        return f;
    }
    std::string_view parts[4];
    int count = split_sections(code, parts);
    // A last section with @ is for texts, and so is a fourth one.
    if (count == 4 || (count > 1 && holds_text_placeholder(parts[count - 1]))) --count;
    if (count == 1 && holds_text_placeholder(parts[0])) {
        f.sections_[0].kind = SHOWN_TEXT_SECTION;
        return f;
    }
    ShownCompiler compiler(f);
    for (int k = 0; k < count; ++k) compiler.section(parts[k], f.sections_[k]);
    f.section_count_ = count;
    return f;
}

std::string_view ShownFormat::builtin_code(int number) {
    // The built-in number formats as the Japanese locale defines them.
    static constexpr struct { int number; std::string_view code; } BUILTINS[] = {
        {1, "0"}, {2, "0.00"}, {3, "#,##0"}, {4, "#,##0.00"},
        {5, "\"¥\"#,##0;\"¥\"\\-#,##0"}, {6, "\"¥\"#,##0;[Red]\"¥\"\\-#,##0"},
        {7, "\"¥\"#,##0.00;\"¥\"\\-#,##0.00"}, {8, "\"¥\"#,##0.00;[Red]\"¥\"\\-#,##0.00"},
        {9, "0%"}, {10, "0.00%"}, {11, "0.00E+00"}, {12, "# ?/?"}, {13, "# ?\?/??"},
        {14, "yyyy/m/d"}, {15, "d-mmm-yy"}, {16, "d-mmm"}, {17, "mmm-yy"},
        {18, "h:mm AM/PM"}, {19, "h:mm:ss AM/PM"}, {20, "h:mm"}, {21, "h:mm:ss"}, {22, "yyyy/m/d h:mm"},
        {27, "[$-411]ge.m.d"}, {28, "[$-411]ggge\"年\"m\"月\"d\"日\""}, {29, "[$-411]ggge\"年\"m\"月\"d\"日\""},
        {30, "m/d/yy"}, {31, "yyyy\"年\"m\"月\"d\"日\""}, {32, "h\"時\"mm\"分\""}, {33, "h\"時\"mm\"分\"ss\"秒\""},
        {34, "yyyy\"年\"m\"月\""}, {35, "m\"月\"d\"日\""}, {36, "[$-411]ge.m.d"},
        {37, "#,##0;-#,##0"}, {38, "#,##0;[Red]-#,##0"}, {39, "#,##0.00;-#,##0.00"},
        {40, "#,##0.00;[Red]-#,##0.00"},
        {41, "_ * #,##0_ ;_ * \\-#,##0_ ;_ * \"-\"_ ;_ @_ "},
        {42, "_ \"¥\"* #,##0_ ;_ \"¥\"* \\-#,##0_ ;_ \"¥\"* \"-\"_ ;_ @_ "},
        {43, "_ * #,##0.00_ ;_ * \\-#,##0.00_ ;_ * \"-\"?\?_ ;_ @_ "},
        {44, "_ \"¥\"* #,##0.00_ ;_ \"¥\"* \\-#,##0.00_ ;_ \"¥\"* \"-\"?\?_ ;_ @_ "},
        {45, "mm:ss"}, {46, "[h]:mm:ss"}, {47, "mm:ss.0"}, {48, "##0.0E+0"}, {49, "@"},
        {50, "[$-411]ge.m.d"}, {51, "[$-411]ggge\"年\"m\"月\"d\"日\""}, {52, "yyyy\"年\"m\"月\""},
        {53, "m\"月\"d\"日\""}, {54, "[$-411]ggge\"年\"m\"月\"d\"日\""}, {55, "yyyy\"年\"m\"月\""},
        {56, "m\"月\"d\"日\""}, {57, "[$-411]ge.m.d"}, {58, "[$-411]ggge\"年\"m\"月\"d\"日\""},
    };
    for (const auto &b : BUILTINS)
        if (b.number == number) return b.code;
    return {};
}

ShownFormat ShownFormat::builtin(int number) { return compile(builtin_code(number)); }
