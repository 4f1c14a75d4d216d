// Argument strings and values strings from hostile text: the lexer in each
// of its variants and character sets, then the whole text as the values
// string of OXLS_put_values on a book opened in create mode (cell names,
// property keys, quotes, multi-byte characters, over-long tokens).  The
// first input byte picks the lexer variant and character set; the rest is
// the text.
#pragma once

#include "arg_lexer.h"
#include "fuzz_input.h"

#include <string>

namespace fuzz {

inline void lex_all(std::string_view text, LexVariant variant, int charset) {
    ArgLexer lexer;
    lexer.text = text;
    lexer.variant = variant;
    lexer.charset = charset;
    std::string token;
    // Every call consumes input or ends the text, so the loop is bounded by
    // the text length; the bound here turns a lexer that stops advancing
    // into a finding instead of a hang.
    for (size_t calls = 0; calls <= text.size() + 1; ++calls) {
        if (ozw_lex_next(lexer, token) != 0) return;
    }
    std::abort();
}

inline int run_arguments(const uint8_t *data, size_t size) {
    if (size == 0) return 0;
    static constexpr LexVariant kVariants[] = {LEX_ARGUMENT, LEX_VALUES, LEX_EXPRESSION, LEX_WORDS};
    static constexpr int kCharsets[] = {CS_SJIS, CS_EUC, CS_UTF8};
    const LexVariant variant = kVariants[data[0] & 3];
    const int charset = kCharsets[(data[0] >> 2) % 3];
    const std::string text(reinterpret_cast<const char *>(data + 1), size - 1);
    lex_all(text, variant, charset);

    std::unique_ptr<XLS_BOOK> book(new XLS_BOOK{});
    static const char *kOpen[] = {"MODE=CREATE", "MODE=CREATE CHARSET=EUC", "MODE=CREATE CHARSET=UTF8"};
    if (OXLS_open_book(book.get(), kOpen[(data[0] >> 2) % 3]) == 0) {
        OXLS_put_values(book.get(), text.c_str());
        OXLS_close_book(book.get(), nullptr);
    } else {
        OXLS_free_book(book.get());
    }
    mfree_all();
    return 0;
}

}  // namespace fuzz
