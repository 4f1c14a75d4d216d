// Printf-style appending and XML escaping for the package writer.
#include "xml_compose.h"

#include <cstdarg>
#include <cstdio>

void ozw_appendf(std::string &out, const char *format, ...) {
    char small[512];
    va_list args;
    va_start(args, format);
    va_list again;
    va_copy(again, args);
    int length = std::vsnprintf(small, sizeof small, format, args);
    va_end(args);
    if (length < 0) {
        va_end(again);
        return;
    }
    if (static_cast<size_t>(length) < sizeof small) {
        out.append(small, static_cast<size_t>(length));
    } else {
        size_t start = out.size();
        out.resize(start + static_cast<size_t>(length) + 1);
        std::vsnprintf(&out[start], static_cast<size_t>(length) + 1, format, again);
        out.resize(start + static_cast<size_t>(length));
    }
    va_end(again);
}

namespace {

bool is_hex(char c) {
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
}

// "_xHHHH_" at text[i]: a reader would decode it, so its underscore must be
// escaped to keep the text as it is.
bool looks_like_escape(std::string_view text, size_t i) {
    if (i + 7 > text.size() || text[i + 1] != 'x' || text[i + 6] != '_') return false;
    for (size_t k = i + 2; k < i + 6; ++k)
        if (!is_hex(text[k])) return false;
    return true;
}

// Length of the valid UTF-8 sequence at text[i], or 0.
size_t utf8_sequence(std::string_view text, size_t i) {
    auto byte = [&](size_t k) { return static_cast<unsigned char>(text[k]); };
    unsigned char lead = byte(i);
    size_t length;
    unsigned int code;
    if (lead < 0x80) return 1;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        code = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        code = lead & 0x0F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        code = lead & 0x07;
    } else {
        return 0;
    }
    if (i + length > text.size()) return 0;
    for (size_t k = 1; k < length; ++k) {
        if ((byte(i + k) & 0xC0) != 0x80) return 0;
        code = (code << 6) | (byte(i + k) & 0x3F);
    }
    bool overlong = (length == 3 && code < 0x800) || (length == 4 && code < 0x10000);
    bool surrogate = code >= 0xD800 && code <= 0xDFFF;
    // U+FFFE and U+FFFF are not XML characters either.
    bool non_character = code == 0xFFFE || code == 0xFFFF;
    if (overlong || surrogate || non_character || code > 0x10FFFF) return 0;
    return length;
}

}  // namespace

void ozw_append_xml(std::string &out, std::string_view text) {
    out.reserve(out.size() + text.size());
    for (size_t i = 0; i < text.size();) {
        unsigned char c = static_cast<unsigned char>(text[i]);
        switch (c) {
        case '&': out += "&amp;"; ++i; continue;
        case '<': out += "&lt;"; ++i; continue;
        case '>': out += "&gt;"; ++i; continue;
        case '"': out += "&quot;"; ++i; continue;
        case '_':
            out += looks_like_escape(text, i) ? "_x005F_" : "_";
            ++i;
            continue;
        default: break;
        }
        if (c < 0x20 && c != '\t' && c != '\n') {
            ozw_appendf(out, "_x%04X_", c);
            ++i;
            continue;
        }
        size_t length = utf8_sequence(text, i);
        if (length == 0) {
            out += '?';
            ++i;
            continue;
        }
        out.append(text.substr(i, length));
        i += length;
    }
}
