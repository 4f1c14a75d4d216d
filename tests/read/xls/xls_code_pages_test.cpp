// The 8-bit texts of an old book (sheet names, cell texts, number format
// codes) read in the code page its CODEPAGE record names, by the library
// and by the search's reader alike; and a workbook stream written without
// a compound file read as the stream it is.
#include "book_cells.h"
#include "cell_display.h"
#include "xls_test_books.h"
#include "xlsx_test_package.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using namespace xlstest;

const std::string kData = std::string(ZS_TEST_DATA_DIR) + "/xls/";
constexpr int kBookFormat = 164;   // the number format the fixtures' books define

// What the search's reader hands over of a one-sheet book: the sheet's
// name, the text of A1 and the code of the book's own number format.
class FirstSheet : public BookSink {
public:
    int cell(const ReadContext &book, const BookCell &cell) override {
        if (cell.row == 0 && cell.column == 0) a1 = std::string(display.text(book, cell));
        return 0;
    }
    int finish(const ReadContext &book) override {
        if (!book.sheet_names.empty()) sheet = book.sheet_names[0];
        for (const NumberFormat &format : book.styles->number_formats)
            if (format.id == kBookFormat) code = format.code;
        return 0;
    }
    std::string sheet, a1, code;
    CellDisplay display;
};

struct CodePageBook {
    const char *file;
    const char *sheet;
    const char *text;
    const char *code;
};

// Books written by scripts/make_fixtures_codepages.py (LibreOffice reads
// the same texts from those in Windows code pages).
constexpr CodePageBook kBooks[] = {
    {"codepage_1250_biff5.xls", "Ärkusz1", "Ładowność", "\"€\"#,##0.00"},
    {"codepage_1251_biff5.xls", "Лист1", "Привет мир", "#,##0.00\" р.\""},
    {"codepage_1252_biff5.xls", "Feuille€", "Œuvre “été”", "\"€\"#,##0.00"},
    {"codepage_932_biff5.xls", "シート1", "日本語のテキスト", "\"￥\"#,##0"},
    {"codepage_936_biff5.xls", "工作表1", "中文文本", "\"￥\"#,##0.00"},
    {"codepage_949_biff5.xls", "시트1", "한국어 텍스트", "\"￦\"#,##0"},
    {"codepage_950_biff5.xls", "工作表1", "繁體中文", "\"NT$\"#,##0.00"},
    {"codepage_10007_biff5.xls", "Лист1", "Привет мир", "#,##0.00\" р.\""},
    {"codepage_10029_biff5.xls", "Arkusz ł", "Ładowność", "#,##0.00\" zł\""},
    // The 1250 book's stream alone, without a compound file.
    {"bare_stream_biff5.xls", "Ärkusz1", "Ładowność", "\"€\"#,##0.00"},
};

TEST(XlsCodePages, TextsAreReadInTheBooksCodePage) {
    for (const CodePageBook &expected : kBooks) {
        const std::string path = kData + expected.file;
        xlsx_test::OpenBook book(path);
        ASSERT_EQ(book.rc(), 0) << expected.file;
        ASSERT_EQ(book.get()->sheet_count, 1) << expected.file;
        EXPECT_STREQ(book.get()->sheets[0].name, expected.sheet) << expected.file;
        EXPECT_EQ(book.text(0, "A1"), expected.text) << expected.file;

        FirstSheet search;
        BookCellReader reader;
        ASSERT_EQ(reader.read(path.c_str(), search), 0) << expected.file;
        EXPECT_EQ(search.sheet, expected.sheet) << expected.file;
        EXPECT_EQ(search.a1, expected.text) << expected.file;
        EXPECT_EQ(search.code, expected.code) << expected.file;
    }
}

TEST(XlsCodePages, RecordValuesThatNameNoConvertibleCodePage) {
    const struct {
        const char *what;
        std::string globals;   // CODEPAGE record, or none
        std::string label;     // A1 of the sheet
        const char *text;
    } cases[] = {
        {"an unknown code page reads as 1252", codepage(12345), label8(0, 0, "\x80 \x8c"), "€ Œ"},
        {"BIFF's alias of Mac Roman", codepage(32768), label8(0, 0, "\x8e\xdb"), "é€"},
        {"a BIFF8 book's 8-bit text in the code page it names", codepage(1251), label8(0, 0, "\xcc\xe8\xf0"), "Мир"},
        {"1200: 8-bit texts are UTF-16 without their high bytes", codepage(1200), label8(0, 0, "\xe9\x80"), "é\u0080"},
    };
    for (const auto &c : cases) {
        LoadedBook loaded;
        load_stream(loaded, bof(5) + c.globals + boundsheet8("S") + eof() + bof(0x10) + c.label + eof());
        ASSERT_EQ(loaded.rc, 0) << c.what;
        EXPECT_EQ(loaded.text(0, 0, 0), c.text) << c.what;
    }
}

TEST(XlsCodePages, BareBiff8StreamIsReadAsTheStream) {
    const std::string stream = bof(5) + codepage(1200) + boundsheet8("Sheet") + eof() + bof(0x10) +
                               label16(0, 0, u"東京") + eof();
    const TempFile file("bare_stream_biff8.xls", stream);
    xlsx_test::OpenBook book(file.path());
    ASSERT_EQ(book.rc(), 0);
    EXPECT_EQ(book.text(0, "A1"), "東京");
    FirstSheet search;
    BookCellReader reader;
    ASSERT_EQ(reader.read(file.path(), search), 0);
    EXPECT_EQ(search.a1, "東京");
}

}  // namespace
