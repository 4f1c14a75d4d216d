/* A plain C program on the exported header alone: books opened in create
 * mode, sheets added and named with the error of a name given twice, and
 * the calls the library only accepts.  (The texts of the argument errors
 * are checked in the tests of the calls.) */
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
    CHECK(OXLS_error_code(&book) == OXLS_ERR_ARGUMENT && strstr(OXLS_error_mesg(&book), "OXLS-02321") != NULL);
    CHECK(OXLS_sheet_num(&book) == 2);

    CHECK(OXLS_open_sheet2(&book, 0) == 0 && book.current_sheet == 0);

    CHECK(OXLS_close_book(&book, NULL) == 0);
    CHECK(book.work == NULL);
    CHECK(book.sheets == NULL);
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
    accepted_and_unsupported_calls();
    if (failures) fprintf(stderr, "%d checks failed\n", failures);
    return failures ? 1 : 0;
}
