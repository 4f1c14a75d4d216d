#include "engine/link_target.h"

#include "charset.h"
#include "engine/utf8_text.h"

#include <cstring>

namespace zscan {
namespace {

bool is_control(unsigned char byte) { return byte < 0x20 || byte == 0x7F; }

// Characters a viewer reads otherwise in a plain path target.
bool misread_in_path(unsigned char byte) { return is_control(byte) || byte == '#' || byte == '%'; }

// ASCII characters that a URI's path may not hold as they are.
bool escaped_in_uri(unsigned char byte) {
    return is_control(byte) || std::strchr(" \"#%<>?[]^`{|}", byte) != nullptr;
}

// Length of the character at `at`: a whole character of the character
// set, or 0 for a byte that starts none.
size_t character_length(int charset, std::string_view text, size_t at) {
    if (charset == CS_UTF8) return utf8_character_length(text, at);
    int index = static_cast<int>(at);
    const int more = orb_char_len(charset, static_cast<unsigned char>(text[at]), &index);
    return at + static_cast<size_t>(more) < text.size() ? static_cast<size_t>(more) + 1 : 0;
}

void append_escaped(std::string &out, unsigned char byte) {
    constexpr char kDigits[] = "0123456789ABCDEF";
    out += '%';
    out += kDigits[byte >> 4];
    out += kDigits[byte & 0xF];
}

}  // namespace

std::string link_target(int charset, std::string_view absolute_path) {
    bool plain = true;
    for (size_t at = 0; at < absolute_path.size() && plain;) {
        const size_t length = character_length(charset, absolute_path, at);
        plain = length > 0 && !(length == 1 && misread_in_path(static_cast<unsigned char>(absolute_path[at])));
        at += length;
    }
    if (plain) return std::string(absolute_path);

    // "file:///C:\dir" under Windows, "file:///dir" elsewhere.
    std::string uri = absolute_path.starts_with('/') ? "file://" : "file:///";
    for (size_t at = 0; at < absolute_path.size();) {
        const size_t length = character_length(charset, absolute_path, at);
        const auto byte = static_cast<unsigned char>(absolute_path[at]);
        if (length == 0 || (length == 1 && escaped_in_uri(byte))) {
            append_escaped(uri, byte);
            ++at;
            continue;
        }
        uri.append(absolute_path.substr(at, length));
        at += length;
    }
    return uri;
}

}  // namespace zscan
