// Texts of numeric cell values.  Numbers are handled as decimal text, so
// that large integers and stored decimals keep every digit and rounding is
// done on the digits a user sees.
#include "number_text.h"

#include "format_id.h"
#include "value_store.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

constexpr int SHOWN_DECIMALS = 6;  // digits a general fraction is shown with
constexpr int MAX_DECIMALS = 64;   // more digits than any stored value has; bounds the text

bool is_digit(char c) { return c >= '0' && c <= '9'; }

// A number as sign, whole digits and fraction digits.
struct DecimalText {
    bool negative = false;
    std::string whole;     // without leading zeros; empty for zero
    std::string fraction;  // digits after the point
};

// Reads a plain decimal ("-12.50", "+3", ".5"); false for anything else.
bool read_plain(std::string_view text, DecimalText &number) {
    size_t i = 0;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) number.negative = text[i++] == '-';
    bool digits = false;
    bool point = false;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (is_digit(c)) {
            digits = true;
            if (point) {
                number.fraction += c;
            } else if (!number.whole.empty() || c != '0') {
                number.whole += c;
            }
        } else if (c == '.' && !point) {
            point = true;
        } else {
            return false;
        }
    }
    return digits;
}

// Reads a value text: plain decimals as they are, anything else that
// strtod understands (exponents) through its six-decimal print.
bool read_number(std::string_view text, DecimalText &number) {
    if (read_plain(text, number)) return true;
    const std::string copy(text);
    char *end = nullptr;
    const double value = std::strtod(copy.c_str(), &end);
    if (end == copy.c_str() || *end != '\0' || !std::isfinite(value)) return false;
    const int length = std::snprintf(nullptr, 0, "%.*f", SHOWN_DECIMALS, value);
    std::string printed(static_cast<size_t>(length), '\0');
    std::snprintf(printed.data(), printed.size() + 1, "%.*f", SHOWN_DECIMALS, value);
    number = DecimalText{};
    return read_plain(printed, number);
}

// Adds one unit in the last place of `digits` (a run of decimal digits);
// true when the carry runs out of the front.
bool increment(std::string &digits) {
    for (size_t i = digits.size(); i-- > 0;) {
        if (digits[i] != '9') {
            ++digits[i];
            return false;
        }
        digits[i] = '0';
    }
    return true;
}

// Rounds the fraction half up to exactly `places` digits, carrying into the
// whole part.
void round_fraction(DecimalText &number, int places) {
    const size_t keep = static_cast<size_t>(std::min(places, MAX_DECIMALS));
    if (number.fraction.size() <= keep) {
        number.fraction.append(keep - number.fraction.size(), '0');
        return;
    }
    const bool round_up = number.fraction[keep] >= '5';
    number.fraction.resize(keep);
    if (round_up && increment(number.fraction) && increment(number.whole)) {
        number.whole.insert(number.whole.begin(), '1');
    }
}

void drop_trailing_zeros(std::string &digits, size_t keep) {
    while (digits.size() > keep && digits.back() == '0') digits.pop_back();
}

bool is_zero(const DecimalText &number) {
    return number.whole.find_first_not_of('0') == std::string::npos &&
           number.fraction.find_first_not_of('0') == std::string::npos;
}

// Sign and whole part.  A grouped number keeps the value's sign even when
// it rounded to zero (-0, as spreadsheet programs show it); a percentage
// that rounded to zero carries no sign.
std::string sign_and_whole(const DecimalText &number, bool grouped) {
    const bool sign = number.negative && (grouped || !is_zero(number));
    std::string text = sign ? "-" : "";
    const std::string whole = number.whole.empty() ? "0" : number.whole;
    for (size_t i = 0; i < whole.size(); ++i) {
        if (grouped && i > 0 && (whole.size() - i) % 3 == 0) text += ',';
        text += whole[i];
    }
    return text;
}

std::string grouped_number(std::string_view value_text, int decimals) {
    DecimalText number;
    if (!read_number(value_text, number)) return std::string(value_text);
    if (decimals > 0) {
        round_fraction(number, decimals);
    } else {
        round_fraction(number, SHOWN_DECIMALS);
        drop_trailing_zeros(number.fraction, 0);
    }
    std::string text = sign_and_whole(number, true);
    if (!number.fraction.empty()) {
        text += '.';
        text += number.fraction;
    }
    return text;
}

}  // namespace

std::string ozw_number_text(std::string_view value_text, int format_id, int decimals) {
    if (format_id == FMT_GROUPED || format_id == FMT_GROUPED_ALT) {
        return grouped_number(value_text, decimals);
    }
    if (format_id >= FMT_CURRENCY_FIRST && format_id <= FMT_CURRENCY_LAST) {
        std::string text = "\\";
        text += grouped_number(value_text, decimals);
        return text;
    }
    if (format_id == FMT_HIDDEN) return "";
    std::string text(value_text);
    ozw_trim_zeros(text);
    return text;
}

std::string ozw_percent_text(std::string_view value_text, int decimals) {
    DecimalText number;
    if (!read_number(value_text, number)) return std::string(value_text) + "%";
    // Times 100: two fraction digits move into the whole part.
    number.fraction.append(number.fraction.size() < 2 ? 2 - number.fraction.size() : 0, '0');
    number.whole += number.fraction.substr(0, 2);
    number.fraction.erase(0, 2);
    number.whole.erase(0, std::min(number.whole.find_first_not_of('0'), number.whole.size()));
    if (decimals < 0) {
        round_fraction(number, SHOWN_DECIMALS);
        drop_trailing_zeros(number.fraction, 1);
    } else {
        round_fraction(number, decimals);
    }
    std::string text = sign_and_whole(number, false);
    if (!number.fraction.empty()) {
        text += '.';
        text += number.fraction;
    }
    return text + "%";
}

void ozw_add_number_text_bytes(int format_id, ByteSet &bytes) {
    if (format_id == FMT_HIDDEN) return;
    bytes.add("-0123456789.");
    if (format_id == FMT_GROUPED || format_id == FMT_GROUPED_ALT) bytes.add(",");
    if (format_id >= FMT_CURRENCY_FIRST && format_id <= FMT_CURRENCY_LAST) bytes.add("\\,");
}

void ozw_add_percent_text_bytes(ByteSet &bytes) { bytes.add("-0123456789.%"); }
