// A date a package stores as ISO 8601 text (<c t="d">) is found as the
// same date stored as a number is: by its display text, by what its format
// shows and by the form 2016/3/25, in books counting from 1900 and 1904.
// The books (scripts/make_fixtures_iso_dates.py) hold the same cells, as
// ISO texts and as numbers.
#include "engine/search_run.h"

#include "fake_front_end.h"
#include "test_folder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>

namespace fs = std::filesystem;
using namespace zscan;

namespace {

const fs::path kBooks = fs::path(ZS_TEST_DATA_DIR) / ".." / "app" / "data" / "iso_dates";

// The hits of a search for `words`, "[cell] text" by book file name.
std::map<std::string, std::vector<std::string>> hits_by_book(const std::string &words) {
    const TempFolder work("zscan_iso_dates");
    SearchContext context;
    init_search_context(context);
    context.jobs = 1;
    context.temp_folder = work.path().string();
    context.target_folder = fs::canonical(kBooks).string();
    context.search_words_text = words;
    FakeFrontEnd front_end;
    run_search(context, front_end);
    std::map<std::string, std::vector<std::string>> hits;
    for (const std::string &line : front_end.lines) {
        const size_t book_end = line.find("][Dates][");
        const std::string book = fs::path(line.substr(1, book_end - 1)).filename().string();
        hits[book].push_back(line.substr(book_end + 8));
    }
    return hits;
}

TEST(IsoDateSearch, IsoDatesAreFoundAsNumberDatesAre) {
    for (const char *words : {"2009/6/15", "15/06/2009", "2009-06-15", "2009/6/15 13:05", "13:05", "June"}) {
        auto hits = hits_by_book(words);
        for (const char *year : {"1900", "1904"}) {
            const std::vector<std::string> &numbers = hits["number_" + std::string(year) + ".xlsx"];
            EXPECT_FALSE(numbers.empty()) << words << " in the " << year << " book";
            EXPECT_EQ(hits["iso_" + std::string(year) + ".xlsx"], numbers) << words << " in the " << year << " book";
        }
    }
}

TEST(IsoDateSearch, DayUnderDayMonthYearIsFoundByTheYearMonthDayForm) {
    const auto hits = hits_by_book("2009/6/15");
    ASSERT_EQ(hits.count("iso_1900.xlsx"), 1u);
    EXPECT_EQ(hits.at("iso_1900.xlsx").front(), "[A1] 15/06/2009");
}

}  // namespace
