// The word reader is the argument lexer in its word variant.
#include "word_reader.h"

#include "arg_lexer.h"

int orb_read_word(int charset, std::string_view text, size_t &position, std::string &word) {
    ArgLexer lexer{text, position, charset, LEX_WORDS, ORB_WORD_LEN};
    int rc = ozw_lex_next(lexer, word);
    position = lexer.pos;
    return rc;
}

int orb_split_words(int charset, std::string_view text, std::vector<std::string> &words) {
    size_t position = 0;
    std::string word;
    for (;;) {
        int rc = orb_read_word(charset, text, position, word);
        if (rc == LEX_END) return 0;
        if (rc != 0) return rc;
        words.push_back(word);
    }
}
