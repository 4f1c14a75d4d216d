// Parts written in UTF-16 read as those in UTF-8; a package whose parts
// cannot be read, or that holds no workbook, is refused as no book rather
// than read as a book without sheets.
#include "result_codes.h"
#include "search_texts.h"
#include "xlsx_test_package.h"

#include <gtest/gtest.h>

namespace {

using namespace xlsx_test;

TEST(XlsxPartEncoding, PartsInUtf16ReadAsInUtf8) {
    const std::map<std::string, std::string> cells = {
        {"Données!A1", "Ładowność € 東京"}, {"Données!B1", "𠮷野家"}, {"Données!A2", "1148"}, {"日本語!A1", "売上"}};
    for (const char *name : {"utf8", "utf16le", "utf16be"}) {
        const std::string path = std::string(ZS_TEST_DATA_DIR) + "/xlsx/encoding_" + name + "_openpyxl.xlsx";
        OpenBook book(path);
        ASSERT_EQ(book.rc(), 0) << name;
        EXPECT_STREQ(book.get()->sheets[1].name, "日本語") << name;
        EXPECT_EQ(book.text(0, "B1"), "𠮷野家") << name;
        const SearchTexts search(path);
        EXPECT_EQ(search.rc, 0) << name;
        EXPECT_EQ(search.cells, cells) << name;
    }
}

TEST(XlsxPartEncoding, UnreadablePackagesAreNoBooks) {
    TempFolder folder;
    const std::string sheet = sheet_xml(text_row(1, {"x"}));
    std::string utf16le, latin1 = workbook_xml({"S"});
    for (char c : latin1) utf16le += std::string{c, '\0'};
    latin1.replace(latin1.find("UTF-8"), 5, "ISO-8859-1");
    const struct {
        const char *what;
        Parts parts;
    } cases[] = {
        {"UTF-16LE without a byte-order mark", {{"xl/workbook.xml", utf16le}, {"xl/worksheets/sheet1.xml", sheet}}},
        {"an encoding the library does not read", {{"xl/workbook.xml", latin1}, {"xl/worksheets/sheet1.xml", sheet}}},
        {"UTF-32", {{"xl/workbook.xml", std::string("\xFF\xFE\0\0", 4) + workbook_xml({"S"})}}},
        {"no workbook part", {{"[Content_Types].xml", kContentTypes}, {"xl/worksheets/sheet1.xml", sheet}}},
        {"an empty package", {{"[Content_Types].xml", kContentTypes}}},
    };
    for (const auto &c : cases) {
        const std::string path = folder.file(std::string(c.what) + ".xlsx");
        ASSERT_TRUE(write_package(path, c.parts)) << c.what;
        const bool readable = &c == &cases[0];
        OpenBook book(path), listed(path, "LIST");
        EXPECT_EQ(book.rc(), readable ? 0 : OXLS_ERR_UNSUPPORTED) << c.what;
        EXPECT_EQ(listed.rc(), book.rc()) << c.what << " (listing the sheets)";
        EXPECT_EQ(std::string(OXLS_error_mesg(book.get())).find("OXLS-00900") != std::string::npos, !readable) << c.what;
        const SearchTexts search(path);
        EXPECT_EQ(search.rc, readable ? 0 : OZW_NOT_A_BOOK) << c.what;
        EXPECT_EQ(search.cells.count("S!A1"), readable ? 1u : 0u) << c.what;
    }
}

}  // namespace
