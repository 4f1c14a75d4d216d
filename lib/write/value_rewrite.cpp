// Special value texts.
#include "value_rewrite.h"

#include "platform/platform.h"

#include <cstdio>

namespace {

constexpr size_t VARIABLE_TEXT_LIMIT = 82;

std::string local_time_text() {
    std::tm now = zplat::local_time();
    char text[64];
    std::snprintf(text, sizeof text, "%04d/%02d/%02d %02d:%02d:%02d", now.tm_year + 1900, now.tm_mon + 1,
                  now.tm_mday, now.tm_hour, now.tm_min, now.tm_sec);
    return text;
}

bool is_continuation(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

}  // namespace

std::string ozw_rewrite_value(std::string_view value) {
    if (value == "$SYSDATETIME") return local_time_text();
    if (value == "$SYSDATE") return local_time_text().substr(0, 10);
    if (value.size() > 1 && value[0] == '$' && value.size() < VARIABLE_TEXT_LIMIT) {
        std::string setting;
        if (zplat::get_env(std::string(value.substr(1)).c_str(), setting)) return setting;
    }
    if (value.size() >= 2 && value[0] == '\\' && value[1] == '$') return std::string(value.substr(1));
    return std::string(value);
}

void ozw_cut_cell_text(std::string &text, size_t max_chars) {
    if (text.size() < max_chars) return;
    size_t characters = 0;
    size_t cut = 0;   // where character number max_chars starts
    for (size_t i = 0; i < text.size(); ++i) {
        if (is_continuation(text[i])) continue;
        if (++characters == max_chars) cut = i;
    }
    if (characters <= max_chars) return;
    bool quoted = text[0] == '"';
    text.resize(cut);
    if (quoted) text += '"';
}
