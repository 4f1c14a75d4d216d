// Books for the writer tests: a book set up for writing without going
// through OXLS_open_book (a new record with a work area whose caller
// character set is UTF-8, so tests can pass Japanese texts as they are), and
// the rows the search application writes into its result book.
#pragma once

#include "book_record.h"
#include "charset.h"
#include "oxls.h"
#include "work_area.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>

// The header row of the result book: column widths, titles, their style.
constexpr const char *RESULT_HEADER =
    "A.幅=50 B.幅=10 C.幅=20 D.幅=100 A1=セル内容 B1=セル名 C1=シート名 D1=パス(フォルダリンク) "
    "A1:D1.配置=中中 A1:D1.フォント.スタイル=強調";

struct ResultHit {
    const char *text, *cell, *sheet, *path, *folder;
};
constexpr ResultHit RESULT_HITS[] = {
    {"売上合計", "B3", "売上", "/data/a.xlsx", "/data"},
    {"He said \"hi\" & <left>", "C10", "Sheet1", "/data/sub dir/b c.xlsx", "/data/sub dir"},
    {"改行なし、全角　空白", "AA100", "集計 2", "/data/sub dir/d.xlsm", "/data/sub dir"},
};

// The rows the search application writes: the header, then one values
// string per hit and its two links.
inline void put_result_rows(XLS_BOOK *book) {
    ASSERT_EQ(OXLS_put_values(book, RESULT_HEADER), 0) << OXLS_error_mesg(book);
    int row = 2;
    for (const ResultHit &hit : RESULT_HITS) {
        char values[1024];
        std::snprintf(values, sizeof values, "A%d=\"%s\" B%d=\"%s\" C%d=\"%s\" D%d=\"%s\"", row, hit.text, row,
                      hit.cell, row, hit.sheet, row, hit.path);
        ASSERT_EQ(OXLS_put_values(book, values), 0) << OXLS_error_mesg(book);
        const std::string a = "A" + std::to_string(row), d = "D" + std::to_string(row);
        ASSERT_EQ(OXLS_book_hyperlink(book, a.c_str(), hit.path, hit.sheet, hit.cell), 0);
        ASSERT_EQ(OXLS_external_hyperlink(book, d.c_str(), hit.folder), 0);
        ++row;
    }
}

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
