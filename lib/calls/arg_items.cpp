// Items of the argument strings of the book calls.
#include "arg_items.h"

#include "charset.h"
#include "messages.h"
#include "work_area.h"

#include <cctype>

namespace {

bool same_any_case(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        // Only ASCII letters fold; the bytes of Japanese words compare exactly.
        if (std::toupper(static_cast<unsigned char>(a[i])) != std::toupper(static_cast<unsigned char>(b[i])))
            return false;
    }
    return true;
}

}  // namespace

int ozw_match_keyword(std::string_view token_utf8, std::span<const ArgKeyword> table) {
    for (const ArgKeyword &keyword : table) {
        if (same_any_case(token_utf8, keyword.word)) return keyword.id;
    }
    return -1;
}

std::string ozw_from_caller(XLS_BOOK *book, int to_charset, std::string_view text) {
    int from = ozw_charset(book);
    if (from == to_charset) return std::string(text);
    return orb_convert(from, to_charset, text);
}

int ozw_match_caller_keyword(XLS_BOOK *book, std::string_view token, std::span<const ArgKeyword> table) {
    return ozw_match_keyword(ozw_from_caller(book, CS_UTF8, token), table);
}

ArgItems::ArgItems(XLS_BOOK *book, const char *args) : book_(book) {
    lexer_.text = args ? std::string_view(args) : std::string_view();
    lexer_.variant = LEX_ARGUMENT;
}

int ArgItems::read_token(std::string &token) {
    lexer_.charset = ozw_charset(book_);
    return ozw_lex_next(lexer_, token);
}

bool ArgItems::next_key(std::string &key) { return read_token(key) == 0; }

int ArgItems::read_value(std::string &value) {
    std::string equals;
    if (read_token(equals) != 0) return ozw_set_code(book_, OXLS_ERR_ARGUMENT);
    if (equals != "=") {
        return ozw_set_error(book_, OXLS_ERR_ARGUMENT, OXLS_02303, ozw_from_caller(book_, CS_SJIS, equals).c_str());
    }
    if (read_token(value) != 0) return ozw_set_code(book_, OXLS_ERR_ARGUMENT);
    return 0;
}

bool ArgItems::next_word(std::string &word) { return read_token(word) == 0; }
