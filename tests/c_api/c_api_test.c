/* A plain C program on the exported header alone: books opened in create
 * mode, sheets added and named, the argument-string errors with their exact
 * texts in Shift-JIS and in UTF-8, and the calls the library only accepts. */
#include "oxls.h"

#include <stdio.h>
#include <string.h>

static int failures = 0;

#define CHECK(condition)                                                    \
    do {                                                                    \
        if (!(condition)) {                                                 \
            fprintf(stderr, "%s:%d: failed: %s\n", __FILE__, __LINE__, #condition); \
            ++failures;                                                     \
        }                                                                   \
    } while (0)

/* Message texts in Shift-JIS ("%s" where the offending value goes). */
static const char SJIS_02200[] = "OXLS-02200 \203T\203|\201[\203g\212O\202\314\203L\201[\203\217\201[\203h\202\305\202\267(\"%s\")\201B";
static const char SJIS_02303[] = "OXLS-02303 \210\370\220\224\227\361\202\314\203C\203R\201[\203\213(=)\225\224\225\252\202\252\225s\220\263\202\305\202\267(\"%s\")\201B";
static const char SJIS_00005[] = "OXLS-00005 \203t\203@\203C\203\213\226\274\202\252\222\267\202\267\202\254\202\334\202\267\201B";
static const char SJIS_00901[] = "OXLS-00901 \214\304\202\321\217o\202\265\221\244(\"%s\")\202\306\213\244\227L\203\211\203C\203u\203\211\203\212\221\244(\"2.2.0.0\")\202\305\203o\201[\203W\203\207\203\223\202\252\210\331\202\310\202\350\202\334\202\267\201B";
static const char SJIS_00902[] = "OXLS-00902 \215\134\221\242\221\314XLS_BOOK\202\314\203T\203C\203Y\202\252\210\331\202\310\202\350\202\334\202\267\201B(\"%s\")\201B";
static const char SJIS_SIZES_100[] = "CALL\221\244:100byte DLL\221\244:108832byte";
static const char SJIS_02321[] = "OXLS-02321 \212\371\202\311\221\266\215\335\202\265\202\304\202\242\202\351\203V\201[\203g\226\274\202\305\202\267(\"%s\")\201B";
static const char SJIS_03101[] = "OXLS-03101 Excel\203t\203@\203C\203\213\203I\201[\203v\203\223\203G\203\211\201[(\"%s\")\201B";

/* Opens with `args`, expects `code` and the message `format` filled with
 * `value`, then frees the book. */
static void expect_open_error(const char *args, int code, const char *format, const char *value) {
    static XLS_BOOK book;
    char expected[1024];
    snprintf(expected, sizeof expected, format, value);
    int rc = OXLS_open_book(&book, args);
    if (rc != code || OXLS_error_code(&book) != code || strcmp(OXLS_error_mesg(&book), expected) != 0) {
        fprintf(stderr, "open_book(%s): rc=%d code=%d text=%s\n", args, rc, OXLS_error_code(&book),
                OXLS_error_mesg(&book));
        ++failures;
    }
    CHECK(OXLS_free_book(&book) == 0);
    CHECK(book.work == NULL);
}

static void create_mode_and_sheets(void) {
    static XLS_BOOK book;
    char name[128];
    char expected[256];
    size_t length;

    CHECK(sizeof(XLS_BOOK) == XLS_BOOK_SIZE);
    CHECK(OXLS_open_book(&book, "EXCEL=c_api_book MODE=CREATE VERSION=2.2.0.0 XLS_BOOK=\"108832\"") == 0);
    length = strlen(book.file_name);
    CHECK(book.file_name[0] == '/');
    CHECK(length > 16 && strcmp(book.file_name + length - 16, "/c_api_book.xlsx") == 0);
    CHECK(book.thread_no == -1);
    CHECK(OXLS_sheet_num(&book) == 0);
    CHECK(OXLS_row_num(&book) == 0);

    CHECK(OXLS_open_sheet(&book, "SHEET_NAME=\"Data\"") == 0);
    CHECK(OXLS_open_sheet(&book, "MODE=CREATE") == 0);
    CHECK(OXLS_sheet_num(&book) == 2);
    CHECK(book.current_sheet == 1);
    CHECK(OXLS_sheet_name(&book, 1, name) == 0 && strcmp(name, "Sheet2") == 0);

    CHECK(OXLS_open_sheet(&book, "SHEET_NAME=Data") == OXLS_ERR_ARGUMENT);
    snprintf(expected, sizeof expected, SJIS_02321, "Data");
    CHECK(strcmp(OXLS_error_mesg(&book), expected) == 0);
    CHECK(OXLS_sheet_num(&book) == 2);

    CHECK(OXLS_open_sheet2(&book, 0) == 0 && book.current_sheet == 0);

    CHECK(OXLS_close_book(&book, NULL) == 0);
    CHECK(book.work == NULL);
    CHECK(book.sheets == NULL);
}

static void argument_errors(void) {
    char long_name[400];
    char args[450];

    expect_open_error("EXCEL=a.xlsx COLOR=red", OXLS_ERR_ARGUMENT, SJIS_02200, "COLOR");
    expect_open_error("EXCEL \"a.xlsx\"", OXLS_ERR_ARGUMENT, SJIS_02303, "\"a.xlsx\"");
    expect_open_error("MODE=\"UNLOAD\"", OXLS_ERR_ARGUMENT, SJIS_02200, "\"UNLOAD\"");
    expect_open_error("VERSION=2.2.0.1", OXLS_ERR_FAILED, SJIS_00901, "2.2.0.1");
    expect_open_error("XLS_BOOK=100", OXLS_ERR_FAILED, SJIS_00902, SJIS_SIZES_100);

    memset(long_name, 'n', 300);
    long_name[300] = '\0';
    snprintf(args, sizeof args, "EXCEL=\"%s\"", long_name);
    expect_open_error(args, OXLS_ERR_ARGUMENT, SJIS_00005, "");

    /* With CHARSET=UTF8 keys are read, and texts handed back, in UTF-8. */
    expect_open_error("CHARSET=UTF8 VERSION=3", OXLS_ERR_FAILED,
                      "OXLS-00901 呼び出し側(\"%s\")と共有ライブラリ側(\"2.2.0.0\")でバージョンが異なります。", "3");
    expect_open_error("CHARSET=utf8 ブック=\"x\" モード=新規 色=1", OXLS_ERR_ARGUMENT,
                      "OXLS-02200 サポート外のキーワードです(\"%s\")。", "色");
    expect_open_error("CHARSET=UTF8 XLS_BOOK=100", OXLS_ERR_FAILED,
                      "OXLS-00902 構造体XLS_BOOKのサイズが異なります。(\"%s\")。",
                      "CALL側:100byte DLL側:108832byte");
}

static void unreadable_files(void) {
    static XLS_BOOK book;
    char expected[512];
    const char *missing = "/nonexistent-zs-folder/missing.xlsx";
    char args[128];
    snprintf(args, sizeof args, "EXCEL=\"%s\" MODE=UNLOAD", missing);
    CHECK(OXLS_open_book(&book, args) == OXLS_ERR_OPEN);
    CHECK(OXLS_error_code(&book) == OXLS_ERR_OPEN);
    snprintf(expected, sizeof expected, SJIS_03101, missing);
    CHECK(strcmp(OXLS_error_mesg(&book), expected) == 0);
    CHECK(book.work == NULL); /* released by the failed open */
}

static void accepted_and_unsupported_calls(void) {
    static XLS_BOOK book;
    char version[32];
    int type = 0;
    const char zip_header[16] = {'P', 'K', 3, 4};

    CHECK(OXLS_open_book(&book, NULL) == 0);
    CHECK(strstr(book.file_name, "Book1.xlsx") != NULL);
    CHECK(OXLS_version(&book, version) == 0 && strcmp(version, "2.2.0.0") == 0);
    CHECK(OXLS_write_row(&book, 1) == OXLS_NOT_SUPPORTED && OXLS_error_code(&book) == OXLS_NOT_SUPPORTED);
    CHECK(OXLS_put_image_memory(&book, "FILE=x.png") == OXLS_NOT_SUPPORTED);
    CHECK(OXLS_put_variable(&book, "A=1") == OXLS_NOT_SUPPORTED);
    CHECK(OXLS_read_file(&book, "FILE=x.txt CHARSET=SJIS") == OXLS_NOT_SUPPORTED);
    CHECK(OXLS_open_datasource(&book, "x") == 0 && OXLS_error_code(&book) == 0);
    CHECK(OXLS_paste_datasource(&book, NULL) == 0);
    CHECK(OXLS_close_datasource(&book, NULL) == 0);
    CHECK(OXLS_set_property() == 0);
    CHECK(OXLS_swap_book(0) == 0 && OXLS_swap_book(1) == 0);
    CHECK(OXLS_close_book(&book, "DESTROY") == 0);
    CHECK(OXLS_close_book(&book, NULL) == 0); /* a second close finds nothing left */

    CHECK(orb_file_type(9999, zip_header, &type) == 0 && type == 301);
    CHECK(orb_zip_on_memory(1) == 0);
}

int main(void) {
    create_mode_and_sheets();
    argument_errors();
    unreadable_files();
    accepted_and_unsupported_calls();
    if (failures) fprintf(stderr, "%d checks failed\n", failures);
    return failures ? 1 : 0;
}
