#include "code_page_decoder.h"

#include "messages.h"
#include "xml_text.h"

#include <algorithm>
#include <cstdio>
#include <new>

namespace {

// Code points of the bytes 0x80 to 0x9F in Windows-1252; the rest of the
// code page is ISO 8859-1.  The five bytes the code page leaves unused keep
// their own code points, as Windows converts them.
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

// UTF-8 of one code point below U+10000 (NUL included: a text's bytes are
// kept as they are, whatever they hold).
void append_unit(std::string &out, char16_t unit) {
    if (unit == 0) out += '\0';
    else append_utf8(unit, out);
}

bool is_ascii(std::string_view bytes) {
    return std::all_of(bytes.begin(), bytes.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

// UTF-7, where "+" opens an escape: the one code page of a book whose
// ASCII bytes are not all ASCII characters.
constexpr int kUtf7 = 65000;

}  // namespace

void CodePageDecoder::set_code_page(int codepage) {
    if (codepage == codepage_) return;
    codepage_ = codepage;
    converter_.reset();
}

bool CodePageDecoder::append(std::string_view bytes, std::string &out) {
    try {
        switch (codepage_) {
        case CODE_PAGE_UTF8:
            out += bytes;
            return true;
        case CODE_PAGE_LATIN1:
            for (char c : bytes) append_unit(out, static_cast<unsigned char>(c));
            return true;
        case CODE_PAGE_WINDOWS_1252:
            for (char c : bytes) {
                const auto byte = static_cast<unsigned char>(c);
                append_unit(out, byte >= 0x80 && byte < 0xA0 ? kWindows1252[byte - 0x80] : byte);
            }
            return true;
        case CODE_PAGE_MAC_ROMAN:
            for (char c : bytes) {
                const auto byte = static_cast<unsigned char>(c);
                append_unit(out, byte < 0x80 ? byte : kMacRoman[byte - 0x80]);
            }
            return true;
        default:
            if (codepage_ != kUtf7 && is_ascii(bytes)) {
                out += bytes;
                return true;
            }
            return append_converted(bytes, out);
        }
    } catch (const std::bad_alloc &) {
        return false;
    }
}

bool CodePageDecoder::append_converted(std::string_view bytes, std::string &out) {
    if (!converter_) {
        converter_ = std::make_unique<zplat::CodePageConverter>(codepage_);
        if (!converter_->ok()) {
            char line[96];
            std::snprintf(line, sizeof line, "code page %d cannot be converted: its texts are read as 1252", codepage_);
            orb_log_line(line);
            codepage_ = CODE_PAGE_WINDOWS_1252;
            converter_.reset();
            return append(bytes, out);
        }
    }
    return converter_->append_utf8(bytes, out);
}
