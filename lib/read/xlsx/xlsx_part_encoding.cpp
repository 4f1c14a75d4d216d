#include "xlsx/xlsx_part_encoding.h"

#include "messages.h"
#include "result_codes.h"
#include "utf16_text.h"

#include <algorithm>
#include <new>

namespace {

bool starts_with_bytes(std::string_view text, std::string_view bytes) { return text.substr(0, bytes.size()) == bytes; }

char lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool same_name(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return lower(x) == lower(y); });
}

// The encoding the XML declaration at the start of `text` names; empty when
// it names none (or there is no declaration).
std::string_view declared_encoding(std::string_view text) {
    if (!starts_with_bytes(text, "<?xml")) return {};
    const std::string_view declaration = text.substr(0, text.find("?>"));
    size_t at = declaration.find("encoding");
    if (at == std::string_view::npos) return {};
    at = declaration.find_first_of("\"'", at);
    if (at == std::string_view::npos) return {};
    const size_t end = declaration.find(declaration[at], at + 1);
    if (end == std::string_view::npos) return {};
    return declaration.substr(at + 1, end - at - 1);
}

// Encodings whose text is UTF-8 as it stands.
bool reads_as_utf8(std::string_view name) {
    return name.empty() || same_name(name, "UTF-8") || same_name(name, "UTF8") || same_name(name, "US-ASCII") ||
           same_name(name, "ASCII");
}

void log_refused(std::string_view name) {
    const std::string line = "package part in encoding \"" + std::string(name.substr(0, 40)) + "\" cannot be read";
    orb_log_line(line.c_str());
}

}  // namespace

int xlsx_part_utf8(std::string_view raw, std::string &decoded, std::string_view &text) {
    // Byte-order marks; without one, the "<?" that opens the declaration
    // tells UTF-16 of either order.
    bool utf16 = true, big_endian = false;
    size_t skip = 0;
    if (starts_with_bytes(raw, std::string_view("\xFF\xFE\x00\x00", 4)) ||
        starts_with_bytes(raw, std::string_view("\x00\x00\xFE\xFF", 4))) {
        log_refused("UTF-32");
        return OZW_NOT_A_BOOK;
    }
    if (starts_with_bytes(raw, "\xFF\xFE")) skip = 2;
    else if (starts_with_bytes(raw, "\xFE\xFF")) skip = 2, big_endian = true;
    else if (starts_with_bytes(raw, std::string_view("<\0?\0", 4))) skip = 0;
    else if (starts_with_bytes(raw, std::string_view("\0<\0?", 4))) big_endian = true;
    else utf16 = false;

    if (!utf16) {
        if (starts_with_bytes(raw, "\xEF\xBB\xBF")) raw.remove_prefix(3);
        const std::string_view name = declared_encoding(raw);
        if (!reads_as_utf8(name)) {
            log_refused(name);
            return OZW_NOT_A_BOOK;
        }
        text = raw;
        return 0;
    }
    try {
        decoded.clear();
        append_utf16_as_utf8(decoded, reinterpret_cast<const unsigned char *>(raw.data()) + skip,
                             (raw.size() - skip) / 2, big_endian);
    } catch (const std::bad_alloc &) {
        return OXLS_ERR_MEMORY;
    }
    text = decoded;
    return 0;
}
