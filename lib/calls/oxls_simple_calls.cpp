// The small calls of the interface: the version, swapping the memory-file
// table, and the calls of features this library accepts but does not carry
// out (data sources do nothing; the others report OXLS_NOT_SUPPORTED).
#include "messages.h"
#include "mfile.h"
#include "oxls.h"

#include <cstdio>

namespace {

int not_supported(XLS_BOOK *book) {
    if (book) ozw_set_code(book, OXLS_NOT_SUPPORTED);
    return OXLS_NOT_SUPPORTED;
}

int accepted(XLS_BOOK *book) {
    if (book) ozw_set_code(book, OXLS_OK);
    return OXLS_OK;
}

}  // namespace

extern "C" int OXLS_version(XLS_BOOK *book, char *version_out) {
    if (!version_out) return book ? ozw_set_code(book, OXLS_ERR_ARGUMENT) : OXLS_ERR_ARGUMENT;
    std::sprintf(version_out, "%s", OXLS_VERSION);
    return accepted(book);
}

extern "C" int OXLS_swap_book(int direction) {
    mcopy(direction == 0 ? 0 : 1);
    return OXLS_OK;
}

extern "C" int OXLS_set_property(void) { return OXLS_OK; }

extern "C" int OXLS_open_datasource(XLS_BOOK *book, const char *) { return accepted(book); }
extern "C" int OXLS_paste_datasource(XLS_BOOK *book, const char *) { return accepted(book); }
extern "C" int OXLS_close_datasource(XLS_BOOK *book, const char *) { return accepted(book); }

extern "C" int OXLS_write_row(XLS_BOOK *book, int) { return not_supported(book); }
extern "C" int OXLS_put_image_memory(XLS_BOOK *book, const char *) { return not_supported(book); }
extern "C" int OXLS_put_variable(XLS_BOOK *book, const char *) { return not_supported(book); }
extern "C" int OXLS_read_file(XLS_BOOK *book, const char *) { return not_supported(book); }
