// Value tokens of a values string.
#include "values_string.h"

#include <optional>

namespace {

bool is_blank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

bool at_end(std::string_view text, size_t pos) { return pos >= text.size() || text[pos] == '\0'; }

// After a candidate closing quote: the end of the text, or blanks, a key and
// its "=".  Quotes, blanks and "=" are never trail bytes of a double-byte
// character in any supported character set, so bytes can be tested alone.
bool closes_value(std::string_view text, size_t after) {
    if (!at_end(text, after) && text[after] == ';') return at_end(text, after + 1);
    if (at_end(text, after)) return true;
    if (!is_blank(text[after])) return false;
    size_t pos = after;
    while (!at_end(text, pos) && is_blank(text[pos])) ++pos;
    size_t key_start = pos;
    while (!at_end(text, pos) && !is_blank(text[pos]) && text[pos] != '=' && text[pos] != '"' && text[pos] != '\'')
        ++pos;
    if (pos == key_start) return false;
    while (!at_end(text, pos) && is_blank(text[pos])) ++pos;
    return !at_end(text, pos) && text[pos] == '=';
}

std::optional<size_t> closing_quote(std::string_view text, size_t open) {
    for (size_t pos = open + 1; !at_end(text, pos); ++pos)
        if (text[pos] == '"' && closes_value(text, pos + 1)) return pos;
    return std::nullopt;
}

}  // namespace

int ozw_lex_value(ArgLexer &lexer, std::string &value) {
    size_t start = lexer.pos;
    while (!at_end(lexer.text, start) && is_blank(lexer.text[start])) ++start;
    if (at_end(lexer.text, start) || lexer.text[start] != '"') return ozw_lex_next(lexer, value);
    std::optional<size_t> close = closing_quote(lexer.text, start);
    if (!close) return ozw_lex_next(lexer, value);
    size_t limit = lexer.limit ? lexer.limit : ozw_lex_limit(lexer.variant);
    value.clear();
    for (size_t pos = start; pos <= *close; ++pos) {
        value += lexer.text[pos];
        bool doubled = lexer.text[pos] == '"' && pos > start && pos + 1 < *close && lexer.text[pos + 1] == '"';
        if (doubled) ++pos;
        if (value.size() > limit) {
            value.clear();
            lexer.pos = lexer.text.size();
            return LEX_TOO_LONG;
        }
    }
    lexer.pos = *close + 1;
    return 0;
}
