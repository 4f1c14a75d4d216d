// A number is found by what its cell shows, as well as by its display
// text, in both kinds of book: the same sheet written by openpyxl and
// converted to Excel 97-2003 by LibreOffice.
#include "engine/search_run.h"

#include "fake_front_end.h"
#include "test_folder.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace fs = std::filesystem;
using namespace zscan;

namespace {

const fs::path kShown = fs::path(ZS_TEST_DATA_DIR) / ".." / "app" / "data" / "shown";

struct ShownCase {
    bool expression;   // the words are regular expressions
    const char *words;
    std::vector<std::string> hits;   // "[cell] text", the same in both books
};

class ShownSearchTest : public ::testing::TestWithParam<ShownCase> {};

TEST_P(ShownSearchTest, NumbersAreFoundByTheirShownText) {
    const TempFolder work("zscan_shown");
    SearchContext context;
    init_search_context(context);
    context.jobs = 1;
    context.temp_folder = work.path().string();
    context.target_folder = fs::canonical(kShown).string();
    context.search_words_text = GetParam().words;
    context.regular_expression = GetParam().expression;
    FakeFrontEnd front_end;
    ASSERT_EQ(run_search(context, front_end), SearchOutcome::Found);

    std::vector<std::string> expected;
    for (const char *book : {"shown_numbers.xls", "shown_numbers.xlsx"})
        for (const std::string &hit : GetParam().hits)
            expected.push_back("[" + context.target_folder + "/" + book + "][Shown]" + hit);
    EXPECT_EQ(front_end.lines, expected);
}

// A hit shows the display text when that matched (A6 below: the display
// text of yyyy-mm-dd hh:mm is 14:05), else the shown text.
INSTANTIATE_TEST_SUITE_P(
    Words, ShownSearchTest,
    ::testing::Values(
        ShownCase{false, "2016/3/25", {"[A1] 2016/03/25", "[A2] 2016-03-25", "[A3] 3/25/2016", "[A4] 平成28年3月25日",
                                       "[A5] March 25, 2016", "[A6] 2016-03-25 14:05"}},
        ShownCase{false, "14:05", {"[A6] 14:05"}},
        ShownCase{true, "2016/3/25\\s14:05", {"[A6] 2016-03-25 14:05"}},
        ShownCase{false, "平成28年3月25日", {"[A4] 平成28年3月25日"}},
        ShownCase{false, "$1,148.00 75% 1.12E-10", {"[B1] $1,148.00", "[B2] 75%", "[B4] 1.12E-10"}},
        ShownCase{false, "1.00", {"[B3] 1.00"}},
        ShownCase{true, "January\\s2021", {"[B5] January 2021"}}));

}  // namespace
