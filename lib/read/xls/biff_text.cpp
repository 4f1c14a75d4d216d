// Turning the texts of a workbook stream into UTF-8.
#include "xls/biff_text.h"

#include "utf16_text.h"

#include <algorithm>
#include <new>
#include <string_view>

namespace {

constexpr uint16_t kUtf16 = 1200;
constexpr uint16_t kMacRomanAlias = 32768;
constexpr uint16_t kWindows1252Alias = 32769;
constexpr uint16_t kAscii = 367;
constexpr int kWindowsAscii = 20127;

}  // namespace

int biff_code_page(uint16_t record_value) {
    switch (record_value) {
    case kUtf16: return CODE_PAGE_LATIN1;
    case kMacRomanAlias: return CODE_PAGE_MAC_ROMAN;
    case kWindows1252Alias: return CODE_PAGE_WINDOWS_1252;
    case kAscii: return kWindowsAscii;
    default: return record_value;
    }
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

std::string biff_field_text(const unsigned char *data, const BiffStringField &field, CodePageDecoder &decoder) {
    std::string out;
    if (field.wide) {
        append_utf16_as_utf8(out, data + field.offset, field.chars);
    } else if (!decoder.append(std::string_view(reinterpret_cast<const char *>(data + field.offset), field.chars), out)) {
        throw std::bad_alloc();
    }
    return out;
}
