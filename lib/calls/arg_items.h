// Reading the argument strings of the book calls: `KEY=value` items (or
// bare words), keys matched against a keyword table, values converted from
// the caller's character set.
#pragma once

#include "arg_lexer.h"
#include "oxls.h"

#include <span>
#include <string>
#include <string_view>

// One keyword of a table: the word in UTF-8 and what it stands for.  Words
// in Latin letters match in any case, Japanese words exactly.
struct ArgKeyword {
    const char *word;
    int id;
};

// The id of the keyword that `token_utf8` is, or -1.
int ozw_match_keyword(std::string_view token_utf8, std::span<const ArgKeyword> table);

// Reads the items of one argument string, in the character set of the
// book's work area at the time each token is read (so that a CHARSET= item
// governs what follows it).
class ArgItems {
public:
    ArgItems(XLS_BOOK *book, const char *args);

    // Reads the key of the next `key=value` item, as written.  False when no
    // item is left (the end, or a key the lexer cannot read).
    bool next_key(std::string &key);
    // Reads the '=' and the value (as written, quotes kept) of the item
    // whose key was read.  0; -3 when no '=' or value could be read (no text)
    // or something else stands where '=' belongs (OXLS-02303 naming it).
    int read_value(std::string &value);
    // Reads the next bare token; false when none is left.
    bool next_word(std::string &word);

private:
    XLS_BOOK *book_;
    ArgLexer lexer_;
    int read_token(std::string &token);
};

// Conversions of a caller's text, in the character set of the book's work
// area.
std::string ozw_from_caller(XLS_BOOK *book, int to_charset, std::string_view text);
// ozw_match_keyword on a caller's token.
int ozw_match_caller_keyword(XLS_BOOK *book, std::string_view token, std::span<const ArgKeyword> table);
