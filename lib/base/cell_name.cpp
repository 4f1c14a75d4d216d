// Cell names in A1 notation.
#include "cell_name.h"

namespace {

bool is_digit(char c) { return c >= '0' && c <= '9'; }

// The row part of a name: digits, commas, at most one point and a sign only
// in front; at least one digit.  Gives the 0-based row of its leading whole
// value, or nothing.
std::optional<int> parse_row_part(std::string_view text) {
    bool has_digit = false;
    bool has_point = false;
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (is_digit(c)) {
            has_digit = true;
        } else if (c == '.' && !has_point) {
            has_point = true;
        } else if (!(c == ',' || ((c == '+' || c == '-') && i == 0))) {
            return std::nullopt;
        }
    }
    if (!has_digit) return std::nullopt;
    size_t i = 0;
    bool negative = false;
    if (text[0] == '+' || text[0] == '-') negative = text[i++] == '-';
    long long value = 0;
    for (; i < text.size() && is_digit(text[i]); ++i) {
        value = value * 10 + (text[i] - '0');
        if (value > OZW_MAX_ROW + 1) return std::nullopt;  // far outside the sheet
    }
    if (negative) value = -value;
    const long long row = value - 1;
    if (row < 0 || row > OZW_MAX_ROW) return std::nullopt;
    return static_cast<int>(row);
}

}  // namespace

std::optional<int> ozw_parse_column_letters(std::string_view letters) {
    if (letters.empty() || letters.size() > 3) return std::nullopt;
    int value = 0;
    for (char c : letters) {
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
        if (c < 'A' || c > 'Z') return std::nullopt;
        value = value * 26 + (c - 'A' + 1);
    }
    const int column = value - 1;
    if (column > OZW_MAX_COLUMN) return std::nullopt;
    return column;
}

std::optional<CellPos> ozw_parse_cell_name(std::string_view name) {
    // Most names are capital letters and digits, as producers write them.
    size_t letters = 0;
    int number = 0;
    while (letters < name.size() && letters < 3 && name[letters] >= 'A' && name[letters] <= 'Z')
        number = number * 26 + (name[letters++] - 'A' + 1);
    if (letters > 0 && letters < name.size() && is_digit(name[letters])) {
        long long row = 0;
        size_t end = letters;
        while (end < name.size() && is_digit(name[end]) && row <= OZW_MAX_ROW + 1) row = row * 10 + (name[end++] - '0');
        if (end == name.size()) {
            if (number - 1 > OZW_MAX_COLUMN || row < 1 || row > OZW_MAX_ROW + 1) return std::nullopt;
            return CellPos{static_cast<int>(row - 1), number - 1};
        }
    }
    size_t start = !name.empty() && name[0] == '$' ? 1 : 0;
    size_t end = start;
    while (end < name.size() && !is_digit(name[end]) && name[end] != '$') ++end;
    const std::optional<int> column = ozw_parse_column_letters(name.substr(start, end - start));
    if (!column) return std::nullopt;
    const size_t row_start = end < name.size() && name[end] == '$' ? end + 1 : end;
    const std::optional<int> row = parse_row_part(name.substr(row_start));
    if (!row) return std::nullopt;
    return CellPos{*row, *column};
}

int ozw_parse_range(std::string_view text, CellRange &range) {
    if (text.size() > OZW_MAX_RANGE_TEXT) return OZW_RANGE_TOO_LONG;
    const size_t colon = text.find(':');
    if (colon == std::string_view::npos) return OZW_RANGE_NO_COLON;
    const std::optional<CellPos> first = ozw_parse_cell_name(text.substr(0, colon));
    const std::optional<CellPos> last = ozw_parse_cell_name(text.substr(colon + 1));
    if (!first || !last) return OZW_RANGE_BAD_NAME;
    range = CellRange{*first, *last};
    return OZW_RANGE_OK;
}

std::string ozw_column_letters(int column) {
    if (column < 0 || column > OZW_MAX_COLUMN) return "";
    std::string letters;
    // Bijective base 26: A..Z are 1..26, so there is no zero digit.
    for (int n = column + 1; n > 0; n = (n - 1) / 26) {
        letters.insert(letters.begin(), static_cast<char>('A' + (n - 1) % 26));
    }
    return letters;
}

std::string ozw_cell_name(int row, int column) {
    if (row < 0 || row > OZW_MAX_ROW || column < 0 || column > OZW_MAX_COLUMN) return "";
    return ozw_column_letters(column) + std::to_string(row + 1);
}

std::string ozw_range_name(int row1, int column1, int row2, int column2) {
    const std::string first = ozw_cell_name(row1, column1);
    const std::string last = ozw_cell_name(row2, column2);
    if (first.empty() || last.empty()) return "";
    return first + ":" + last;
}

bool ozw_split_sheet_prefix(std::string_view text, std::string &sheet, std::string_view &rest) {
    if (!text.empty() && text[0] == '\'') {
        std::string name;
        for (size_t i = 1; i < text.size(); ++i) {
            if (text[i] != '\'') {
                name += text[i];
            } else if (i + 1 < text.size() && text[i + 1] == '\'') {
                name += '\'';
                ++i;
            } else if (i + 1 < text.size() && text[i + 1] == '!') {
                sheet = std::move(name);
                rest = text.substr(i + 2);
                return true;
            } else {
                return false;
            }
        }
        return false;
    }
    const size_t bang = text.rfind('!');
    if (bang == std::string_view::npos) return false;
    sheet = std::string(text.substr(0, bang));
    rest = text.substr(bang + 1);
    return true;
}
