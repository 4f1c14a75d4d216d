// Books read on several threads at once, each through its own record,
// share nothing: every thread gets exactly the cell texts a lone reader
// gets.  Run under ThreadSanitizer as well (scripts/build.sh tsan).
#include "each_cell_text.h"
#include "oxls.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <latch>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace {

namespace fs = std::filesystem;

// Every cell text of every sheet, each line "sheet!cell text".  The thread
// number, when given, is passed on with THREAD=.
std::string all_texts(const std::string &path, int thread_no) {
    auto book = std::make_unique<XLS_BOOK>();
    std::string arguments = "CHARSET=UTF8 EXCEL=\"" + path + "\" MODE=UNLOAD";
    if (thread_no >= 0) arguments += " THREAD=" + std::to_string(thread_no);
    int rc = OXLS_open_book(book.get(), arguments.c_str());
    if (rc != 0) return "open failed: " + std::to_string(rc);
    std::string texts;
    each_cell_text(book.get(), [&](int sheet, int, int, const char *name, const char *text) {
        texts += std::string(book->sheets[sheet].name) + "!" + name + " " + text + "\n";
    });
    OXLS_close_book(book.get(), nullptr);
    return texts;
}

TEST(ParallelBooks, EachThreadReadsItsOwnBookRight) {
    // Packages whose parts have the same names, and old books.
    const std::vector<std::string> names = {
        "generated/openpyxl_japanese_mixed.xlsx", "generated/libreoffice_japanese_mixed.xlsx",
        "generated/gnumeric_japanese_mixed.xlsx",  "xlsxwriter/date_examples01.xlsx",
        "generated/gnumeric_japanese_mixed.xls",   "generated/libreoffice_japanese_mixed.xls",
        "apache-poi/12843-2.xls"};
    std::vector<std::string> paths, expected;
    for (const std::string &name : names) {
        paths.push_back(std::string(ZS_CORPUS_DIR) + "/" + name);
        if (!fs::exists(paths.back())) GTEST_SKIP() << "corpus file missing: " << paths.back();
        expected.push_back(all_texts(paths.back(), -1));
        ASSERT_NE(expected.back().find('!'), std::string::npos) << name << ": " << expected.back();
    }

    // Every thread reads its book several times, all starting together;
    // only the last one passes a thread number.
    constexpr int kRounds = 5;
    std::vector<std::vector<std::string>> got(paths.size());
    std::latch start(static_cast<std::ptrdiff_t>(paths.size()));
    std::vector<std::thread> threads;
    for (size_t i = 0; i < paths.size(); ++i) {
        threads.emplace_back([&, i] {
            start.arrive_and_wait();
            for (int round = 0; round < kRounds; ++round)
                got[i].push_back(all_texts(paths[i], i + 1 == paths.size() ? static_cast<int>(i) : -1));
        });
    }
    for (std::thread &thread : threads) thread.join();
    for (size_t i = 0; i < paths.size(); ++i)
        for (const std::string &texts : got[i]) EXPECT_EQ(texts, expected[i]) << names[i];
}

}  // namespace
