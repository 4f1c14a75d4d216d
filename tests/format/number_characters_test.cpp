// A search leaves out the numbers whose texts cannot hold its words, by the
// characters beyond ASCII those texts can hold: no text of a number may
// hold another one, or a hit would be lost.
#include "date_text.h"
#include "format_id.h"
#include "number_characters.h"
#include "shown_text.h"

#include <gtest/gtest.h>

#include <fstream>

namespace {

// The first character beyond ASCII of `text` that `characters` lacks;
// empty when there is none.
std::string stray_character(const std::string &text, const std::string &characters) {
    for (size_t at = 0; at < text.size();) {
        size_t length = 1;
        while (at + length < text.size() && (static_cast<unsigned char>(text[at + length]) & 0xC0) == 0x80) ++length;
        const std::string character = text.substr(at, length);
        if (static_cast<unsigned char>(text[at]) >= 0x80 && characters.find(character) == std::string::npos)
            return character;
        at += length;
    }
    return {};
}

TEST(NumberCharacters, CoverEveryShownTextOfTheOracleTable) {
    std::ifstream in(std::string(ZS_TEST_DATA_DIR) + "/shown_text_cases.tsv");
    ASSERT_TRUE(in) << "tests/data/shown_text_cases.tsv is missing";
    std::string line, shown;
    while (std::getline(in, line)) {
        const size_t tab = line.find('\t');
        if (tab == std::string::npos) continue;
        std::string code = line.substr(0, tab);
        const bool builtin = code.rfind("builtin ", 0) == 0;
        if (builtin) code = std::string(ShownFormat::builtin_code(std::stoi(code.substr(8))));
        const ShownFormat format = ShownFormat::compile(code);
        const double value = std::stod(line.substr(tab + 1, line.find('\t', tab + 1) - tab - 1));
        if (!format.render(value, false, shown)) continue;
        EXPECT_EQ(stray_character(shown, ozw_number_characters(code)), "") << line << " shows " << shown;
    }
}

TEST(NumberCharacters, CoverEveryDateTextOfTheFormatIds) {
    const std::string characters = ozw_number_characters({});
    for (int id = 0; id <= FMT_HIDDEN; ++id)
        for (double serial : {1.0, 10000.5, 32516.25, 43586.75, 45000.999})
            EXPECT_EQ(stray_character(ozw_date_text(serial, id), characters), "") << id << " " << serial;
}

}  // namespace
