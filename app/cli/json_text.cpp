#include "cli/json_text.h"

#include "engine/utf8_text.h"

#include <algorithm>
#include <cstdio>

namespace zscan {

void append_json_string(std::string &out, std::string_view text) {
    out += '"';
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        switch (c) {
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\t': out += "\\t"; break;
        default:
            if (byte < 0x20 || byte == 0x7F) {
                char escape[8];
                std::snprintf(escape, sizeof escape, "\\u%04x", byte);
                out += escape;
            } else {
                out += c;
            }
        }
    }
    out += '"';
}

void append_json_text_field(std::string &out, std::string_view name, std::string_view bytes) {
    append_json_string(out, name);
    out += ':';
    if (is_valid_utf8(bytes)) {
        append_json_string(out, bytes);
        return;
    }
    append_json_string(out, with_replacement_characters(bytes));
    out += ',';
    append_json_string(out, std::string(name) + "_base64");
    out += ':';
    append_json_string(out, base64(bytes));
}

std::string base64(std::string_view bytes) {
    constexpr char kDigits[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    out.reserve((bytes.size() + 2) / 3 * 4);
    for (size_t at = 0; at < bytes.size(); at += 3) {
        const size_t count = std::min<size_t>(3, bytes.size() - at);
        unsigned group = 0;
        for (size_t i = 0; i < 3; ++i) {
            group = group << 8 | (i < count ? static_cast<unsigned char>(bytes[at + i]) : 0u);
        }
        for (size_t i = 0; i < 4; ++i) {
            out += i <= count ? kDigits[(group >> (18 - 6 * i)) & 0x3F] : '=';
        }
    }
    return out;
}

}  // namespace zscan
