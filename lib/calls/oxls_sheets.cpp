// Sheets: adding or selecting one (OXLS_open_sheet, OXLS_open_sheet2) and
// the small queries on the sheet table.
#include "arg_items.h"
#include "book_record.h"
#include "charset.h"
#include "messages.h"
#include "oxls.h"

#include <cstdio>
#include <cstring>
#include <string>

namespace {

enum SheetKey { KEY_SHEET_NAME, KEY_MODE, KEY_TEMPLATE };
constexpr ArgKeyword SHEET_KEYS[] = {{"SHEET_NAME", KEY_SHEET_NAME}, {"シート", KEY_SHEET_NAME}, {"MODE", KEY_MODE},
                                     {"モード", KEY_MODE},          {"TEMPLATE", KEY_TEMPLATE}, {"テンプレート", KEY_TEMPLATE}};

enum SheetMode { SHEET_READ, SHEET_CREATE, SHEET_UPDATE, SHEET_TEMPLATE };
constexpr ArgKeyword SHEET_MODES[] = {{"READ", SHEET_READ},       {"読込", SHEET_READ},         {"読み込み", SHEET_READ},
                                      {"CREATE", SHEET_CREATE},   {"新規", SHEET_CREATE},       {"UPDATE", SHEET_UPDATE},
                                      {"更新", SHEET_UPDATE},     {"TEMPLATE", SHEET_TEMPLATE}, {"テンプレート", SHEET_TEMPLATE}};

// Excel's limit is 31 characters; a longer name keeps its first 30.
constexpr int SHEET_NAME_CHARS = 31;
constexpr int SHEET_NAME_CUT_CHARS = 30;

constexpr unsigned char FLAG_ON = 0xFF;

struct SheetRequest {
    std::string name;        // UTF-8, empty when not given
    int mode = SHEET_CREATE;
    bool has_template = false;
    std::string template_name;   // UTF-8
};

// Shortens a UTF-8 name of more than 31 characters to its first 30.
void limit_characters(std::string &name) {
    size_t cut = 0;
    int characters = 0;
    for (size_t i = 0; i < name.size(); ++i) {
        if ((static_cast<unsigned char>(name[i]) & 0xC0) == 0x80) continue;
        if (++characters == SHEET_NAME_CUT_CHARS + 1) cut = i;
    }
    if (characters > SHEET_NAME_CHARS) name.resize(cut);
}

// A sheet name value: unquoted, converted to UTF-8, cut to 30 characters
// when over 31.  0, or -909 when still longer than XLS_SHEET_LEN bytes.
int sheet_name_value(XLS_BOOK *book, const std::string &value, std::string &name) {
    name = ozw_from_caller(book, CS_UTF8, ozw_unquoted(value));
    limit_characters(name);
    if (name.size() <= XLS_SHEET_LEN) return 0;
    return ozw_set_error(book, OXLS_ERR_BUFFER, OXLS_03009, XLS_SHEET_LEN, "XLS_SHEET_LEN");
}

int parse_sheet_args(XLS_BOOK *book, const char *args, SheetRequest &request) {
    ArgItems items(book, args);
    std::string key, value;
    while (items.next_key(key)) {
        int id = ozw_match_caller_keyword(book, key, SHEET_KEYS);
        if (id < 0)
            return ozw_set_error(book, OXLS_ERR_ARGUMENT, OXLS_02200, ozw_from_caller(book, CS_SJIS, key).c_str());
        if (int rc = items.read_value(value)) return rc;
        int rc = 0;
        switch (id) {
            case KEY_SHEET_NAME: rc = sheet_name_value(book, value, request.name); break;
            case KEY_TEMPLATE:
                request.has_template = true;
                rc = sheet_name_value(book, value, request.template_name);
                break;
            case KEY_MODE:
                request.mode = ozw_match_caller_keyword(book, value, SHEET_MODES);
                if (request.mode < 0) rc = ozw_set_code(book, OXLS_ERR_ARGUMENT);
                break;
        }
        if (rc) return rc;
    }
    return 0;
}

int find_sheet(const XLS_BOOK *book, const std::string &name) {
    for (int i = 0; i < book->sheet_count; ++i) {
        if (name == book->sheets[i].name) return i;
    }
    return -1;
}

// "Sheet<n>" with n the sheet count plus one, counted up past names in use.
std::string default_sheet_name(const XLS_BOOK *book) {
    for (int number = book->sheet_count + 1;; ++number) {
        std::string name = "Sheet" + std::to_string(number);
        if (find_sheet(book, name) < 0) return name;
    }
}

// Appends a sheet with this name (not yet in use) and makes it current.
int append_sheet(XLS_BOOK *book, const std::string &name, int template_index) {
    if (find_sheet(book, name) >= 0) {
        std::string shown = orb_convert(CS_UTF8, CS_SJIS, name);
        return ozw_set_error(book, OXLS_ERR_ARGUMENT, OXLS_02321, shown.c_str());
    }
    int index = ozw_add_sheet(book, name.c_str());
    if (index < 0) return ozw_set_error(book, OXLS_ERR_MEMORY, OXLS_00002);
    book->sheets[index].template_index = template_index;
    book->current_sheet = index;
    return OXLS_OK;
}

const XLS_SHEET *current_sheet(const XLS_BOOK *book) {
    if (!book->sheets || book->current_sheet < 0 || book->current_sheet >= book->sheet_count) return nullptr;
    return &book->sheets[book->current_sheet];
}

}  // namespace

extern "C" int OXLS_open_sheet(XLS_BOOK *book, const char *args) {
    if (!book) return OXLS_ERR_ARGUMENT;
    ozw_set_code(book, OXLS_OK);
    if (!args) return ozw_set_code(book, OXLS_ERR_ARGUMENT);
    SheetRequest request;
    if (int rc = parse_sheet_args(book, args, request)) return rc;

    switch (request.mode) {
        case SHEET_CREATE:
            if (book->flags[OXLS_FLAG_CREATE] != FLAG_ON)
                return ozw_set_error(book, OXLS_ERR_ARGUMENT, OXLS_02209_SHEET);
            return append_sheet(book, request.name.empty() ? default_sheet_name(book) : request.name, -1);
        case SHEET_TEMPLATE: {
            if (!request.has_template) return ozw_set_error(book, OXLS_ERR_ARGUMENT, OXLS_02322);
            int source = find_sheet(book, request.template_name);
            if (source < 0) {
                std::string template_shown = orb_convert(CS_UTF8, CS_SJIS, request.template_name);
                return ozw_set_error(book, OXLS_ERR_NOT_FOUND, OXLS_03002, template_shown.c_str());
            }
            return append_sheet(book, request.name.empty() ? default_sheet_name(book) : request.name, source);
        }
        default: {   // READ, UPDATE
            int index = find_sheet(book, request.name);
            if (index < 0) {
                std::string shown = orb_convert(CS_UTF8, CS_SJIS, request.name);
                return ozw_set_error(book, OXLS_ERR_NOT_FOUND, OXLS_02320, shown.c_str());
            }
            book->current_sheet = index;
            return OXLS_OK;
        }
    }
}

extern "C" int OXLS_open_sheet2(XLS_BOOK *book, int sheet_index) {
    if (!book) return OXLS_ERR_ARGUMENT;
    ozw_set_code(book, OXLS_OK);
    if (sheet_index < 0 || sheet_index >= book->sheet_count) return ozw_set_code(book, OXLS_ERR_NOT_FOUND);
    book->current_sheet = sheet_index;
    return OXLS_OK;
}

extern "C" int OXLS_sheet_num(XLS_BOOK *book) {
    if (!book) return 0;
    ozw_set_code(book, OXLS_OK);
    return book->sheet_count;
}

extern "C" int OXLS_sheet_name(XLS_BOOK *book, int sheet_index, char *name_out) {
    if (!book || !name_out) return OXLS_ERR_ARGUMENT;
    ozw_set_code(book, OXLS_OK);
    name_out[0] = '\0';
    if (sheet_index < 0 || sheet_index >= book->sheet_count) return ozw_set_code(book, OXLS_ERR_NOT_FOUND);
    const char *name = book->sheets[sheet_index].name;
    // A UTF-8 name never grows when converted to Shift-JIS or EUC-JP.
    std::string converted = book->kind[0] == 8 ? std::string(name) : orb_convert(CS_UTF8, ozw_charset(book), name);
    std::snprintf(name_out, XLS_SHEET_LEN + 1, "%s", converted.c_str());
    return OXLS_OK;
}

extern "C" int OXLS_row_num(XLS_BOOK *book) {
    if (!book) return 0;
    ozw_set_code(book, OXLS_OK);
    const XLS_SHEET *sheet = current_sheet(book);
    return sheet ? sheet->row_count : 0;
}

extern "C" int OXLS_column_num(XLS_BOOK *book, int row_index) {
    if (!book) return 0;
    ozw_set_code(book, OXLS_OK);
    const XLS_SHEET *sheet = current_sheet(book);
    if (!sheet || row_index < 0 || row_index >= sheet->row_count) return 0;
    const XLS_ROW &row = sheet->rows[row_index];
    for (int column = row.cell_count - 1; column >= 0; --column) {
        if (row.cells[column].type >= 0) return column + 1;
    }
    return 0;
}
