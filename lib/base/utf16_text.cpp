#include "utf16_text.h"

#include "xml_text.h"

#include <cstdint>

namespace {

// The UTF-8 of a code point; a NUL is kept as it is, as the texts of a
// workbook stream may hold one.
void append_code_point(std::string &out, uint32_t cp) {
    if (cp == 0) out += '\0';
    else append_utf8(cp, out);
}

bool is_high_surrogate(uint32_t u) { return u >= 0xD800 && u <= 0xDBFF; }
bool is_low_surrogate(uint32_t u) { return u >= 0xDC00 && u <= 0xDFFF; }

}  // namespace

void append_utf16_as_utf8(std::string &out, const unsigned char *data, size_t units, bool big_endian) {
    const int high = big_endian ? 0 : 1;
    auto unit = [&](size_t i) { return static_cast<uint32_t>((data[2 * i + high] << 8) | data[2 * i + 1 - high]); };
    out.reserve(out.size() + units);
    for (size_t i = 0; i < units; ++i) {
        const uint32_t u = unit(i);
        if (is_high_surrogate(u) && i + 1 < units && is_low_surrogate(unit(i + 1))) {
            append_code_point(out, 0x10000 + ((u - 0xD800) << 10) + (unit(i + 1) - 0xDC00));
            ++i;
            continue;
        }
        append_code_point(out, is_high_surrogate(u) || is_low_surrogate(u) ? 0xFFFD : u);
    }
}
