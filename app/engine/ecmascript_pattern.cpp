#include "engine/ecmascript_pattern.h"

namespace zscan {
namespace {

// ECMAScript's white space and line ends, as the body of a character class.
constexpr std::string_view kWhiteSpace =
    "\\t\\n\\x0B\\f\\r \\u00A0\\u1680\\u2000-\\u200A\\u2028\\u2029\\u202F\\u205F\\u3000\\uFEFF";

constexpr std::string_view kRefusedEscapes = "AZzGKQEhHRXNgo";

bool is_digit(char c) { return c >= '0' && c <= '9'; }

bool is_name_start(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_' || c == '$' ||
           static_cast<unsigned char>(c) >= 0x80;
}

// Whether a "(?" group at `at` (the "(") is one ECMAScript knows.
bool is_ecmascript_group(std::string_view text, size_t at) {
    const std::string_view rest = text.substr(at + 2);
    if (rest.starts_with(':') || rest.starts_with('=') || rest.starts_with('!') ||
        rest.starts_with("<=") || rest.starts_with("<!")) {
        return true;
    }
    return rest.size() >= 2 && rest[0] == '<' && is_name_start(rest[1]);
}

// The length of a counted quantifier "{n}", "{n,}" or "{n,m}" at `at`, or 0.
size_t counted_quantifier_length(std::string_view text, size_t at) {
    size_t pos = at + 1;
    const size_t digits_start = pos;
    while (pos < text.size() && is_digit(text[pos])) ++pos;
    if (pos == digits_start) return 0;
    if (pos < text.size() && text[pos] == ',') {
        ++pos;
        while (pos < text.size() && is_digit(text[pos])) ++pos;
    }
    return pos < text.size() && text[pos] == '}' ? pos + 1 - at : 0;
}

}  // namespace

std::optional<std::string> pcre_pattern_of(std::string_view expression) {
    std::string pattern;
    pattern.reserve(expression.size() + 16);
    bool in_class = false;
    for (size_t i = 0; i < expression.size(); ++i) {
        const char c = expression[i];
        const bool possessive_next = i + 1 < expression.size() && expression[i + 1] == '+';
        if (c == '\\' && i + 1 < expression.size()) {
            const char escaped = expression[++i];
            if (kRefusedEscapes.find(escaped) != std::string_view::npos) return std::nullopt;
            if (escaped == 's') {
                pattern.append(in_class ? "" : "[").append(kWhiteSpace).append(in_class ? "" : "]");
            } else if (escaped == 'S' && !in_class) {
                pattern.append("[^").append(kWhiteSpace).append("]");
            } else {
                pattern.push_back('\\');
                pattern.push_back(escaped);
            }
            continue;
        }
        if (in_class) {
            if (c == ']') in_class = false;
            pattern.push_back(c);
            continue;
        }
        switch (c) {
        case '[':
            in_class = true;
            pattern.push_back(c);
            if (i + 1 < expression.size() && expression[i + 1] == '^') pattern.push_back(expression[++i]);
            // A "]" right after the opening closes an empty class.
            if (i + 1 < expression.size() && expression[i + 1] == ']') {
                pattern.push_back(expression[++i]);
                in_class = false;
            }
            continue;
        case '(':
            if (i + 1 < expression.size() && expression[i + 1] == '*') return std::nullopt;
            if (i + 1 < expression.size() && expression[i + 1] == '?' && !is_ecmascript_group(expression, i)) {
                return std::nullopt;
            }
            break;
        case '*':
        case '+':
        case '?':
            if (possessive_next) return std::nullopt;
            break;
        case '{':
            if (const size_t length = counted_quantifier_length(expression, i)) {
                if (i + length < expression.size() && expression[i + length] == '+') return std::nullopt;
                pattern.append(expression.substr(i, length));
                i += length - 1;
                continue;
            }
            break;
        default:
            break;
        }
        pattern.push_back(c);
    }
    return pattern;
}

}  // namespace zscan
