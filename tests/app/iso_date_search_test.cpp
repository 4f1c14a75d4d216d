// A date a package stores as ISO 8601 text (<c t="d">) is found as the
// same date stored as a number is: by its display text, by what its format
// shows and by the form 2016/3/25, in books counting from 1900 and 1904
// (scripts/make_fixtures_iso_dates.py writes the same cells both ways).
#include "engine/search_run.h"

#include "fake_front_end.h"
#include "test_folder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>

namespace fs = std::filesystem;
using namespace zscan;

TEST(IsoDateSearch, IsoDatesAreFoundAsNumberDatesAre) {
    const TempFolder work("zscan_iso_dates");
    for (const char *words : {"2009/6/15", "15/06/2009", "2009-06-15", "2009/6/15 13:05", "13:05", "June"}) {
        SearchContext context;
        init_search_context(context);
        context.jobs = 1;
        context.temp_folder = work.path().string();
        context.target_folder = fs::canonical(fs::path(ZS_TEST_DATA_DIR) / ".." / "app" / "data" / "iso_dates").string();
        context.search_words_text = words;
        FakeFrontEnd front_end;
        run_search(context, front_end);
        std::map<std::string, std::vector<std::string>> hits;   // "[cell] text" by book
        for (const std::string &line : front_end.lines) {
            const size_t book_end = line.find("][Dates][");
            hits[fs::path(line.substr(1, book_end - 1)).filename().string()].push_back(line.substr(book_end + 8));
        }
        for (const std::string year : {"1900", "1904"}) {
            EXPECT_FALSE(hits["number_" + year + ".xlsx"].empty()) << words << " in the " << year << " book";
            EXPECT_EQ(hits["iso_" + year + ".xlsx"], hits["number_" + year + ".xlsx"]) << words << " in the " << year << " book";
        }
        if (std::string(words) == "2009/6/15") {
            EXPECT_EQ(hits["iso_1900.xlsx"].front(), "[A1] 15/06/2009");   // under dd/mm/yyyy
        }
    }
}
