// The keyword loop of OXLS_open_book.
#include "open_book_args.h"

#include "arg_items.h"
#include "book_file_name.h"
#include "charset.h"
#include "messages.h"
#include "work_area.h"

#include <climits>
#include <cstdio>
#include <cstdlib>

namespace {

enum OpenKey {
    KEY_BOOK,
    KEY_MODE,
    KEY_LIST,
    KEY_CHARSET,
    KEY_VERSION,
    KEY_XLS_BOOK,
    KEY_READ_MEMORY,
    KEY_WRITE_MEMORY,
    KEY_TEMP_WORKBOOK_PATH,
    KEY_THREAD,
    KEY_PASSWORD,
};

constexpr ArgKeyword OPEN_KEYS[] = {
    {"EXCEL", KEY_BOOK},
    {"BOOK", KEY_BOOK},
    {"ブック", KEY_BOOK},
    {"MODE", KEY_MODE},
    {"モード", KEY_MODE},
    {"LIST", KEY_LIST},
    {"リスト", KEY_LIST},
    {"CHARSET", KEY_CHARSET},
    {"キャラクタセット", KEY_CHARSET},
    {"VERSION", KEY_VERSION},
    {"XLS_BOOK", KEY_XLS_BOOK},
    {"READ_MEMORY", KEY_READ_MEMORY},
    {"WRITE_MEMORY", KEY_WRITE_MEMORY},
    {"TEMP_WORKBOOK_PATH", KEY_TEMP_WORKBOOK_PATH},
    {"THREAD", KEY_THREAD},
    {"PASSWORD", KEY_PASSWORD},
    {"パスワード", KEY_PASSWORD},
};

constexpr ArgKeyword MODES[] = {
    {"READ", MODE_READ},         {"読込", MODE_READ},          {"読み込み", MODE_READ},
    {"CREATE", MODE_CREATE},     {"新規", MODE_CREATE},        {"UPDATE", MODE_UPDATE},
    {"更新", MODE_UPDATE},       {"LOAD", MODE_LOAD},          {"ロード", MODE_LOAD},
    {"UNLOAD", MODE_UNLOAD},     {"アンロード", MODE_UNLOAD},  {"LIST", MODE_LIST},
    {"一覧", MODE_LIST},         {"UNLOAD_NAME", MODE_UNLOAD_NAME}, {"名前アンロード", MODE_UNLOAD_NAME},
};

constexpr ArgKeyword CHARSETS[] = {{"SJIS", CS_SJIS}, {"EUC", CS_EUC}, {"UTF8", CS_UTF8}};
constexpr ArgKeyword TRUE_WORD[] = {{"TRUE", 1}};

// Plain decimal conversion: leading blanks and a sign, then digits; no
// digits give 0, values beyond an int are held at its limits.
int decimal(const std::string &text) {
    long value = std::strtol(text.c_str(), nullptr, 10);
    if (value > INT_MAX) return INT_MAX;
    if (value < INT_MIN) return INT_MIN;
    return static_cast<int>(value);
}

std::string sjis(XLS_BOOK *book, const std::string &caller_text) {
    return ozw_from_caller(book, CS_SJIS, caller_text);
}

// Applies one item; 0 or the call's result code.
int apply(XLS_BOOK *book, int key, const std::string &value, OpenRequest &request) {
    OzwWork *work = ozw_work(book);
    switch (key) {
        case KEY_BOOK:
            request.book_name = ozw_from_caller(book, ozw_path_charset(), ozw_unquoted(value));
            return 0;
        case KEY_MODE: {
            // A quoted word matches no mode.
            int mode = ozw_match_caller_keyword(book, value, MODES);
            if (mode < 0) return ozw_set_error(book, OXLS_ERR_ARGUMENT, OXLS_02200, sjis(book, value).c_str());
            request.mode = mode;
            return 0;
        }
        case KEY_LIST:
            request.list_path = ozw_from_caller(book, ozw_path_charset(), ozw_unquoted(value));
            if (request.list_path.size() > XLS_PATH_LEN) return ozw_set_error(book, OXLS_ERR_ARGUMENT, OXLS_00005);
            return 0;
        case KEY_CHARSET: {
            int charset = ozw_match_caller_keyword(book, ozw_unquoted(value), CHARSETS);
            if (charset > 0) work->charset = charset;
            return 0;
        }
        case KEY_VERSION:
            if (value != OXLS_VERSION)
                return ozw_set_error(book, OXLS_ERR_FAILED, OXLS_00901, sjis(book, value).c_str());
            return 0;
        case KEY_XLS_BOOK: {
            int size = decimal(std::string(ozw_unquoted(value)));
            if (size == XLS_BOOK_SIZE) return 0;
            char sizes[80];
            std::snprintf(sizes, sizeof sizes, orb_convert(CS_UTF8, CS_SJIS, "CALL側:%dbyte DLL側:%dbyte").c_str(),
                          size, XLS_BOOK_SIZE);
            return ozw_set_error(book, OXLS_ERR_FAILED, OXLS_00902, sizes);
        }
        case KEY_READ_MEMORY:
            request.read_memory = ozw_match_keyword(value, TRUE_WORD) == 1;
            return 0;
        case KEY_WRITE_MEMORY:
            request.write_memory = ozw_match_keyword(value, TRUE_WORD) == 1;
            return 0;
        case KEY_TEMP_WORKBOOK_PATH:
            request.temp_workbook_path = ozw_from_caller(book, ozw_path_charset(), ozw_unquoted(value));
            if (request.temp_workbook_path.size() > TEMP_WORKBOOK_PATH_MAX)
                return ozw_set_error(book, OXLS_ERR_ARGUMENT, OXLS_00005);
            return 0;
        case KEY_THREAD:
            request.thread_no = decimal(value);
            return 0;
        case KEY_PASSWORD:
            request.passwords.push_back(ozw_from_caller(book, CS_UTF8, ozw_unquoted(value)));
            return 0;
    }
    return 0;
}

}  // namespace

int ozw_parse_open_args(XLS_BOOK *book, const char *args, OpenRequest &request) {
    ArgItems items(book, args);
    std::string key, value;
    while (items.next_key(key)) {
        int id = ozw_match_caller_keyword(book, key, OPEN_KEYS);
        if (id < 0) return ozw_set_error(book, OXLS_ERR_ARGUMENT, OXLS_02200, sjis(book, key).c_str());
        if (int rc = items.read_value(value)) return rc;
        if (int rc = apply(book, id, value, request)) return rc;
    }
    return 0;
}
