// The argument lexer.
#include "arg_lexer.h"

namespace {

bool is_blank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

bool is_operator(LexVariant variant, char c) {
    if (variant != LEX_EXPRESSION) return false;
    switch (c) {
        case '%': case '(': case ')': case '*': case '+': case ',': case '-': case '/': case '^': return true;
        default: return false;
    }
}

// Whether two of `quote` in a row inside a quoted token stand for one.  In
// argument strings this holds for double quotes, so that a path holding one
// can be passed between double quotes.
bool doubles_quote(LexVariant variant, char quote) {
    return variant == LEX_VALUES || variant == LEX_EXPRESSION || (variant == LEX_ARGUMENT && quote == '"');
}

class Scanner {
public:
    Scanner(ArgLexer &lexer, std::string &token)
        : lexer_(lexer), text_(lexer.text), pos_(lexer.pos), token_(token),
          limit_(lexer.limit ? lexer.limit : ozw_lex_limit(lexer.variant)) {}

    int next() {
        token_.clear();
        while (!at_end() && is_blank(text_[pos_])) ++pos_;
        if (at_end()) return LEX_END;
        char first = text_[pos_];
        if (first == '=' || is_operator(lexer_.variant, first)) {
            token_ = first;
            ++pos_;
            return 0;
        }
        bool closed = first == '"' || first == '\'' ? quoted(first) : bare();
        if (token_.size() > limit_ + 1) return too_long();
        if (!closed) {
            // Ended by the end of the text.
            if (!token_.empty() && token_.back() == ';') token_.pop_back();
            if (token_.empty()) return LEX_END;
        }
        return token_.size() > limit_ ? too_long() : 0;
    }

private:
    bool at_end() const { return pos_ >= text_.size() || text_[pos_] == '\0'; }
    bool full() const { return token_.size() > limit_ + 1; }

    // Copies the character at the position whole.
    void take_char() {
        int more = orb_char_len(lexer_.charset, static_cast<unsigned char>(text_[pos_]), nullptr);
        token_ += text_[pos_++];
        while (more-- > 0 && !at_end()) token_ += text_[pos_++];
    }

    // A bare token runs until a blank, '=', a quote or an operator.  False:
    // it was ended by the end of the text.
    bool bare() {
        while (!at_end() && !full()) {
            char c = text_[pos_];
            if (is_blank(c) || c == '=' || c == '"' || c == '\'' || is_operator(lexer_.variant, c)) return true;
            take_char();
        }
        return !at_end();
    }

    // A quoted token runs to its closing quote, which it keeps.  False: the
    // text ended first.
    bool quoted(char quote) {
        token_ += text_[pos_++];
        while (!at_end() && !full()) {
            char c = text_[pos_];
            if (c != quote) {
                take_char();
                continue;
            }
            if (doubles_quote(lexer_.variant, quote) && pos_ + 1 < text_.size() && text_[pos_ + 1] == quote) {
                token_ += quote;   // a doubled quote stands for one
                pos_ += 2;
                continue;
            }
            // The word reader does not close a single-quoted word on a quote
            // that directly follows another one.
            if (lexer_.variant == LEX_WORDS && quote == '\'' && text_[pos_ - 1] == '\'') {
                token_ += text_[pos_++];
                continue;
            }
            token_ += text_[pos_++];
            return true;
        }
        return !at_end();
    }

    int too_long() {
        token_.clear();
        pos_ = text_.size();
        return LEX_TOO_LONG;
    }

    ArgLexer &lexer_;
    std::string_view text_;
    size_t &pos_;
    std::string &token_;
    size_t limit_;
};

}  // namespace

size_t ozw_lex_limit(LexVariant variant) {
    switch (variant) {
        case LEX_VALUES: return 65536;
        case LEX_EXPRESSION: return 4002;
        default: return 4000;
    }
}

int ozw_lex_next(ArgLexer &lexer, std::string &token) { return Scanner(lexer, token).next(); }

std::string_view ozw_unquoted(std::string_view text) {
    if (text.size() >= 2 && text.front() == '"' && text.back() == '"') return text.substr(1, text.size() - 2);
    return text;
}
