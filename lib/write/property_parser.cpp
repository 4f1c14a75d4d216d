// The property key parser: segments, keywords read from the end, and the
// target of the first segment.
#include "property_parser.h"

#include "messages.h"
#include "caller_text.h"
#include "cell_store.h"
#include "property_keywords.h"
#include "result_codes.h"

#include <string>
#include <vector>

namespace {

constexpr size_t SHEET_PREFIX_LIMIT = 94;

// Splits at "." outside double quotes.
std::vector<std::string_view> split_segments(std::string_view key) {
    std::vector<std::string_view> segments;
    bool quoted = false;
    size_t start = 0;
    for (size_t i = 0; i < key.size(); ++i) {
        if (key[i] == '"') quoted = !quoted;
        if (key[i] == '.' && !quoted) {
            segments.push_back(key.substr(start, i - start));
            start = i + 1;
        }
    }
    segments.push_back(key.substr(start));
    return segments;
}

bool is_sub_code(int code, Keyword keyword) { return code == ozw_keyword_code(keyword); }

// The code of `keyword` standing before a segment whose code is `sub_code`
// (0 when it is the last segment).  `font_error` is set for FONT with a
// sub-code that no font property has.
int combine(Keyword keyword, int sub_code, bool &font_error) {
    if (keyword == Keyword::Font) {
        if (is_sub_code(sub_code, Keyword::Name)) return PROPERTY_FONT_NAME;
        if (is_sub_code(sub_code, Keyword::Color)) return PROPERTY_FONT_COLOR;
        if (is_sub_code(sub_code, Keyword::Size)) return PROPERTY_FONT_SIZE;
        if (is_sub_code(sub_code, Keyword::Style)) return PROPERTY_FONT_STYLE;
        font_error = true;
        return sub_code;
    }
    if (sub_code == PROPERTY_NONE) return ozw_keyword_code(keyword);
    if (keyword == Keyword::Width && is_sub_code(sub_code, Keyword::Start)) return PROPERTY_WIDTH_START;
    if (keyword == Keyword::Width && is_sub_code(sub_code, Keyword::End)) return PROPERTY_WIDTH_END;
    return sub_code;
}

// A decimal row number from 1.
bool parse_row_number(std::string_view text, int &row) {
    if (text.empty() || text.size() > 7) return false;
    long value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return false;
        value = value * 10 + (c - '0');
    }
    if (value < 1 || value > OZW_MAX_ROW + 1) return false;
    row = static_cast<int>(value - 1);
    return true;
}

// Letters, digits and "_" (and any non-ASCII character), not starting with
// a digit.
bool is_variable_name(std::string_view text) {
    if (text.empty() || (text[0] >= '0' && text[0] <= '9')) return false;
    for (char c : text) {
        bool ascii_word = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_';
        if (!ascii_word && static_cast<unsigned char>(c) < 0x80) return false;
    }
    return true;
}

// The target of the first segment; false when it is none.
bool parse_target(XLS_BOOK *book, std::string_view segment, PropertyTarget &target) {
    std::string sheet;
    std::string_view rest = segment;
    if (segment.size() < SHEET_PREFIX_LIMIT && ozw_split_sheet_prefix(segment, sheet, rest))
        target.sheet = ozw_find_sheet(book, sheet);
    CellRange range;
    if (ozw_parse_range(rest, range) == OZW_RANGE_OK) {
        target.range = true;
        target.bounds = range;
        return true;
    }
    if (std::optional<CellPos> cell = ozw_parse_cell_name(rest)) {
        target.row = cell->row;
        target.column = cell->column;
        return true;
    }
    if (parse_row_number(rest, target.row)) return true;
    if (std::optional<int> column = ozw_parse_column_letters(rest)) {
        target.column = *column;
        return true;
    }
    return false;
}

int refuse(XLS_BOOK *book, int code, OxlsMessage message, std::string_view text) {
    return ozw_set_error(book, code, message, ozw_utf8_to_sjis(text).c_str());
}

}  // namespace

int ozw_parse_property(XLS_BOOK *book, std::string_view key, ParsedProperty &parsed) {
    parsed = ParsedProperty{};
    std::vector<std::string_view> segments = split_segments(key);
    if (segments.size() > PROPERTY_SEGMENTS_MAX) return refuse(book, OXLS_ERR_ARGUMENT, OXLS_02211, key);
    for (std::string_view segment : segments)
        if (segment.size() > PROPERTY_SEGMENT_LEN)
            return ozw_set_error(book, OZW_LIMIT_REACHED, OXLS_03009, static_cast<int>(segment.size()),
                                 "ozw_parse_property() section");

    bool font_error = false;
    size_t first_keyword = segments.size();
    while (first_keyword > 0) {
        Keyword keyword;
        if (!ozw_find_keyword(segments[first_keyword - 1], keyword)) break;
        parsed.code = combine(keyword, parsed.code, font_error);
        parsed.has_keyword = true;
        --first_keyword;
    }
    if (first_keyword > 1) return refuse(book, OXLS_ERR_ARGUMENT, OXLS_02200, segments[first_keyword - 1]);
    if (first_keyword == 1 && !parse_target(book, segments[0], parsed.target)) {
        if (!is_variable_name(segments[0])) return refuse(book, OXLS_ERR_ARGUMENT, OXLS_02305, segments[0]);
        parsed.code = PROPERTY_VARIABLE;
    }
    if (font_error) return refuse(book, OXLS_ERR_ARGUMENT, OXLS_02403, "属性");
    return 0;
}
