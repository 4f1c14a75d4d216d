// Reading the items of a values string ("A1=x B1=\"y z\" A.幅=50"): keys, the
// "=" and values, through the argument lexer's values variant.
#pragma once

#include "arg_lexer.h"

#include <string>

constexpr size_t VALUES_KEY_LIMIT = 4000;
constexpr size_t VALUES_VALUE_LIMIT = 65536;

// Reads a value token.  A value that opens with a double quote ends at the
// first later double quote that is followed by the end of the text (a ';'
// may stand between), or by blanks and then the next item's key and its
// "=".  So a quote inside a value, as in  A2="say "hi" now" B2=x , stays
// part of the value instead of ending it; a doubled quote still stands for
// one.  Without such a closing quote the lexer's own reading is taken.
// 0, LEX_END or LEX_TOO_LONG.
int ozw_lex_value(ArgLexer &lexer, std::string &value);
