// A search leaves out the numbers whose texts cannot hold its words, by the
// bytes those texts can hold: no text of a number may hold another byte,
// or a hit would be lost, and the set must be narrow enough that words of
// letters and Japanese words pass the numbers by.
#include "date_text.h"
#include "display_text.h"
#include "format_id.h"
#include "number_bytes.h"
#include "number_shown_texts.h"
#include "number_text.h"

#include <gtest/gtest.h>

#include <fstream>

namespace {

// A book's style tables with one cell style (index 0) of number format
// code `code`, or of built-in number `builtin` when the code is empty.
StyleTables one_style(const std::string &code, int builtin = 0) {
    StyleTables styles;
    styles.xfs.emplace_back().num_format = code.empty() ? static_cast<uint32_t>(builtin) : 164;
    if (!code.empty()) styles.number_formats.push_back({164, code, 0, 0, ozw_classify_format_code(code)});
    return styles;
}

// Every text a number of the style is found by: its display text, shown
// text and date form.
std::vector<std::string> number_texts(const StyleTables &styles, double value) {
    std::vector<std::string> texts;
    StoredValue stored;
    if (ozw_number_value(stored, ozw_style_cell_kind(&styles, 0), value) == 0)
        texts.push_back(ozw_value_display_text(&styles, true, ozw_cell_view(stored, 0)));
    NumberShownTexts shown_texts;
    std::string shown, date;
    const int forms = shown_texts.make(&styles, false, 0, value, false, shown, date);
    if (forms >= 1) texts.push_back(shown);
    if (forms == 2) texts.push_back(date);
    return texts;
}

TEST(NumberBytes, HoldEveryTextOfTheOracleTable) {
    std::ifstream in(std::string(ZS_TEST_DATA_DIR) + "/shown_text_cases.tsv");
    ASSERT_TRUE(in) << "tests/data/shown_text_cases.tsv is missing";
    std::string line;
    int cases = 0;
    while (std::getline(in, line)) {
        const size_t tab = line.find('\t');
        if (tab == std::string::npos || line[0] == '#') continue;
        const std::string code = line.substr(0, tab);
        const bool builtin = code.rfind("builtin ", 0) == 0;
        const StyleTables styles = builtin ? one_style("", std::stoi(code.substr(8))) : one_style(code);
        const double value = std::stod(line.substr(tab + 1, line.find('\t', tab + 1) - tab - 1));
        const ByteSet bytes = ozw_style_number_bytes(&styles, false, 0);
        for (const std::string &text : number_texts(styles, value))
            EXPECT_TRUE(bytes.holds_all(text)) << line << " gives " << text;
        ++cases;
    }
    EXPECT_GT(cases, 1000) << "the oracle table was cut short";
}

TEST(NumberBytes, HoldEveryDateAndNumberTextOfTheFormatIds) {
    for (int id = 0; id <= FMT_HIDDEN; ++id) {
        ByteSet dates, numbers;
        ozw_add_date_text_bytes(id, dates);
        ozw_add_number_text_bytes(id, numbers);
        for (double serial : {1.0, 10000.5, 32516.25, 43586.75, 45000.999, 2958465.5})
            EXPECT_TRUE(dates.holds_all(ozw_date_text(serial, id))) << id << " " << serial;
        for (const char *value : {"-1234567.125", "0.5", "98765432109876543210"})
            EXPECT_TRUE(numbers.holds_all(ozw_number_text(value, id, -1))) << id << " " << value;
    }
}

TEST(NumberBytes, LetWordsPassNumbersThatCannotShowThem) {
    const struct {
        const char *code;
        const char *word;
        bool possible;
    } cases[] = {
        {"", "ZQXNEEDLE", false},            {"#,##0", "ZQXNEEDLE", false},     {"yyyy/m/d", "ZQXNEEDLE", false},
        {"yyyy\"年\"m\"月\"d\"日\"", "東京", false}, {"yyyy/m/d h:mm", "東京", false}, {"#,##0", "1,234", true},
        {"", "2016", true},                  {"yyyy/m/d", "2016/3/25", true},   {"d-mmm-yy", "Mar", true},
        {"yyyy/m/d", "Mar", false},          {"0.00E+00", "E+", true},          {"0.00", "E", false},
        {"[$-411]ggge\"年\"", "平成", true},   {"\"合計\"#,##0", "合計", true},     {"0%", "%", true},
        {"hh:mm AM/PM", "PM", true},         {"aaaa", "曜日", true},             {"yyyy/m/d", "曜日", false},
    };
    for (const auto &c : cases) {
        const StyleTables styles = one_style(c.code);
        EXPECT_EQ(ozw_style_number_bytes(&styles, false, 0).holds_all(c.word), c.possible)
            << "\"" << c.code << "\" and " << c.word;
    }
}

}  // namespace
