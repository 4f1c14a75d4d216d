#include "engine/list_file_text.h"

#include "charset.h"
#include "engine/utf8_text.h"
#include "platform/platform.h"

namespace zscan {
namespace {

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LeMark = "\xFF\xFE";
constexpr std::string_view kUtf16BeMark = "\xFE\xFF";
constexpr int kUtf8CodePage = 65001;

// UTF-16 in the given byte order as UTF-8; an odd last byte is dropped.
std::string utf16_as_utf8(std::string_view bytes, bool little_endian) {
    std::u16string units;
    units.reserve(bytes.size() / 2);
    for (size_t at = 0; at + 1 < bytes.size(); at += 2) {
        const auto first = static_cast<unsigned char>(bytes[at]);
        const auto second = static_cast<unsigned char>(bytes[at + 1]);
        units += static_cast<char16_t>(little_endian ? first | second << 8 : first << 8 | second);
    }
    std::string utf8;
    zplat::from_utf16(kUtf8CodePage, units, utf8);
    return utf8;
}

std::string as_utf8(std::string_view bytes) {
    if (bytes.starts_with(kUtf8Mark)) return std::string(bytes.substr(kUtf8Mark.size()));
    if (bytes.starts_with(kUtf16LeMark)) return utf16_as_utf8(bytes.substr(kUtf16LeMark.size()), true);
    if (bytes.starts_with(kUtf16BeMark)) return utf16_as_utf8(bytes.substr(kUtf16BeMark.size()), false);
    if (is_valid_utf8(bytes)) return std::string(bytes);
    return orb_convert(CS_SJIS, CS_UTF8, bytes);
}

}  // namespace

std::string list_file_text(std::string_view bytes, int charset) {
    // Shift-JIS without a mark is taken as it is when it is the character
    // set wanted, so that no byte of it is lost on the way.
    if (charset == CS_SJIS && !bytes.starts_with(kUtf8Mark) && !bytes.starts_with(kUtf16LeMark) &&
        !bytes.starts_with(kUtf16BeMark) && !is_valid_utf8(bytes))
        return std::string(bytes);
    const std::string utf8 = as_utf8(bytes);
    return charset == CS_UTF8 ? utf8 : orb_convert(CS_UTF8, charset, utf8);
}

}  // namespace zscan
