// The lexer of argument strings: one token per call from a blank-separated
// list of KEY=value items, keeping its position between calls.  Quoted
// tokens keep their quotes (callers strip them); '=' is a token of its
// own; double-byte characters are copied whole so that a trail byte is
// never taken for a blank, a quote or '='.
#pragma once

#include "charset.h"
#include "result_codes.h"

#include <cstddef>
#include <string>
#include <string_view>

enum LexVariant {
    LEX_ARGUMENT,    // argument strings of the open, sheet and close calls (tokens up to 4000 bytes;
                     // "" inside double quotes is one quote)
    LEX_VALUES,      // values strings of OXLS_put_values (65536 bytes; "" inside quotes is one quote)
    LEX_EXPRESSION,  // formulas and properties (4002 bytes; "" is one quote; % ( ) * + , - / ^ stand alone)
    LEX_WORDS,       // the word reader: search words, list files, settings lines (4000 bytes)
};

constexpr int LEX_END = 1403;        // no tokens left
constexpr int LEX_TOO_LONG = OZW_LIMIT_REACHED;     // a token over the limit; the rest of the text counts as read

struct ArgLexer {
    std::string_view text;           // ends at its size or at a NUL byte
    size_t pos = 0;
    int charset = CS_SJIS;
    LexVariant variant = LEX_ARGUMENT;
    size_t limit = 0;                // 0: the variant's own limit
};

// The token limit of a variant in bytes.
size_t ozw_lex_limit(LexVariant variant);

// Reads the next token into `token`: 0, LEX_END or LEX_TOO_LONG.  A token
// ended by the end of the text loses one trailing ';'.
int ozw_lex_next(ArgLexer &lexer, std::string &token);

// The text inside one pair of surrounding double quotes; other texts as
// they are.
std::string_view ozw_unquoted(std::string_view text);
