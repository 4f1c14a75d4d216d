// Zero trimming, grouped and currency numbers, percentages.
#include "read/number_text.h"

#include <gtest/gtest.h>

namespace {

std::string trimmed(std::string text) {
    ozw_trim_zeros(text);
    return text;
}

TEST(NumberText, ZeroTrimming) {
    EXPECT_EQ(trimmed("2.500000"), "2.5");
    EXPECT_EQ(trimmed("25.000000"), "25.0");
    EXPECT_EQ(trimmed("007"), "7");
    EXPECT_EQ(trimmed("-0.50"), "-0.5");
    EXPECT_EQ(trimmed("0.000000"), "0.0");
    EXPECT_EQ(trimmed("000.125"), "0.125");
    EXPECT_EQ(trimmed("-0012.0"), "-12.0");
    EXPECT_EQ(trimmed("100"), "100");          // zeros inside a whole number stay
    EXPECT_EQ(trimmed("100.100"), "100.1");
    EXPECT_EQ(trimmed("0"), "0");
    EXPECT_EQ(trimmed("000"), "0");
    EXPECT_EQ(trimmed(""), "0");
    EXPECT_EQ(trimmed("-"), "0");
}

TEST(NumberText, GroupedNumbers) {
    EXPECT_EQ(ozw_number_text("1234567", 107, -1), "1,234,567");
    EXPECT_EQ(ozw_number_text("1000", 107, -1), "1,000");
    EXPECT_EQ(ozw_number_text("999", 107, -1), "999");
    EXPECT_EQ(ozw_number_text("100000", 108, 0), "100,000");
    EXPECT_EQ(ozw_number_text("1234.5", 107, -1), "1,234.5");
    EXPECT_EQ(ozw_number_text("1234.500000", 107, -1), "1,234.5");
    EXPECT_EQ(ozw_number_text("-0.5", 107, -1), "-0.5");
    EXPECT_EQ(ozw_number_text("-1234567.25", 107, -1), "-1,234,567.25");
    EXPECT_EQ(ozw_number_text("0", 107, -1), "0");
    EXPECT_EQ(ozw_number_text("0.25", 107, -1), "0.25");
    // Integers beyond a double's precision keep every digit.
    EXPECT_EQ(ozw_number_text("9223372036854775807", 107, -1), "9,223,372,036,854,775,807");
}

TEST(NumberText, GroupedRoundingCarries) {
    EXPECT_EQ(ozw_number_text("12.999", 107, 2), "13.00");
    EXPECT_EQ(ozw_number_text("999.995", 107, 2), "1,000.00");
    EXPECT_EQ(ozw_number_text("1234", 107, 2), "1,234.00");
    EXPECT_EQ(ozw_number_text("1.2344", 107, 3), "1.234");
    EXPECT_EQ(ozw_number_text("-0.001", 107, 2), "0.00");       // no sign on a rounded zero
    EXPECT_EQ(ozw_number_text("0.1234567", 107, -1), "0.123457"); // six places at most
    EXPECT_EQ(ozw_number_text("0.9999999", 107, -1), "1");
    EXPECT_EQ(ozw_number_text("1.5e3", 107, -1), "1,500");
    // A caller's absurd digit count does not make an absurd text.
    EXPECT_EQ(ozw_number_text("1", 107, 2000000000).size(), 66u);  // "1." 64 digits
    EXPECT_EQ(ozw_percent_text("1", 2000000000).size(), 69u);  // "100." 64 digits "%"
}

TEST(NumberText, CurrencyHiddenAndPlain) {
    EXPECT_EQ(ozw_number_text("1234567", 201, -1), "\\1,234,567");
    EXPECT_EQ(ozw_number_text("-1500", 200, 0), "\\-1,500");
    EXPECT_EQ(ozw_number_text("12.5", 205, 2), "\\12.50");
    EXPECT_EQ(ozw_number_text("1234", 900, -1), "");
    EXPECT_EQ(ozw_number_text("1234.500000", 100, -1), "1234.5");
    EXPECT_EQ(ozw_number_text("1234", 0, -1), "1234");
    EXPECT_EQ(ozw_number_text("042454", 302, -1), "42454");
}

TEST(NumberText, UnreadableValuesPassThrough) {
    EXPECT_EQ(ozw_number_text("abc", 107, -1), "abc");
    EXPECT_EQ(ozw_number_text("", 107, 2), "");
    EXPECT_EQ(ozw_number_text("1,234", 107, -1), "1,234");
}

TEST(NumberText, Percentages) {
    EXPECT_EQ(ozw_percent_text("0.25", -1), "25.0%");
    EXPECT_EQ(ozw_percent_text("0.125", -1), "12.5%");
    EXPECT_EQ(ozw_percent_text("0.250000", -1), "25.0%");
    EXPECT_EQ(ozw_percent_text("1", -1), "100.0%");
    EXPECT_EQ(ozw_percent_text("0", -1), "0.0%");
    EXPECT_EQ(ozw_percent_text("-0.005", -1), "-0.5%");
    EXPECT_EQ(ozw_percent_text("0.00001234567", -1), "0.001235%");
    EXPECT_EQ(ozw_percent_text("0.125", 2), "12.50%");
    EXPECT_EQ(ozw_percent_text("0.125", 0), "13%");
    EXPECT_EQ(ozw_percent_text("12.3456", 1), "1234.6%");
    EXPECT_EQ(ozw_percent_text("-2", -3), "-200.0%");
}

}  // namespace
