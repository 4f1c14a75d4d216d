// Putting values into cell records.
#include "read/format_id.h"
#include "read/value_store.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace {

// A cell record that frees its texts.
struct Cell : XLS_CELL {
    Cell() : XLS_CELL{} { type = XLS_CELL_EMPTY; }
    ~Cell() {
        std::free(text);
        std::free(formula);
        std::free(extra);
    }
    Cell(const Cell &) = delete;
    Cell &operator=(const Cell &) = delete;
    std::string value_text() const { return text ? text : "<null>"; }
};

TEST(ValueStore, TextsIntegersAndDecimals) {
    Cell cell;
    ASSERT_EQ(ozw_store_text(cell, "売上"), 0);
    EXPECT_EQ(cell.type, XLS_CELL_TEXT);
    EXPECT_EQ(cell.value_text(), "売上");

    ASSERT_EQ(ozw_store_integer(cell, 4294967298LL), 0);  // 2^32 + 2
    EXPECT_EQ(cell.type, XLS_CELL_INTEGER);
    EXPECT_EQ(cell.number, 2);
    EXPECT_EQ(cell.value_text(), "4294967298");
    ASSERT_EQ(ozw_store_integer(cell, -7), 0);
    EXPECT_EQ(cell.number, -7);

    ASSERT_EQ(ozw_store_decimal(cell, XLS_CELL_DECIMAL, -2.75, 3), 0);
    EXPECT_EQ(cell.type, XLS_CELL_DECIMAL);
    EXPECT_EQ(cell.number, -2);
    EXPECT_EQ(cell.value_text(), "-2.750");
    ASSERT_EQ(ozw_store_decimal(cell, XLS_CELL_PERCENT, 0.25, 2), 0);
    EXPECT_EQ(cell.type, XLS_CELL_PERCENT);
    EXPECT_EQ(cell.value_text(), "0.25");
    EXPECT_EQ(ozw_store_decimal(cell, XLS_CELL_INTEGER, 1.5, 1), -1);
    EXPECT_EQ(cell.type, XLS_CELL_PERCENT);  // unchanged
}

TEST(ValueStore, DatesAndTimes) {
    Cell cell;
    ASSERT_EQ(ozw_store_text(cell, "old"), 0);
    ASSERT_EQ(ozw_store_date(cell, DateParts{2016, 3, 25, 14, 5, 9}), 0);
    EXPECT_EQ(cell.type, XLS_CELL_DATE);
    EXPECT_EQ(cell.number, 42454);
    EXPECT_EQ(cell.text, nullptr);

    EXPECT_EQ(ozw_store_date(cell, DateParts{2016, 13, 1, 0, 0, 0}), -4);
    EXPECT_EQ(cell.type, XLS_CELL_DATE);
    EXPECT_EQ(cell.number, 42454);

    ASSERT_EQ(ozw_store_date_time(cell, XLS_CELL_DATE_TIME, DateParts{2016, 3, 25, 12, 0, 0}), 0);
    EXPECT_EQ(cell.type, XLS_CELL_DATE_TIME);
    EXPECT_EQ(cell.number, 42454);
    EXPECT_EQ(cell.value_text(), "0.500000");

    // A year before 1900 keeps only the time.
    ASSERT_EQ(ozw_store_date_time(cell, XLS_CELL_TIME_HMS, DateParts{1, 1, 1, 6, 0, 0}), 0);
    EXPECT_EQ(cell.type, XLS_CELL_TIME_HMS);
    EXPECT_EQ(cell.number, 0);
    EXPECT_EQ(cell.value_text(), "0.250000");

    // Hour 24 runs into the next day.
    ASSERT_EQ(ozw_store_date_time(cell, XLS_CELL_DATE_TIME, DateParts{2016, 3, 25, 24, 0, 0}), 0);
    EXPECT_EQ(cell.number, 42455);
    EXPECT_EQ(cell.value_text(), "0.000000");

    EXPECT_EQ(ozw_store_date_time(cell, XLS_CELL_DATE, DateParts{}), -1);
}

TEST(ValueStore, SharedStringsFormulasAndEmpty) {
    Cell cell;
    ASSERT_EQ(ozw_store_text(cell, "x"), 0);
    ASSERT_EQ(ozw_store_shared_string(cell, 17), 0);
    EXPECT_EQ(cell.type, XLS_CELL_SHARED_STRING);
    EXPECT_EQ(cell.number, 17);
    EXPECT_EQ(cell.text, nullptr);

    ASSERT_EQ(ozw_store_formula(cell, XLS_CELL_FORMULA, "SUM(A1:A3)"), 0);
    EXPECT_EQ(cell.type, XLS_CELL_FORMULA);
    EXPECT_STREQ(cell.formula, "SUM(A1:A3)");
    EXPECT_EQ(ozw_store_formula(cell, XLS_CELL_TEXT, "X"), -1);
    EXPECT_STREQ(cell.formula, "SUM(A1:A3)");

    cell.style = 5;
    ozw_store_empty(cell);
    EXPECT_EQ(cell.type, XLS_CELL_EMPTY);
    EXPECT_EQ(cell.formula, nullptr);
    EXPECT_EQ(cell.style, 5u);  // an empty cell keeps its style
}

TEST(ValueStore, NumbersByTheirFormatKind) {
    Cell cell;
    ASSERT_EQ(ozw_store_number(cell, OZW_KIND_GENERAL, 3.0), 0);
    EXPECT_EQ(cell.type, XLS_CELL_INTEGER);
    EXPECT_EQ(cell.value_text(), "3");

    ASSERT_EQ(ozw_store_number(cell, OZW_KIND_GENERAL, 2.5), 0);
    EXPECT_EQ(cell.type, XLS_CELL_DECIMAL);
    EXPECT_EQ(cell.number, 2);
    EXPECT_EQ(cell.value_text(), "2.5");

    ASSERT_EQ(ozw_store_number(cell, OZW_KIND_GENERAL, -0.125), 0);
    EXPECT_EQ(cell.value_text(), "-0.125");

    ASSERT_EQ(ozw_store_number(cell, OZW_KIND_GENERAL, 1e20), 0);  // whole, past 64 bits
    EXPECT_EQ(cell.type, XLS_CELL_DECIMAL);
    EXPECT_EQ(cell.value_text(), "100000000000000000000.0");

    ASSERT_EQ(ozw_store_number(cell, XLS_CELL_PERCENT, 0.25), 0);
    EXPECT_EQ(cell.type, XLS_CELL_PERCENT);
    EXPECT_EQ(cell.value_text(), "0.250000");

    ASSERT_EQ(ozw_store_number(cell, XLS_CELL_DATE, 42454.75), 0);
    EXPECT_EQ(cell.type, XLS_CELL_DATE);
    EXPECT_EQ(cell.number, 42454);

    ASSERT_EQ(ozw_store_number(cell, XLS_CELL_DATE, 60), 0);
    EXPECT_EQ(cell.number, 60);
    ASSERT_EQ(ozw_store_number(cell, XLS_CELL_DATE, 0), 0);
    EXPECT_EQ(cell.number, 0);

    ASSERT_EQ(ozw_store_number(cell, XLS_CELL_DATE_TIME, 42454 + 50709.0 / 86400), 0);
    EXPECT_EQ(cell.type, XLS_CELL_DATE_TIME);
    EXPECT_EQ(cell.number, 42454);
    EXPECT_EQ(cell.value_text(), "0.586910");

    ASSERT_EQ(ozw_store_number(cell, XLS_CELL_TIME_HM, 0.5), 0);
    EXPECT_EQ(cell.type, XLS_CELL_TIME_HM);
    EXPECT_EQ(cell.number, 0);
    EXPECT_EQ(cell.value_text(), "0.500000");

    EXPECT_EQ(ozw_store_number(cell, XLS_CELL_TEXT, 1.0), -1);
}

}  // namespace
