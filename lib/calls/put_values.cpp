// OXLS_put_values: the items of a values string applied left to right to
// the current sheet, and OXLS_is_property.
#include "book_record.h"
#include "messages.h"
#include "cell_name.h"
#include "result_codes.h"
#include "work_area.h"
#include "caller_text.h"
#include "cell_store.h"
#include "property_engine.h"
#include "property_keywords.h"
#include "property_parser.h"
#include "values_string.h"

#include <new>
#include <optional>
#include <string>

namespace {

int refuse(XLS_BOOK *book, int code, OxlsMessage message, const std::string &caller_text) {
    return ozw_set_error(book, code, message, ozw_caller_to_sjis(book, caller_text).c_str());
}

// A key that is no cell name: a property.
int put_property(XLS_BOOK *book, const std::string &key, const std::string &value) {
    std::string key_utf8;
    std::string value_utf8;
    if (ozw_caller_to_utf8(book, key, key_utf8) != 0 || ozw_caller_to_utf8(book, value, value_utf8) != 0)
        return ozw_set_error(book, OXLS_ERR_MEMORY, OXLS_00002);
    ParsedProperty property;
    if (ozw_parse_property(book, key_utf8, property) != 0) return ozw_set_code(book, OXLS_ERR_ARGUMENT);
    if (!property.has_keyword)
        return refuse(book, OXLS_ERR_ARGUMENT, property.target.range ? OXLS_02100 : OXLS_02200, key);
    // Variables belong to the template features, which a new book has off.
    if (property.code == PROPERTY_VARIABLE) return refuse(book, OXLS_ERR_ARGUMENT, OXLS_02200, key);
    if (!book->flags[OXLS_FLAG_CREATE]) return refuse(book, OXLS_ERR_ARGUMENT, OXLS_02209_KEYWORD, key);
    int rc = ozw_apply_property(book, property, key_utf8, ozw_unquoted(value_utf8));
    return rc == OZW_LIMIT_REACHED ? ozw_set_code(book, OXLS_ERR_BUFFER) : rc;
}

// One item: key, "=", value.  0, LEX_END when no item is left, or the
// failing code.
int put_item(XLS_BOOK *book, ArgLexer &lexer) {
    std::string key;
    lexer.limit = VALUES_KEY_LIMIT;
    int rc = ozw_lex_next(lexer, key);
    if (rc == LEX_END) return LEX_END;
    if (rc != 0) return ozw_set_error(book, OXLS_ERR_BUFFER, OXLS_03009, static_cast<int>(VALUES_KEY_LIMIT), "key");

    // A "Sheet!" prefix makes that sheet current for this item only.
    int current = book->current_sheet;
    std::string_view cell_part = key;
    std::string key_utf8;
    std::string sheet;
    std::string_view rest;
    if (key.find('!') != std::string::npos && ozw_caller_to_utf8(book, key, key_utf8) == 0 &&
        ozw_split_sheet_prefix(key_utf8, sheet, rest)) {
        int index = ozw_find_sheet(book, sheet);
        if (index >= 0) {
            book->current_sheet = index;
            cell_part = rest;
        }
    }
    bool is_cell = ozw_parse_cell_name(cell_part).has_value();
    std::string cell_name(cell_part);

    std::string equals;
    if (ozw_lex_next(lexer, equals) != 0) {
        book->current_sheet = current;
        return refuse(book, OXLS_ERR_ARGUMENT, OXLS_02300, key);
    }
    if (equals != "=") {
        book->current_sheet = current;
        return refuse(book, OXLS_ERR_ARGUMENT, OXLS_02303, equals);
    }
    std::string value;
    lexer.limit = VALUES_VALUE_LIMIT;
    if (ozw_lex_value(lexer, value) != 0) {
        book->current_sheet = current;
        return refuse(book, OXLS_ERR_ARGUMENT, OXLS_02300, key);
    }
    if (is_cell) {
        rc = OXLS_put_cell(book, cell_name.c_str(), value.c_str(), 0);
        book->current_sheet = current;
        return rc;
    }
    book->current_sheet = current;
    return put_property(book, key, value);
}

}  // namespace

int OXLS_put_values(XLS_BOOK *book, const char *values) {
    if (!book) return OXLS_ERR_ARGUMENT;
    ozw_set_code(book, 0);
    if (!values) return 0;
    if (!ozw_book_is_open(book)) return ozw_set_code(book, OXLS_ERR_ARGUMENT);
    ArgLexer lexer;
    lexer.text = values;
    lexer.charset = ozw_charset(book);
    lexer.variant = LEX_VALUES;
    try {
        int rc;
        while ((rc = put_item(book, lexer)) == 0) {
        }
        return rc == LEX_END ? 0 : ozw_set_code(book, rc);
    } catch (const std::bad_alloc &) {
        return ozw_set_error(book, OXLS_ERR_MEMORY, OXLS_00002);
    }
}

int OXLS_is_property(XLS_BOOK *book, const char *property, int *value_out) {
    if (!book) return OXLS_ERR_ARGUMENT;
    ozw_set_code(book, 0);
    if (value_out) *value_out = -1;
    if (!property) return ozw_set_code(book, OXLS_ERR_ARGUMENT);
    try {
        std::string key;
        if (ozw_caller_to_utf8(book, property, key) != 0) return ozw_set_error(book, OXLS_ERR_MEMORY, OXLS_00002);
        ParsedProperty parsed;
        if (ozw_parse_property(book, key, parsed) != 0) return ozw_set_code(book, OXLS_ERR_ARGUMENT);
        if (value_out && parsed.has_keyword) *value_out = parsed.code;
        return 0;
    } catch (const std::bad_alloc &) {
        return ozw_set_error(book, OXLS_ERR_MEMORY, OXLS_00002);
    }
}
