// Excel 2.x, 3.0 and 4.0 worksheet files: one sheet, whose cells follow
// the BOF record, with cell formats and number formats in their older
// layouts (formats numbered by their order; an Excel 2.x cell names its
// number format in its attribute bytes).  An Excel 4.0 workbook is refused.
#include "xls_test_books.h"
#include "xlsx_test_package.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using namespace xlstest;

// BOF of an Excel 3.0 (0x0209) or 4.0 (0x0409) file of the given kind.
std::string old_bof(uint16_t number, uint16_t kind = 0x0010) { return record(number, le16(0) + le16(kind) + le16(0)); }

// A cell format of the older layout: font, number format's place, type.
std::string old_xf(uint16_t number, uint8_t format) {
    return record(number, std::string{0, static_cast<char>(format), 0} + std::string(9, '\0'));
}

std::string code8(const std::string &code) { return std::string(1, static_cast<char>(code.size())) + code; }

TEST(XlsOldWorksheets, CellsOfExcel3And4WorksheetsAreRead) {
    const struct {
        const char *what;
        std::string formats;   // FORMAT records: "General", then "yyyy/mm/dd"
        uint16_t bof, xf;
    } cases[] = {
        {"Excel 3.0", record(0x001E, code8("General")) + record(0x001E, code8("yyyy/mm/dd")), 0x0209, 0x0243},
        {"Excel 4.0", record(0x041E, le16(0) + code8("General")) + record(0x041E, le16(0) + code8("yyyy/mm/dd")), 0x0409, 0x0443},
    };
    for (const auto &c : cases) {
        // Cell format 0 is general, 1 a date; a text in the book's code
        // page, an RK under format 0 and a NUMBER under format 1.
        const std::string stream = old_bof(c.bof) + codepage(1250) + c.formats + old_xf(c.xf, 0) + old_xf(c.xf, 1) +
                                   record(0x0204, le16(0) + le16(0) + le16(0) + le16(4) + "\xa3\xf3\x64\x9f") +
                                   record(0x027E, le16(1) + le16(0) + le16(0) + le32((3u << 2) | 2)) +
                                   number(2, 0, 1, 42454) + eof();
        const TempFile file("old_worksheet.xls", stream);
        xlsx_test::OpenBook book(file.path());
        ASSERT_EQ(book.rc(), 0) << c.what;
        ASSERT_EQ(book.get()->sheet_count, 1) << c.what;
        EXPECT_STREQ(book.get()->sheets[0].name, "Sheet1") << c.what;
        EXPECT_EQ(book.text(0, "A1"), "Łódź") << c.what;
        EXPECT_EQ(book.text(0, "A2"), "3") << c.what;
        EXPECT_EQ(book.text(0, "A3"), "3/25") << c.what;   // a date, as the library shows this code
    }
}

TEST(XlsOldWorksheets, CellsOfExcel2WorksheetsAreRead) {
    // Row, column and the three attribute bytes; the second names the
    // number format.
    auto cell = [](uint16_t number, unsigned row, uint8_t format, const std::string &value) {
        return record(number, le16(row) + le16(0) + std::string{0, static_cast<char>(format), 0} + value);
    };
    const std::string stream =
        record(0x0009, le16(2) + le16(0x10)) + codepage(1250) + record(0x001E, code8("General")) +
        record(0x001E, code8("0.00")) + record(0x001E, code8("yyyy/mm/dd")) + cell(0x0004, 0, 0, code8("\xa3\xf3\x64\x9f")) +
        cell(0x0002, 1, 0, le16(7)) + cell(0x0003, 2, 2, le64(42454)) + cell(0x0005, 3, 0, std::string{1, 0}) +
        cell(0x0006, 4, 0, le64(2.5) + std::string{0, 3, 0x1E, 2, 0}) + eof();
    const TempFile file("excel2_worksheet.xls", stream);
    xlsx_test::OpenBook book(file.path());
    ASSERT_EQ(book.rc(), 0);
    for (const auto &[name, text] : {std::pair{"A1", "Łódź"}, {"A2", "7"}, {"A3", "3/25"}, {"A4", "TRUE"}, {"A5", "2.5"}})
        EXPECT_EQ(book.text(0, name), text) << name;
}

TEST(XlsOldWorksheets, Excel4WorkbookIsNoBookThisProgramReads) {
    const TempFile file("old_workbook.xls", old_bof(0x0409, 0x0100) + eof());
    EXPECT_EQ(xlsx_test::OpenBook(file.path()).rc(), OXLS_ERR_UNSUPPORTED);
}

}  // namespace
