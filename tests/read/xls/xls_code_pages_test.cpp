// The 8-bit texts of an old book (sheet names, cell texts, number format
// codes) read in the code page its CODEPAGE record names, by the library
// and by the search's reader alike; and a workbook stream written without
// a compound file read as the stream it is.
#include "search_texts.h"
#include "xls_test_books.h"
#include "xlsx_test_package.h"

#include <gtest/gtest.h>

namespace {

using namespace xlstest;

// Books of scripts/make_fixtures_codepages.py (LibreOffice reads the same
// texts from those in Windows code pages): the sheet's name, A1 and the
// code of the book's number format 164.
TEST(XlsCodePages, TextsAreReadInTheBooksCodePage) {
    const struct {
        const char *file, *sheet, *text, *code;
    } books[] = {
        {"codepage_1250_biff5.xls", "Ärkusz1", "Ładowność", "\"€\"#,##0.00"},
        {"codepage_1251_biff5.xls", "Лист1", "Привет мир", "#,##0.00\" р.\""},
        {"codepage_1252_biff5.xls", "Feuille€", "Œuvre “été”", "\"€\"#,##0.00"},
        {"codepage_932_biff5.xls", "シート1", "日本語のテキスト", "\"￥\"#,##0"},
        {"codepage_936_biff5.xls", "工作表1", "中文文本", "\"￥\"#,##0.00"},
        {"codepage_949_biff5.xls", "시트1", "한국어 텍스트", "\"￦\"#,##0"},
        {"codepage_950_biff5.xls", "工作表1", "繁體中文", "\"NT$\"#,##0.00"},
        {"codepage_10007_biff5.xls", "Лист1", "Привет мир", "#,##0.00\" р.\""},
        {"codepage_10029_biff5.xls", "Arkusz ł", "Ładowność", "#,##0.00\" zł\""},
        {"bare_stream_biff5.xls", "Ärkusz1", "Ładowność", "\"€\"#,##0.00"},   // the 1250 book's stream alone
    };
    for (const auto &expected : books) {
        const std::string path = std::string(ZS_TEST_DATA_DIR) + "/xls/" + expected.file;
        xlsx_test::OpenBook book(path);
        ASSERT_EQ(book.rc(), 0) << expected.file;
        EXPECT_STREQ(book.get()->sheets[0].name, expected.sheet) << expected.file;
        EXPECT_EQ(book.text(0, "A1"), expected.text) << expected.file;
        const SearchTexts search(path);
        ASSERT_EQ(search.rc, 0) << expected.file;
        EXPECT_EQ(search.cells.at(std::string(expected.sheet) + "!A1"), expected.text) << expected.file;
        EXPECT_EQ(search.formats.at(164), expected.code) << expected.file;
    }
}

TEST(XlsCodePages, RecordValuesThatNameNoConvertibleCodePage) {
    const struct {
        const char *what;
        uint16_t page;
        const char *bytes, *text;
    } cases[] = {
        {"an unknown code page reads as 1252", 12345, "\x80 \x8c", "€ Œ"},
        {"BIFF's alias of Mac Roman", 32768, "\x8e\xdb", "é€"},
        {"a BIFF8 book's 8-bit text in the code page it names", 1251, "\xcc\xe8\xf0", "Мир"},
        {"1200: 8-bit texts are UTF-16 without their high bytes", 1200, "\xe9\x80", "é\u0080"},
    };
    for (const auto &c : cases) {
        LoadedBook loaded;
        load_stream(loaded, bof(5) + codepage(c.page) + boundsheet8("S") + eof() + bof(0x10) + label8(0, 0, c.bytes) + eof());
        ASSERT_EQ(loaded.rc, 0) << c.what;
        EXPECT_EQ(loaded.text(0, 0, 0), c.text) << c.what;
    }
}

}  // namespace
