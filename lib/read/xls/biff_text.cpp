// Turning the texts of a workbook stream into UTF-8.
#include "xls/biff_text.h"

#include "platform/platform.h"

#include <algorithm>

namespace {

// Code points of the bytes 0x80 to 0x9F in Windows-1252; the rest of the
// code page is ISO 8859-1.
constexpr char16_t kWindows1252[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

// Code points of the bytes 0x80 to 0xFF in Mac Roman.
constexpr char16_t kMacRoman[128] = {
    0x00C4, 0x00C5, 0x00C7, 0x00C9, 0x00D1, 0x00D6, 0x00DC, 0x00E1, 0x00E0, 0x00E2, 0x00E4, 0x00E3,
    0x00E5, 0x00E7, 0x00E9, 0x00E8, 0x00EA, 0x00EB, 0x00ED, 0x00EC, 0x00EE, 0x00EF, 0x00F1, 0x00F3,
    0x00F2, 0x00F4, 0x00F6, 0x00F5, 0x00FA, 0x00F9, 0x00FB, 0x00FC, 0x2020, 0x00B0, 0x00A2, 0x00A3,
    0x00A7, 0x2022, 0x00B6, 0x00DF, 0x00AE, 0x00A9, 0x2122, 0x00B4, 0x00A8, 0x2260, 0x00C6, 0x00D8,
    0x221E, 0x00B1, 0x2264, 0x2265, 0x00A5, 0x00B5, 0x2202, 0x2211, 0x220F, 0x03C0, 0x222B, 0x00AA,
    0x00BA, 0x03A9, 0x00E6, 0x00F8, 0x00BF, 0x00A1, 0x00AC, 0x221A, 0x0192, 0x2248, 0x2206, 0x00AB,
    0x00BB, 0x2026, 0x00A0, 0x00C0, 0x00C3, 0x00D5, 0x0152, 0x0153, 0x2013, 0x2014, 0x201C, 0x201D,
    0x2018, 0x2019, 0x00F7, 0x25CA, 0x00FF, 0x0178, 0x2044, 0x20AC, 0x2039, 0x203A, 0xFB01, 0xFB02,
    0x2021, 0x00B7, 0x201A, 0x201E, 0x2030, 0x00C2, 0x00CA, 0x00C1, 0x00CB, 0x00C8, 0x00CD, 0x00CE,
    0x00CF, 0x00CC, 0x00D3, 0x00D4, 0xF8FF, 0x00D2, 0x00DA, 0x00DB, 0x00D9, 0x0131, 0x02C6, 0x02DC,
    0x00AF, 0x02D8, 0x02D9, 0x02DA, 0x00B8, 0x02DD, 0x02DB, 0x02C7};

void append_code_point(std::string &out, uint32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

bool is_high_surrogate(uint32_t u) { return u >= 0xD800 && u <= 0xDBFF; }
bool is_low_surrogate(uint32_t u) { return u >= 0xDC00 && u <= 0xDFFF; }

}  // namespace

void biff_append_utf16le(std::string &out, const unsigned char *data, size_t units) {
    for (size_t i = 0; i < units; ++i) {
        uint32_t u = static_cast<uint32_t>(data[2 * i] | (data[2 * i + 1] << 8));
        if (is_high_surrogate(u) && i + 1 < units) {
            uint32_t low = static_cast<uint32_t>(data[2 * i + 2] | (data[2 * i + 3] << 8));
            if (is_low_surrogate(low)) {
                append_code_point(out, 0x10000 + ((u - 0xD800) << 10) + (low - 0xDC00));
                ++i;
                continue;
            }
        }
        append_code_point(out, is_high_surrogate(u) || is_low_surrogate(u) ? 0xFFFD : u);
    }
}

std::string biff_decode_8bit(int codepage, const unsigned char *data, size_t length) {
    std::string out;
    switch (codepage) {
    case 932: {
        std::u16string wide;
        std::string_view text(reinterpret_cast<const char *>(data), length);
        if (zplat::to_utf16(932, text, wide)) {
            for (char16_t u : wide) append_code_point(out, u);
            return out;
        }
        break;   // no converter: keep the bytes as code points below
    }
    case 65001:
        return std::string(reinterpret_cast<const char *>(data), length);
    case 1252:
    case 32769:
        for (size_t i = 0; i < length; ++i)
            append_code_point(out, data[i] >= 0x80 && data[i] < 0xA0 ? kWindows1252[data[i] - 0x80] : data[i]);
        return out;
    case 10000:
    case 32768:
        for (size_t i = 0; i < length; ++i) append_code_point(out, data[i] < 0x80 ? data[i] : kMacRoman[data[i] - 0x80]);
        return out;
    default:
        break;
    }
    for (size_t i = 0; i < length; ++i) append_code_point(out, data[i]);
    return out;
}

bool biff_string_field(const unsigned char *data, size_t length, size_t offset, int count_bytes, bool has_flags,
                       BiffStringField &field) {
    size_t header = static_cast<size_t>(count_bytes) + (has_flags ? 1 : 0);
    if (offset > length || length - offset < header) return false;
    field.chars = count_bytes == 1 ? data[offset] : static_cast<size_t>(data[offset] | (data[offset + 1] << 8));
    field.wide = has_flags && (data[offset + count_bytes] & 1) != 0;
    field.offset = offset + header;
    size_t available = (length - field.offset) / (field.wide ? 2 : 1);
    field.chars = std::min(field.chars, available);
    return true;
}

std::string biff_field_text(const unsigned char *data, const BiffStringField &field, int codepage) {
    if (!field.wide) return biff_decode_8bit(codepage, data + field.offset, field.chars);
    std::string out;
    biff_append_utf16le(out, data + field.offset, field.chars);
    return out;
}
