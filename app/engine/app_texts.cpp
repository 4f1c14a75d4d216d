#include "engine/app_texts.h"

#include "charset.h"

namespace zscan {

std::string in_charset(int charset, std::string_view utf8) {
    if (charset == CS_UTF8) return std::string(utf8);
    return orb_convert(CS_UTF8, charset, utf8);
}

std::string filled(int charset, std::string_view utf8_template, std::string_view argument) {
    std::string result = in_charset(charset, utf8_template);
    size_t at = result.find("%s");
    if (at == std::string::npos) at = result.find("%d");
    if (at != std::string::npos) result.replace(at, 2, argument);
    return result;
}

std::string filled(int charset, std::string_view utf8_template, int argument) {
    return filled(charset, utf8_template, std::to_string(argument));
}

}  // namespace zscan
