// A book set up for writing without going through OXLS_open_book: a new
// record with a work area whose caller character set is UTF-8, so tests can
// pass Japanese texts as they are.
#pragma once

#include "book_record.h"
#include "charset.h"
#include "work_area.h"

#include <memory>

struct WriteTestBook {
    WriteTestBook() : book(std::make_unique<XLS_BOOK>()), work(std::make_unique<OzwWork>()) {
        ozw_init_book(book.get(), BOOK_KIND_XLSX);
        work->charset = CS_UTF8;
        book->work = work.get();
        book->thread_no = -1;
    }
    ~WriteTestBook() { ozw_release_book(book.get()); }
    XLS_BOOK *get() { return book.get(); }

    std::unique_ptr<XLS_BOOK> book;
    std::unique_ptr<OzwWork> work;
};
