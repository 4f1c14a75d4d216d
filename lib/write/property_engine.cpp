// The property actions.
#include "property_engine.h"

#include "book_properties.h"
#include "book_record.h"
#include "messages.h"
#include "caller_text.h"
#include "cell_store.h"
#include "property_keywords.h"
#include "result_codes.h"
#include "styles.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <new>
#include <string>

namespace {

constexpr double CELL_MARGIN = 0.625;
constexpr size_t DOCUMENT_TEXT_LIMIT = 255;   // company and author fields

struct Bounds {
    int first_row = 0, first_column = 0, last_row = 0, last_column = 0;
};

Bounds bounds_of(const PropertyTarget &target) {
    Bounds b;
    if (target.range) {
        b.first_row = std::min(target.bounds.first.row, target.bounds.last.row);
        b.last_row = std::max(target.bounds.first.row, target.bounds.last.row);
        b.first_column = std::min(target.bounds.first.column, target.bounds.last.column);
        b.last_column = std::max(target.bounds.first.column, target.bounds.last.column);
        return b;
    }
    b.first_row = b.last_row = std::max(target.row, 0);
    b.first_column = b.last_column = std::max(target.column, 0);
    return b;
}

bool has_target(const PropertyTarget &target) { return target.range || target.row >= 0 || target.column >= 0; }

struct WordCode {
    const char *word;       // compared without regard to case
    const char *synonym;    // compared exactly
    const char *synonym2;
    int code;
};

constexpr WordCode ALIGNMENTS[] = {
    {"TOP_LEFT", "左上", nullptr, 11},       {"TOP_CENTER", "中上", nullptr, 12},
    {"TOP_RIGHT", "右上", nullptr, 13},      {"CENTER_LEFT", "左中", "左", 21},
    {"CENTER_CENTER", "中中", "中", 22},     {"CENTER_RIGHT", "右中", "右", 23},
    {"BOTTOM_LEFT", "左下", nullptr, 31},    {"BOTTOM_CENTER", "中下", nullptr, 32},
    {"BOTTOM_RIGHT", "右下", nullptr, 33},
};

constexpr WordCode FONT_STYLES[] = {
    {"regular", "標準", nullptr, 0},
    {"underline", "下線", nullptr, 4},
    {"regular_underline", "標準下線", nullptr, 4},
    {"italic", "斜体", nullptr, 1},
    {"italic_underline", "斜体下線", nullptr, 5},
    {"bold", "強調", nullptr, 2},
    {"bold_underline", "強調下線", nullptr, 6},
    {"bold_italic", "強調斜体", nullptr, 3},
    {"bold_italic_underline", "強調斜体下線", nullptr, 7},
};

template <size_t N>
int word_code(const WordCode (&table)[N], std::string_view value) {
    for (const WordCode &entry : table)
        if (ozw_equals_ignoring_case(value, entry.word) || value == entry.synonym ||
            (entry.synonym2 && value == entry.synonym2))
            return entry.code;
    return -1;
}

int refuse(XLS_BOOK *book, int code, OxlsMessage message, std::string_view text) {
    return ozw_set_error(book, code, message, ozw_utf8_to_sjis(text).c_str());
}

// A full XF or font table, named as the property that filled it.
int table_full(XLS_BOOK *book, bool font_property) {
    if (font_property && ozw_styles(book)->fonts.size() >= MAX_FONT)
        return ozw_set_error(book, OZW_LIMIT_REACHED, OXLS_03008, "Font Style", MAX_FONT);
    return ozw_set_error(book, OZW_LIMIT_REACHED, OXLS_03008, "Align Style", MAX_XF);
}

// Calls `action(cell)` for every cell inside the bounds, rows outer.
template <typename Action>
int for_each_cell(XLS_BOOK *book, XLS_SHEET &sheet, const Bounds &b, Action action) {
    for (int r = b.first_row; r <= b.last_row; ++r) {
        for (int c = b.first_column; c <= b.last_column; ++c) {
            XLS_CELL *cell = ozw_ensure_cell(&sheet, r, c);
            if (!cell) return ozw_set_error(book, OXLS_ERR_MEMORY, OXLS_00002);
            int rc = action(*cell);
            if (rc != 0) return rc;
        }
    }
    return 0;
}

int set_width(XLS_BOOK *book, XLS_SHEET &sheet, const Bounds &b, std::string_view value) {
    std::string text(value);
    double width = 0;
    if (std::sscanf(text.c_str(), "%lf", &width) != 1) return refuse(book, OZW_FAILED, OXLS_02300, value);
    for (int c = b.first_column; c <= b.last_column; ++c)
        if (ozw_set_column_width(sheet, c, width + CELL_MARGIN) != 0) return ozw_set_error(book, OXLS_ERR_MEMORY, OXLS_00002);
    return 0;
}

int set_alignment(XLS_BOOK *book, XLS_SHEET &sheet, const Bounds &b, std::string_view value) {
    int code = word_code(ALIGNMENTS, value);
    if (code < 0) return refuse(book, OZW_FAILED, OXLS_02405, value);
    return for_each_cell(book, sheet, b, [&](XLS_CELL &cell) {
        int rc = ozw_set_cell_alignment(book, cell, static_cast<uint8_t>(code));
        if (rc == OZW_LIMIT_REACHED) return table_full(book, false);
        return rc == OXLS_ERR_MEMORY ? ozw_set_error(book, OXLS_ERR_MEMORY, OXLS_00002) : rc;
    });
}

int set_font_style(XLS_BOOK *book, XLS_SHEET &sheet, const Bounds &b, std::string_view value) {
    int flags = word_code(FONT_STYLES, value);
    if (flags < 0) return refuse(book, OZW_FAILED, OXLS_02403, value);
    FontRecord font;   // the book's default font: name code 10, size 11, no colour
    font.flags = static_cast<uint8_t>(flags);
    return for_each_cell(book, sheet, b, [&](XLS_CELL &cell) {
        int rc = ozw_set_cell_font(book, cell, FONT_FIELD_STYLE, font);
        if (rc == OZW_LIMIT_REACHED) return table_full(book, true);
        return rc == OXLS_ERR_MEMORY ? ozw_set_error(book, OXLS_ERR_MEMORY, OXLS_00002) : rc;
    });
}

int set_document_text(XLS_BOOK *book, char *field, std::string_view value, const char *name) {
    if (value.size() > DOCUMENT_TEXT_LIMIT)
        return ozw_set_error(book, OZW_LIMIT_REACHED, OXLS_03009, static_cast<int>(DOCUMENT_TEXT_LIMIT), name);
    std::memcpy(field, value.data(), value.size());
    field[value.size()] = '\0';
    return 0;
}

// The optional document properties and the automatic width switch, kept in
// the book's extension record.
int set_book_text(XLS_BOOK *book, std::string BookProperties::*field, std::string_view value) {
    BookProperties *properties = ozw_book_properties(book);
    if (!properties) return ozw_set_error(book, OXLS_ERR_MEMORY, OXLS_00002);
    try {
        properties->*field = value;
    } catch (const std::bad_alloc &) {
        return ozw_set_error(book, OXLS_ERR_MEMORY, OXLS_00002);
    }
    return 0;
}

int set_auto_width(XLS_BOOK *book, std::string_view value) {
    BookProperties *properties = ozw_book_properties(book);
    if (!properties) return ozw_set_error(book, OXLS_ERR_MEMORY, OXLS_00002);
    properties->auto_width = ozw_equals_ignoring_case(value, "TRUE") || value == "する";
    return 0;
}

// The actions that need cells of a sheet.
int apply_to_cells(XLS_BOOK *book, const ParsedProperty &property, std::string_view key, std::string_view value) {
    int sheet_index = property.target.sheet >= 0 ? property.target.sheet : book->current_sheet;
    int rc;
    XLS_SHEET *sheet = ozw_writing_sheet(book, sheet_index, &rc);
    if (!sheet) return rc == OXLS_ERR_MEMORY ? ozw_set_error(book, OXLS_ERR_MEMORY, OXLS_00002) : refuse(book, OXLS_ERR_ARGUMENT, OXLS_02300, key);
    if (!has_target(property.target)) return 0;
    Bounds b = bounds_of(property.target);
    long long cells = (static_cast<long long>(b.last_row) - b.first_row + 1) *
                      (static_cast<long long>(b.last_column) - b.first_column + 1);
    if (cells > PROPERTY_CELLS_MAX)
        return ozw_set_error(book, OZW_LIMIT_REACHED, OXLS_03009, static_cast<int>(PROPERTY_CELLS_MAX),
                             ozw_utf8_to_sjis(key).c_str());
    rc = for_each_cell(book, *sheet, b, [](XLS_CELL &) { return 0; });
    if (rc != 0) return rc;
    switch (property.code) {
    case ozw_keyword_code(Keyword::Width): return set_width(book, *sheet, b, value);
    case ozw_keyword_code(Keyword::Align): return set_alignment(book, *sheet, b, value);
    default: return set_font_style(book, *sheet, b, value);
    }
}

}  // namespace

int ozw_apply_property(XLS_BOOK *book, const ParsedProperty &property, std::string_view key,
                       std::string_view value) {
    switch (property.code) {
    case ozw_keyword_code(Keyword::Width):
    case ozw_keyword_code(Keyword::Align):
    case PROPERTY_FONT_STYLE: return apply_to_cells(book, property, key, value);
    case ozw_keyword_code(Keyword::Company):
        return set_document_text(book, book->company, value, "COMPANY");
    case ozw_keyword_code(Keyword::Creator):
        return set_document_text(book, book->author, value, "CREATOR");
    case ozw_keyword_code(Keyword::Title): return set_book_text(book, &BookProperties::title, value);
    case ozw_keyword_code(Keyword::Subject): return set_book_text(book, &BookProperties::subject, value);
    case ozw_keyword_code(Keyword::Tag): return set_book_text(book, &BookProperties::keywords, value);
    case ozw_keyword_code(Keyword::Manager): return set_book_text(book, &BookProperties::manager, value);
    case ozw_keyword_code(Keyword::AutoWidth): return set_auto_width(book, value);
    default:
        // Keywords of the library's further features are recognised but not
        // carried out here.
        return refuse(book, OXLS_ERR_ARGUMENT, OXLS_02200, key);
    }
}
