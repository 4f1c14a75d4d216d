/* A plain C program on the exported header alone: books opened in create
 * mode, sheets added and named, argument-string errors with their texts,
 * and the calls the library only accepts. */
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
    size_t length;

    CHECK(sizeof(XLS_BOOK) == XLS_BOOK_SIZE);
    CHECK(OXLS_open_book(&book, "EXCEL=c_api_book MODE=CREATE VERSION=2.2.0.0 XLS_BOOK=\"108832\"") == 0);
    length = strlen(book.file_name);
    CHECK(book.file_name[0] == '/');
    CHECK(length > 16 && strcmp(book.file_name + length - 16, "/c_api_book.xlsx") == 0);
    CHECK(OXLS_sheet_num(&book) == 0);

    CHECK(OXLS_open_sheet(&book, "SHEET_NAME=\"Data\"") == 0);
    CHECK(OXLS_open_sheet(&book, "MODE=CREATE") == 0);
    CHECK(OXLS_sheet_num(&book) == 2);
    CHECK(book.current_sheet == 1);
    CHECK(OXLS_sheet_name(&book, 1, name) == 0 && strcmp(name, "Sheet2") == 0);

    CHECK(OXLS_open_sheet(&book, "SHEET_NAME=Data") == OXLS_ERR_ARGUMENT);
    CHECK(OXLS_sheet_num(&book) == 2);

    CHECK(OXLS_open_sheet2(&book, 0) == 0 && book.current_sheet == 0);

    CHECK(OXLS_close_book(&book, NULL) == 0);
    CHECK(book.work == NULL);
    CHECK(book.sheets == NULL);
}

/* The texts a caller gets back are in its character set. */
static void argument_errors(void) {
    expect_open_error("CHARSET=UTF8 VERSION=3", OXLS_ERR_FAILED,
                      "OXLS-00901 呼び出し側(\"%s\")と共有ライブラリ側(\"2.2.0.0\")でバージョンが異なります。", "3");
    expect_open_error("CHARSET=utf8 ブック=\"x\" モード=新規 色=1", OXLS_ERR_ARGUMENT,
                      "OXLS-02200 サポート外のキーワードです(\"%s\")。", "色");
    expect_open_error("CHARSET=UTF8 EXCEL=\"/nonexistent-zs-folder/missing.xlsx\" MODE=UNLOAD", OXLS_ERR_OPEN,
                      "OXLS-03101 Excelファイルオープンエラー(\"%s\")。", "/nonexistent-zs-folder/missing.xlsx");
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
    accepted_and_unsupported_calls();
    if (failures) fprintf(stderr, "%d checks failed\n", failures);
    return failures ? 1 : 0;
}
