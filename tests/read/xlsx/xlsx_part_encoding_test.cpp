// Parts written in UTF-16 read as those in UTF-8; a package whose parts
// cannot be read, or that holds no workbook, is refused as no book rather
// than read as a book without sheets.
#include "book_cells.h"
#include "cell_display.h"
#include "result_codes.h"
#include "xlsx_test_package.h"

#include <gtest/gtest.h>

#include <map>

namespace {

using namespace xlsx_test;

const std::string kData = std::string(ZS_TEST_DATA_DIR) + "/xlsx/";

// Every cell text the search's reader hands over, by "sheet!row,column".
class TextCollector : public BookSink {
public:
    int cell(const ReadContext &book, const BookCell &cell) override {
        texts[book.sheet_names[static_cast<size_t>(cell.sheet)] + "!" + std::to_string(cell.row) + "," +
              std::to_string(cell.column)] = std::string(display.text(book, cell));
        return 0;
    }
    std::map<std::string, std::string> texts;
    CellDisplay display;
};

TEST(XlsxPartEncoding, PartsInUtf16ReadAsInUtf8) {
    const std::map<std::string, std::string> expected = {
        {"Données!0,0", "Ładowność € 東京"}, {"Données!0,1", "𠮷野家"}, {"Données!1,0", "1148"}, {"日本語!0,0", "売上"}};
    for (const char *name : {"encoding_utf8_openpyxl.xlsx", "encoding_utf16le_openpyxl.xlsx",
                             "encoding_utf16be_openpyxl.xlsx"}) {
        OpenBook book(kData + name);
        ASSERT_EQ(book.rc(), 0) << name;
        ASSERT_EQ(book.get()->sheet_count, 2) << name;
        EXPECT_STREQ(book.get()->sheets[0].name, "Données") << name;
        EXPECT_EQ(book.text(0, "A1"), "Ładowność € 東京") << name;
        EXPECT_EQ(book.text(0, "B1"), "𠮷野家") << name;
        EXPECT_EQ(book.text(1, "A1"), "売上") << name;

        TextCollector collector;
        BookCellReader reader;
        ASSERT_EQ(reader.read((kData + name).c_str(), collector), 0) << name;
        EXPECT_EQ(collector.texts, expected) << name;
    }
}

TEST(XlsxPartEncoding, UnreadablePackagesAreNoBooks) {
    TempFolder folder;
    const std::string sheet = sheet_xml(text_row(1, {"x"}));
    auto utf16le = [](const std::string &ascii) {
        std::string wide;
        for (char c : ascii) wide += std::string{c, '\0'};
        return wide;
    };
    std::string declared_latin1 = workbook_xml({"S"});
    declared_latin1.replace(declared_latin1.find("UTF-8"), 5, "ISO-8859-1");
    const struct {
        const char *what;
        Parts parts;
        int rc;
    } cases[] = {
        {"no byte-order mark, UTF-16LE told by its first characters",
         {{"xl/workbook.xml", utf16le(workbook_xml({"S"}))}, {"xl/worksheets/sheet1.xml", sheet}}, 0},
        {"a workbook in an encoding the library does not read",
         {{"xl/workbook.xml", declared_latin1}, {"xl/worksheets/sheet1.xml", sheet}}, OXLS_ERR_UNSUPPORTED},
        {"a workbook in UTF-32",
         {{"xl/workbook.xml", std::string("\xFF\xFE\0\0", 4) + workbook_xml({"S"})}}, OXLS_ERR_UNSUPPORTED},
        {"no workbook part", {{"[Content_Types].xml", kContentTypes}, {"xl/worksheets/sheet1.xml", sheet}},
         OXLS_ERR_UNSUPPORTED},
        {"an empty package", {{"[Content_Types].xml", kContentTypes}}, OXLS_ERR_UNSUPPORTED},
    };
    int count = 0;
    for (const auto &c : cases) {
        const std::string path = folder.file("book" + std::to_string(++count) + ".xlsx");
        ASSERT_TRUE(write_package(path, c.parts)) << c.what;
        OpenBook book(path);
        EXPECT_EQ(book.rc(), c.rc) << c.what;
        if (c.rc == 0) EXPECT_EQ(book.text(0, "A1"), "x") << c.what;
        else EXPECT_NE(std::string(OXLS_error_mesg(book.get())).find("OXLS-00900"), std::string::npos) << c.what;
        OpenBook listed(path, "LIST");
        EXPECT_EQ(listed.rc(), c.rc) << c.what << " (listing the sheets)";
        TextCollector collector;
        BookCellReader reader;
        EXPECT_EQ(reader.read(path.c_str(), collector), c.rc == 0 ? 0 : OZW_NOT_A_BOOK) << c.what << " (the search's reader)";
    }
}

}  // namespace
