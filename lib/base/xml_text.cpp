// Entity, character-reference and _xHHHH_ decoding.  Texts without an '&'
// or '_' are appended in one piece, so the common case costs one scan.
#include "xml_text.h"

#include <cstring>

namespace {

int hex_value(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// Decodes the reference at raw[0] == '&'; returns the bytes it used, or 0
// when it is not a reference this decoder knows.
size_t decode_reference(std::string_view raw, std::string &out) {
    size_t semi = raw.find(';', 1);
    if (semi == std::string_view::npos || semi > 12) return 0;
    std::string_view body = raw.substr(1, semi - 1);
    if (body == "lt") out += '<';
    else if (body == "gt") out += '>';
    else if (body == "amp") out += '&';
    else if (body == "quot") out += '"';
    else if (body == "apos") out += '\'';
    else if (body.size() >= 2 && body[0] == '#') {
        bool hex = body[1] == 'x' || body[1] == 'X';
        std::string_view digits = body.substr(hex ? 2 : 1);
        if (digits.empty()) return 0;
        unsigned long code = 0;
        for (char c : digits) {
            int v = hex ? hex_value(c) : (c >= '0' && c <= '9' ? c - '0' : -1);
            if (v < 0) return 0;
            code = code * (hex ? 16 : 10) + static_cast<unsigned long>(v);
            if (code > 0x10FFFF) return 0;
        }
        if (!append_utf8(code, out)) return 0;
    } else {
        return 0;
    }
    return semi + 1;
}

// Reads the four hexadecimal digits of an escape "_xHHHH_" at raw[0];
// -1 when raw does not start with one.
long escape_code(std::string_view raw) {
    if (raw.size() < 7 || (raw[1] != 'x' && raw[1] != 'X') || raw[6] != '_') return -1;
    long code = 0;
    for (int i = 2; i < 6; ++i) {
        int v = hex_value(raw[i]);
        if (v < 0) return -1;
        code = code * 16 + v;
    }
    return code;
}

// Decodes the escape at raw[0] == '_'; returns the bytes it used, or 0.
size_t decode_escape(std::string_view raw, std::string &out) {
    long code = escape_code(raw);
    if (code < 0) return 0;
    if (code == 0x5F) {
        out += '_';
        return 7;
    }
    if (code == 0x1A) {
        out += ' ';
        return 7;
    }
    if (code >= 0xD800 && code <= 0xDBFF) {
        long low = escape_code(raw.substr(7));
        if (low < 0xDC00 || low > 0xDFFF) return 0;
        unsigned long pair = 0x10000 + ((static_cast<unsigned long>(code) - 0xD800) << 10) +
                             (static_cast<unsigned long>(low) - 0xDC00);
        return append_utf8(pair, out) ? 14 : 0;
    }
    return append_utf8(static_cast<unsigned long>(code), out) ? 7 : 0;
}

// Whether a short text, as cell values are, holds nothing to decode: it is
// looked through in one plain loop.
bool short_and_plain(std::string_view raw, bool escapes) {
    if (raw.size() > 64) return false;
    bool plain = true;
    for (char c : raw) plain = plain && c != '&' && c != '\r' && (c != '_' || !escapes);
    return plain;
}

void decode(std::string_view raw, std::string &out, bool escapes) {
    if (short_and_plain(raw, escapes)) {
        out.append(raw);
        return;
    }
    size_t pos = 0;
    while (pos < raw.size()) {
        const char *p = raw.data() + pos;
        size_t left = raw.size() - pos;
        size_t stop = left;
        for (char special : {'&', '\r', '_'}) {
            if (special == '_' && !escapes) continue;
            const void *found = std::memchr(p, special, stop);
            if (found) stop = static_cast<size_t>(static_cast<const char *>(found) - p);
        }
        size_t next = pos + stop;
        out.append(raw.data() + pos, next - pos);
        if (next >= raw.size()) break;
        std::string_view rest = raw.substr(next);
        size_t used;
        if (rest[0] == '\r') {
            // Line ends in XML text are line feeds: CR LF and a lone CR
            // become LF (a carriage return is kept only as &#13; or _x000D_).
            out += '\n';
            used = rest.size() > 1 && rest[1] == '\n' ? 2 : 1;
        } else {
            used = rest[0] == '&' ? decode_reference(rest, out) : decode_escape(rest, out);
        }
        if (used == 0) {
            out += rest[0];
            used = 1;
        }
        pos = next + used;
    }
}

}  // namespace

bool append_utf8(unsigned long code, std::string &out) {
    if (code == 0 || (code >= 0xD800 && code <= 0xDFFF) || code > 0x10FFFF) return false;
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (code >> 18));
        out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
    return true;
}

void xml_decode_entities(std::string_view raw, std::string &out) { decode(raw, out, false); }

void xml_decode_text(std::string_view raw, std::string &out) { decode(raw, out, true); }

std::string_view xml_text_view(std::string_view raw, std::string &buffer) {
    if (short_and_plain(raw, true)) return raw;
    buffer.clear();
    decode(raw, buffer, true);
    return buffer;
}
