// The shown text of numbers against a table made by two independent
// spreadsheet programs (scripts/make_shown_text_table.py), and the compiler
// against hostile format codes.
#include "shown_text.h"

#include <gtest/gtest.h>

#include <fstream>
#include <limits>
#include <map>
#include <random>
#include <sstream>

namespace {

ShownFormat format_of(const std::string &code) {
    if (code.rfind("builtin ", 0) == 0) return ShownFormat::builtin(std::stoi(code.substr(8)));
    return ShownFormat::compile(code);
}

TEST(ShownText, MatchesTheOracleTable) {
    std::ifstream in(std::string(ZS_TEST_DATA_DIR) + "/shown_text_cases.tsv");
    ASSERT_TRUE(in) << "tests/data/shown_text_cases.tsv is missing";
    std::map<std::string, ShownFormat> formats;
    std::string line, shown;
    int rows = 0;
    std::ostringstream wrong;
    int wrong_count = 0;
    while (std::getline(in, line)) {
        if (line.find('\t') == std::string::npos) continue;  // a comment
        std::istringstream fields(line);
        std::string code, value, expected;
        std::getline(fields, code, '\t');
        std::getline(fields, value, '\t');
        std::getline(fields, expected);
        auto it = formats.try_emplace(code, format_of(code)).first;
        ++rows;
        const bool has_form = it->second.render(std::stod(value), false, shown);
        if (!has_form || shown != expected) {
            if (++wrong_count <= 40)
                wrong << code << " | " << value << " | expected [" << expected << "] got ["
                      << (has_form ? shown : "no shown form") << "]\n";
        }
    }
    EXPECT_GT(rows, 1000);
    EXPECT_EQ(wrong_count, 0) << wrong.str();
}

TEST(ShownText, GeneralAndTheEndsOfTheDateRangeHaveNoShownForm) {
    std::string out;
    for (const char *code : {"General", "", "[Red]General", "0;General"})
        EXPECT_FALSE(ShownFormat::compile(code).render(-5, false, out)) << code;
    const ShownFormat date = ShownFormat::compile("yyyy/m/d");
    EXPECT_FALSE(date.render(-1, false, out));
    EXPECT_FALSE(date.render(2958466, false, out));
    EXPECT_TRUE(date.render(2957003, true, out));
    EXPECT_EQ(out, "9999/12/31") << "the last day counted from 1904";
    EXPECT_FALSE(date.render(2957004, true, out));
    EXPECT_FALSE(ShownFormat::compile("0").render(std::numeric_limits<double>::quiet_NaN(), false, out));
}

// Codes made of the grammar's own pieces in random order: every one
// compiles and renders without a crash, and the text stays within a small
// multiple of the code's length.
TEST(ShownText, HostileCodesCompileAndStayBounded) {
    static const char *const PIECES[] = {
        "0", "#", "?", ".", ",", "%", "E+", "e-", "/", ";", "@", "\"", "\\", "_", "*", "[", "]", "[h]",
        "[>=", "[$-411]", "[$-F800]", "[$€-407]", "y", "m", "d", "h", "s", "g", "e", "aaa", "AM/PM",
        "A/P", ".000", "General", "年", "9", "[Red]", "-", " ", "\xff", "\xe5", "00000000000000000000"};
    std::mt19937 random(15);
    const double values[] = {0, -1, 0.5, 1e300, -1e-300, 42454.5869, 2958465.99999, 123456789.125};
    std::string out;
    for (int round = 0; round < 4000; ++round) {
        std::string code;
        const int pieces = static_cast<int>(random() % 24);
        for (int k = 0; k < pieces; ++k) code += PIECES[random() % std::size(PIECES)];
        const ShownFormat format = ShownFormat::compile(code);
        for (double v : values) {
            format.render(v, round % 2 == 1, out);
            ASSERT_LE(out.size(), 16 * code.size() + 400) << code;
        }
    }
}

}  // namespace
