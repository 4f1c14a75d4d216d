#include "number_characters.h"

#include "book_record.h"
#include "format_id.h"

#include <string_view>

namespace {

// Every character beyond ASCII that the number and date formatting writes
// by itself, the built-in formats included.
constexpr std::string_view kFormattingCharacters = "年月日時分秒曜火水木金土明治大正昭和平成令（）¥";

}  // namespace

std::string ozw_number_characters(std::string_view code) {
    std::string characters(kFormattingCharacters);
    return characters.append(code);
}

std::string ozw_style_number_characters(const XLS_BOOK &book, unsigned style) {
    const auto *styles = static_cast<const StyleTables *>(book.styles);
    if (!styles) return ozw_number_characters({});
    const int number = ozw_style_number_format(*styles, style);
    for (const NumberFormat &format : styles->number_formats) {
        if (format.id == number) return ozw_number_characters(format.code);
    }
    return ozw_number_characters({});
}
