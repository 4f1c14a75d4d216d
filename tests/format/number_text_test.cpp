// Zero trimming, grouped and currency numbers, percentages.
#include "number_text.h"

#include <gtest/gtest.h>

namespace {

TEST(NumberText, NumbersInFormats) {
    const struct {
        const char *value;
        int format_id, decimals;
        const char *text;
    } cases[] = {
        {"1234567", 107, -1, "1,234,567"}, {"1000", 107, -1, "1,000"}, {"999", 107, -1, "999"},
        {"100000", 108, 0, "100,000"}, {"1234.500000", 107, -1, "1,234.5"}, {"-0.5", 107, -1, "-0.5"},
        {"-1234567.25", 107, -1, "-1,234,567.25"}, {"0", 107, -1, "0"},
        // Integers beyond a double's precision keep every digit.
        {"9223372036854775807", 107, -1, "9,223,372,036,854,775,807"},
        // Rounding carries into the whole part; a value rounded to zero keeps its sign.
        {"12.999", 107, 2, "13.00"}, {"999.995", 107, 2, "1,000.00"}, {"1234", 107, 2, "1,234.00"},
        {"-0.001", 107, 2, "-0.00"}, {"-8.2e-10", 107, -1, "-0"}, {"0.1234567", 107, -1, "0.123457"}, {"0.9999999", 107, -1, "1"},
        {"1.5e3", 107, -1, "1,500"},
        {"1234567", 201, -1, "\\1,234,567"}, {"-1500", 200, 0, "\\-1,500"}, {"12.5", 205, 2, "\\12.50"},
        {"1234", 900, -1, ""}, {"1234.500000", 100, -1, "1234.5"}, {"042454", 302, -1, "42454"},
        // Texts that are no number pass unchanged.
        {"abc", 107, -1, "abc"}, {"1,234", 107, -1, "1,234"},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(ozw_number_text(c.value, c.format_id, c.decimals), c.text)
            << c.value << " in " << c.format_id << " with " << c.decimals;
    }
    // A caller's absurd digit count does not make an absurd text.
    EXPECT_EQ(ozw_number_text("1", 107, 2000000000).size(), 66u);  // "1." and 64 digits
}

TEST(NumberText, Percentages) {
    const struct {
        const char *value;
        int decimals;
        const char *text;
    } cases[] = {{"0.25", -1, "25.0%"},   {"0.125", -1, "12.5%"}, {"0.250000", -1, "25.0%"},
                 {"1", -1, "100.0%"},     {"0", -1, "0.0%"},      {"-0.005", -1, "-0.5%"},
                 {"0.00001234567", -1, "0.001235%"}, {"0.125", 2, "12.50%"}, {"0.125", 0, "13%"},
                 {"12.3456", 1, "1234.6%"}, {"-2", -3, "-200.0%"}};
    for (const auto &c : cases) {
        EXPECT_EQ(ozw_percent_text(c.value, c.decimals), c.text) << c.value << " " << c.decimals;
    }
}

}  // namespace
