// Cell names: parsing, forming, ranges, sheet prefixes and the exported
// cell-name calls.
#include "cell_name.h"

#include "oxls.h"

#include <gtest/gtest.h>

#include <climits>
#include <memory>
#include <string>
#include <vector>

namespace {

TEST(CellName, SheetPrefixes) {
    std::string sheet;
    std::string_view rest;
    ASSERT_TRUE(ozw_split_sheet_prefix("集計!A1", sheet, rest));
    EXPECT_EQ(sheet + "|" + std::string(rest), "集計|A1");
    ASSERT_TRUE(ozw_split_sheet_prefix("'My ''big'' sheet'!B2:C3", sheet, rest));
    EXPECT_EQ(sheet + "|" + std::string(rest), "My 'big' sheet|B2:C3");
    ASSERT_TRUE(ozw_split_sheet_prefix("'a!b'!C4", sheet, rest));
    EXPECT_EQ(sheet + "|" + std::string(rest), "a!b|C4");
    sheet = "unchanged";
    for (const char *text : {"A1", "'open!A1", "'closed'A1"}) {
        EXPECT_FALSE(ozw_split_sheet_prefix(text, sheet, rest)) << text;
    }
    EXPECT_EQ(sheet, "unchanged");
}

TEST(CellNameCalls, FormingNames) {
    char name[32] = "junk";
    EXPECT_EQ(OXLS_cell_name(1048576, 16384, name), 0);
    EXPECT_STREQ(name, "XFD1048576");
    EXPECT_EQ(OXLS_cell_name(0, 1, name), -3);
    EXPECT_STREQ(name, "");
    EXPECT_EQ(OXLS_cell_name(INT_MIN, 1, name), -3);  // no overflow stepping to 0-based
    EXPECT_EQ(OXLS_cell_range(1, 1, 5, 3, name), 0);
    EXPECT_STREQ(name, "A1:C5");
    EXPECT_EQ(OXLS_cell_range(1, 1, 1048577, 3, name), -3);
    EXPECT_STREQ(name, "");
}

TEST(CellNameCalls, IsCellAndIsRange) {
    auto book = std::make_unique<XLS_BOOK>();
    int r1 = 0, c1 = 0, r2 = 0, c2 = 0;
    EXPECT_EQ(OXLS_is_cell(book.get(), "$C$7", &r1, &c1), 0);
    EXPECT_EQ((std::vector<int>{r1, c1}), (std::vector<int>{7, 3}));
    EXPECT_EQ(OXLS_is_cell(book.get(), "C", &r1, &c1), -801);
    EXPECT_EQ(book->log.error_code, -801);
    EXPECT_EQ(OXLS_is_cell(book.get(), std::string(4001, 'A').c_str(), &r1, &c1), -3);
    EXPECT_EQ(OXLS_is_cell(book.get(), std::string(4000, 'A').c_str(), &r1, &c1), -801);

    EXPECT_EQ(OXLS_is_range(book.get(), "B2:F40", &r1, &c1, &r2, &c2), 0);
    EXPECT_EQ(book->log.error_code, 0);
    EXPECT_EQ((std::vector<int>{r1, c1, r2, c2}), (std::vector<int>{2, 2, 40, 6}));
    EXPECT_EQ(OXLS_is_range(book.get(), "B2:F", &r1, &c1, &r2, &c2), -801);
    EXPECT_EQ(OXLS_is_range(book.get(), "nothing", &r1, &c1, &r2, &c2), -801);
    EXPECT_EQ(OXLS_is_range(book.get(), "B2", &r1, &c1, &r2, &c2), -3);  // a cell, not a range
    const std::string long_range = "A1:A1" + std::string(80, ' ');
    EXPECT_EQ(OXLS_is_range(book.get(), long_range.c_str(), &r1, &c1, &r2, &c2), -3);
}

}  // namespace
