// Character sets: character lengths, conversion between Shift-JIS, EUC-JP,
// UTF-8 and big-endian UTF-16, and the text routines that must step over
// double-byte characters whole.
#include "charset.h"

#include "platform/platform.h"
#include "result_codes.h"

#include <cstring>
#include <new>

namespace {

constexpr int kShiftJisPage = 932;
constexpr int kUtf8Page = 65001;

// ---- EUC-JP <-> Shift-JIS arithmetic ----------------------------------

std::string euc_to_sjis(std::string_view in) {
    std::string out;
    out.reserve(in.size());
    for (size_t i = 0; i < in.size(); ++i) {
        auto byte = static_cast<unsigned char>(in[i]);
        if (byte == 0x8E && i + 1 < in.size()) {
            out += in[++i];   // half-width katakana stands alone in Shift-JIS
        } else if (byte >= 0xA1 && byte <= 0xFE && i + 1 < in.size()) {
            int j1 = byte - 0x80;
            int j2 = static_cast<unsigned char>(in[++i]) - 0x80;
            int s1, s2;
            if (j1 % 2 == 1) {
                s1 = (j1 + 1) / 2 + 0x70;
                s2 = j2 + 0x1F;
            } else {
                s1 = j1 / 2 + 0x70;
                s2 = j2 + 0x7D;
            }
            if (s1 > 0x9F) s1 += 0x40;
            if (s2 > 0x7E) s2 += 1;
            out += static_cast<char>(s1 & 0xFF);
            out += static_cast<char>(s2 & 0xFF);
        } else {
            out += static_cast<char>(byte);
        }
    }
    return out;
}

bool is_sjis_lead(unsigned char byte) { return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC); }

std::string sjis_to_euc(std::string_view in) {
    std::string out;
    out.reserve(in.size() + in.size() / 4);
    for (size_t i = 0; i < in.size(); ++i) {
        auto byte = static_cast<unsigned char>(in[i]);
        if (is_sjis_lead(byte) && i + 1 < in.size()) {
            int s1 = byte;
            int s2 = static_cast<unsigned char>(in[++i]);
            if (s1 >= 0xE0) s1 -= 0x40;
            if (s2 >= 0x80) s2 -= 1;
            int e1, e2;
            if (s2 < 0x9E) {
                e1 = 2 * s1 - 0xE1;
                e2 = s2 - 0x1F;
            } else {
                e1 = 2 * s1 - 0xE0;
                e2 = s2 - 0x7D;
            }
            out += static_cast<char>((e1 + 0x80) & 0xFF);
            out += static_cast<char>((e2 + 0x80) & 0xFF);
        } else {
            if (byte >= 0xA0 && byte <= 0xDF) out += '\x8E';
            out += static_cast<char>(byte);
        }
    }
    return out;
}

// ---- conversions through UTF-16 ---------------------------------------

std::u16string swap_pairs(std::string_view big_endian) {
    std::u16string wide(big_endian.size() / 2, u'\0');
    for (size_t i = 0; i < wide.size(); ++i)
        wide[i] = static_cast<char16_t>((static_cast<unsigned char>(big_endian[2 * i]) << 8) |
                                        static_cast<unsigned char>(big_endian[2 * i + 1]));
    return wide;
}

// Re-encodes text of one code page in another: 0 or -2.
int recode(int from_page, int to_page, std::string_view in, std::string &out) {
    std::u16string wide;
    if (!zplat::to_utf16(from_page, in, wide) || !zplat::from_utf16(to_page, wide, out)) return OXLS_ERR_MEMORY;
    return 0;
}

int from_utf16be(int to_page, std::string_view in, std::string &out) {
    return zplat::from_utf16(to_page, swap_pairs(in), out) ? 0 : OXLS_ERR_MEMORY;
}

// Converts to Shift-JIS from any other code; the intermediate step of the
// EUC-JP and UTF-8 targets.
int to_sjis(int from, std::string_view in, std::string &out) {
    switch (from) {
        case CS_EUC: out = euc_to_sjis(in); return 0;
        case CS_UTF8: return recode(kUtf8Page, kShiftJisPage, in, out);
        case CS_UTF16BE: return from_utf16be(kShiftJisPage, in, out);
        default: out.assign(in); return 0;
    }
}

bool has_conversion(int from, int to) {
    bool known_from = from >= CS_SJIS && from <= CS_UTF16BE;
    bool known_to = to >= CS_SJIS && to <= CS_UTF8;
    return known_from && known_to && from != to;
}

int convert(int from, int to, std::string_view in, std::string &out) {
    if (!has_conversion(from, to)) {
        out.assign(in);
        return 0;
    }
    std::string sjis;
    switch (to) {
        case CS_SJIS:
            return to_sjis(from, in, out);
        case CS_EUC:
            if (int rc = to_sjis(from, in, sjis)) return rc;
            out = sjis_to_euc(sjis);
            return 0;
        default:   // CS_UTF8
            if (from == CS_UTF16BE) return from_utf16be(kUtf8Page, in, out);
            if (from == CS_EUC) return recode(kShiftJisPage, kUtf8Page, euc_to_sjis(in), out);
            return recode(kShiftJisPage, kUtf8Page, in, out);
    }
}

// Index of the character after the one at i; never steps over the
// terminator, even when a lead byte is the last byte of the text.
int next_char(int code, const char *text, int i) {
    int more = orb_char_len(code, static_cast<unsigned char>(text[i]), nullptr);
    ++i;
    while (more-- > 0 && text[i]) ++i;
    return i;
}

// Applies `change` to each single-byte character outside quoted runs.
// A run between single quotes (where two in a row stand for one) or
// between double quotes is left alone; an opening quote that is never
// closed ends the walk with -1.
template <typename Change>
int change_case(int code, char *text, Change change) {
    for (int i = 0; text[i];) {
        char c = text[i];
        if (c == '\'' || c == '"') {
            int j = i + 1;
            for (;;) {
                if (!text[j]) return OZW_FAILED;
                if (text[j] == c) {
                    if (c == '\'' && text[j + 1] == '\'') {
                        j += 2;
                        continue;
                    }
                    break;
                }
                j = next_char(code, text, j);
            }
            i = j + 1;
            continue;
        }
        if (orb_char_len(code, static_cast<unsigned char>(c), nullptr) == 0) text[i] = change(c);
        i = next_char(code, text, i);
    }
    return 0;
}

}  // namespace

int orb_char_len(int code, unsigned char byte, int *index) {
    int more = 0;
    switch (code) {
        case CS_SJIS: more = is_sjis_lead(byte) ? 1 : 0; break;
        case CS_EUC: more = (byte >= 0xA1 && byte <= 0xFE) || byte == 0x8E ? 1 : 0; break;
        case CS_UTF8:
            if (byte >= 0xC0 && byte <= 0xDF) more = 1;
            else if (byte >= 0xE0 && byte <= 0xEF) more = 2;
            else if (byte >= 0xF0 && byte <= 0xF7) more = 3;
            break;
        case CS_UTF16BE:
        case CS_WIDE5: more = byte >= 0xD8 && byte <= 0xDB ? 3 : 1; break;
        default: break;
    }
    if (index) *index += more;
    return more;
}

int orb_convert(int from, int to, std::string_view text, std::string &out) {
    try {
        if (int rc = convert(from, to, text, out)) {
            out.clear();
            return rc;
        }
    } catch (const std::bad_alloc &) {
        out.clear();
        return OXLS_ERR_MEMORY;
    }
    return 0;
}

std::string orb_convert(int from, int to, std::string_view text) {
    std::string out;
    orb_convert(from, to, text, out);
    return out;
}

int orb_convert(int from, int to, char *text, int *length) {
    if (!has_conversion(from, to)) return 0;
    int old_length = *length;
    std::string out;
    if (int rc = orb_convert(from, to, std::string_view(text, static_cast<size_t>(old_length)), out)) return rc;
    int new_length = static_cast<int>(out.size());
    std::memcpy(text, out.data(), out.size());
    text[new_length] = '\0';
    if (old_length > new_length + 1)
        std::memset(text + new_length + 1, 0, static_cast<size_t>(old_length - new_length - 1));
    *length = new_length;
    return 0;
}

int orb_upper(int code, char *text) {
    return change_case(code, text, [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c; });
}

void orb_fold_fullwidth_spaces(int code, char *text) {
    for (int i = 0; text[i];) {
        auto *u = reinterpret_cast<unsigned char *>(text + i);
        bool sjis = code == CS_SJIS && u[0] == 0x81 && u[1] == 0x40;
        bool euc = code == CS_EUC && u[0] == 0xA1 && u[1] == 0xA1;
        bool utf8 = code == CS_UTF8 && u[0] == 0xE3 && u[1] == 0x80 && u[2] == 0x80;
        if (sjis || euc || utf8) {
            int width = utf8 ? 3 : 2;
            std::memset(text + i, ' ', static_cast<size_t>(width));
            i += width;
        } else {
            i = next_char(code, text, i);
        }
    }
}
