#include "engine/value_text.h"

#include "charset.h"

namespace zscan {

std::string quoted_argument(std::string_view value) {
    std::string quoted = "\"";
    for (char c : value) {
        if (c == '"') quoted += '"';
        quoted += c;
    }
    return quoted += '"';
}

std::string string_cell_value(int charset, std::string_view text) {
    std::string quoted = "\"'";
    for (int i = 0; i < static_cast<int>(text.size()); ++i) {
        const int start = i;
        // A Shift-JIS character may end in the byte of "\"; it stays whole.
        if (orb_char_len(charset, static_cast<unsigned char>(text[i]), &i) > 0) {
            quoted.append(text.substr(start, static_cast<size_t>(i - start + 1)));
            continue;
        }
        if (text[i] == '\\') quoted += '\\';
        quoted += text[i];
    }
    return quoted += '"';
}

std::string_view cut_to_whole_characters(int charset, std::string_view text, size_t max_bytes) {
    if (text.size() <= max_bytes) return text;
    size_t end = 0;
    for (int i = 0; i < static_cast<int>(text.size()); ++i) {
        orb_char_len(charset, static_cast<unsigned char>(text[i]), &i);
        if (static_cast<size_t>(i) + 1 > max_bytes) break;
        end = static_cast<size_t>(i) + 1;
    }
    return text.substr(0, end);
}

}  // namespace zscan
