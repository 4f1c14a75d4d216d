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
    }
    Cell(const Cell &) = delete;
    Cell &operator=(const Cell &) = delete;
};

// Type, integer value and value text ("-" for none) in one line.
std::string record(const XLS_CELL &cell) {
    return std::to_string(cell.type) + " " + std::to_string(cell.number) + " " +
           (cell.text ? cell.text : "-");
}

TEST(ValueStore, TextsAndNumbers) {
    Cell cell;
    ASSERT_EQ(ozw_store_text(cell, "売上"), 0);
    EXPECT_EQ(record(cell), "0 0 売上");
    ASSERT_EQ(ozw_store_integer(cell, 4294967298LL), 0);  // 2^32 + 2: low 32 bits
    EXPECT_EQ(record(cell), "11 2 4294967298");
    ASSERT_EQ(ozw_store_decimal(cell, XLS_CELL_DECIMAL, -2.75, 3), 0);
    EXPECT_EQ(record(cell), "12 -2 -2.750");
    ASSERT_EQ(ozw_store_decimal(cell, XLS_CELL_PERCENT, 0.25, 2), 0);
    EXPECT_EQ(record(cell), "13 0 0.25");
    EXPECT_EQ(ozw_store_decimal(cell, XLS_CELL_INTEGER, 1.5, 1), -1);
    EXPECT_EQ(record(cell), "13 0 0.25");
}

TEST(ValueStore, DatesAndTimes) {
    Cell cell;
    ASSERT_EQ(ozw_store_text(cell, "old"), 0);
    ASSERT_EQ(ozw_store_date(cell, DateParts{2016, 3, 25, 14, 5, 9}), 0);
    EXPECT_EQ(record(cell), "20 42454 -");
    EXPECT_EQ(ozw_store_date(cell, DateParts{2016, 13, 1, 0, 0, 0}), -4);
    EXPECT_EQ(record(cell), "20 42454 -");
    ASSERT_EQ(ozw_store_date_time(cell, XLS_CELL_DATE_TIME, DateParts{2016, 3, 25, 12, 0, 0}), 0);
    EXPECT_EQ(record(cell), "21 42454 0.500000");
    // A year before 1900 keeps only the time; hour 24 runs into the next day.
    ASSERT_EQ(ozw_store_date_time(cell, XLS_CELL_TIME_HMS, DateParts{1, 1, 1, 6, 0, 0}), 0);
    EXPECT_EQ(record(cell), "24 0 0.250000");
    ASSERT_EQ(ozw_store_date_time(cell, XLS_CELL_DATE_TIME, DateParts{2016, 3, 25, 24, 0, 0}), 0);
    EXPECT_EQ(record(cell), "21 42455 0.000000");
    EXPECT_EQ(ozw_store_date_time(cell, XLS_CELL_DATE, DateParts{}), -1);
}

TEST(ValueStore, SharedStringsFormulasAndEmpty) {
    Cell cell;
    ASSERT_EQ(ozw_store_text(cell, "x"), 0);
    ASSERT_EQ(ozw_store_shared_string(cell, 17), 0);
    EXPECT_EQ(record(cell), "41 17 -");
    ASSERT_EQ(ozw_store_formula(cell, XLS_CELL_FORMULA, "SUM(A1:A3)"), 0);
    EXPECT_EQ(ozw_store_formula(cell, XLS_CELL_TEXT, "X"), -1);
    EXPECT_EQ(cell.type, XLS_CELL_FORMULA);
    EXPECT_STREQ(cell.formula, "SUM(A1:A3)");
    cell.style = 5;
    ozw_store_empty(cell);
    EXPECT_EQ(cell.type, XLS_CELL_EMPTY);
    EXPECT_EQ(cell.formula, nullptr);
    EXPECT_EQ(cell.style, 5u);  // an empty cell keeps its style
}

TEST(ValueStore, NumbersByTheirFormatKind) {
    const struct {
        int kind;
        double value;
        const char *record;
    } expected[] = {
        {OZW_KIND_GENERAL, 3.0, "11 3 3"},
        {OZW_KIND_GENERAL, 2.5, "12 2 2.5"},
        {OZW_KIND_GENERAL, -0.125, "12 0 -0.125"},
        {OZW_KIND_GENERAL, 2.0000001, "12 2 2.0"},
        {OZW_KIND_GENERAL, 1e20, "12 2147483647 100000000000000000000.0"},
        {XLS_CELL_PERCENT, 0.25, "13 0 0.250000"},
        {XLS_CELL_DATE, 42454.75, "20 42454 -"},
        {XLS_CELL_DATE, 60, "20 60 -"},
        {XLS_CELL_DATE, 0, "20 0 -"},
        {XLS_CELL_DATE_TIME, 42454 + 50709.0 / 86400, "21 42454 0.586910"},
        {XLS_CELL_TIME_HM, 0.5, "23 0 0.500000"},
    };
    for (const auto &e : expected) {
        Cell cell;
        ASSERT_EQ(ozw_store_number(cell, e.kind, e.value), 0) << e.value;
        EXPECT_EQ(record(cell), e.record) << e.value;
    }
    Cell cell;
    EXPECT_EQ(ozw_store_number(cell, XLS_CELL_TEXT, 1.0), -1);
}

}  // namespace
