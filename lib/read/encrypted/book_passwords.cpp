#include "encrypted/book_passwords.h"

namespace {

// The code point of the sequence at `text[i]`, advancing `i` past it.
char32_t next_code_point(std::string_view text, size_t &i) {
    const unsigned char lead = static_cast<unsigned char>(text[i++]);
    int more = lead >= 0xF0 && lead < 0xF8 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC2 ? 1 : 0;
    if (lead >= 0xF8) more = 0;
    if (more == 0 || i + more > text.size()) return lead;
    char32_t code = lead & (0x3F >> more);
    for (int k = 0; k < more; ++k) {
        const unsigned char next = static_cast<unsigned char>(text[i + k]);
        if ((next & 0xC0) != 0x80) return lead;
        code = (code << 6) | (next & 0x3F);
    }
    i += more;
    return code;
}

void append_unit(std::string &out, char32_t unit) {
    out += static_cast<char>(unit & 0xFF);
    out += static_cast<char>((unit >> 8) & 0xFF);
}

}  // namespace

std::string utf16le_password(std::string_view utf8) {
    std::string out;
    for (size_t i = 0; i < utf8.size();) {
        const char32_t code = next_code_point(utf8, i);
        if (code < 0x10000) {
            append_unit(out, code);
        } else {
            append_unit(out, 0xD800 + ((code - 0x10000) >> 10));
            append_unit(out, 0xDC00 + ((code - 0x10000) & 0x3FF));
        }
    }
    return out;
}

std::vector<std::string> book_passwords_to_try(const std::vector<std::string> &given) {
    std::vector<std::string> passwords{utf16le_password(DEFAULT_BOOK_PASSWORD)};
    for (const std::string &password : given) passwords.push_back(utf16le_password(password));
    return passwords;
}
