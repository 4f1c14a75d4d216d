// The BIFF reader on workbook streams built record by record: shared
// strings across CONTINUE records, how numbers, texts, booleans and
// formulas land in the cell table, the sheet list, and every limit.
#include "xls_test_books.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace xlstest;

namespace {

// A book with a single worksheet "S" holding `cells`, after `globals`.
void load_sheet(LoadedBook &loaded, const std::string &cells, const std::string &globals = "") {
    load_stream(loaded, workbook(globals, {"S"}, {cells}));
}

bool has(const std::string &text, const std::string &part) { return text.find(part) != std::string::npos; }

uint32_t rk_integer(int value) { return (static_cast<uint32_t>(value) << 2) | 2; }

}  // namespace

TEST(XlsSharedStrings, StringsJoinAcrossContinueRecords) {
    // Piece 1 ends inside a string's 8-bit characters; piece 2 carries the
    // rest as 16-bit characters, then a rich string whose runs are split by
    // the boundary to piece 3, which has no option byte for them.
    const std::string first = sst_string8("alpha") + le16(10) + std::string(1, '\0') + "abcde";
    const std::string second =
        "\1" + utf16le(u"ｆｇ日本語") + le16(3) + std::string(1, '\x0C') + le16(2) + le32(6) + "xyz" + "RUN";
    const std::string third = "RUN12" + std::string("EXTEXT") + sst_string16(u"終わり") + le16(4) + std::string(1, '\0');
    const std::string fourth = "\1" + utf16le(u"山川谷海");
    const std::string globals = sst(9, 5, first) + continue_record(second) + continue_record(third) + continue_record(fourth);
    LoadedBook loaded;
    load_sheet(loaded, "", globals);
    ASSERT_EQ(loaded.rc, 0) << loaded.error();
    std::vector<std::string> strings;
    for (int i = 0; i < loaded.book.sst_count; ++i) strings.push_back(loaded.book.sst[i].text);
    // The last one's characters begin in the next piece.
    EXPECT_EQ(strings, (std::vector<std::string>{"alpha", "abcdeｆｇ日本語", "xyz", "終わり", "山川谷海"}));
}

TEST(XlsSharedStrings, BadStringsAndLimitsAreRefused) {
    LoadedBook bad_option;
    load_sheet(bad_option, "",
               sst(1, 1, le16(6) + std::string(1, '\0') + "abc") + continue_record(std::string(1, '\x05') + "def"));
    EXPECT_EQ(bad_option.rc, -1);

    LoadedBook too_long;
    load_sheet(too_long, "", sst(1, 1, le16(32768) + std::string(1, '\0') + "abc"));
    EXPECT_EQ(too_long.rc, -9);
    EXPECT_TRUE(has(too_long.error(), "OXLS-03009")) << too_long.error();
    EXPECT_TRUE(has(too_long.error(), "(\"32767\")"));
    EXPECT_TRUE(has(too_long.error(), "ozw_put_sst() XLS_CELL_STR_LEN"));
}

TEST(XlsNumbers, NumbersTakeTheKindOfTheirFormat) {
    // Formats 21 to 24 after the 21 general ones: date, percentage, time, custom.
    const std::string globals = xf(14) + xf(9) + xf(20) + xf(170) + format16(170, u"yyyy\"年\"m\"月\"d\"日\"");
    const std::string cells = number(0, 0, 15, 2.5) + number(0, 1, 15, 3.0) + rk(0, 2, 15, rk_integer(-7)) +
                              rk(0, 3, 15, rk_integer(12345) | 1) + rk(0, 4, 15, 0x3FF80000) +
                              number(1, 0, 21, 42454.0) + number(1, 1, 22, 0.25) + number(1, 2, 23, 0.5) +
                              number(1, 3, 24, 42454.0) + number(1, 4, 999, 1.25) + formula_number(1, 5, 15, 12.0) +
                              record(0x00BD, le16(2) + le16(1) + le16(15) + le32(rk_integer(1)) + le16(15) +
                                                 le32(rk_integer(2)) + le16(21) + le32(rk_integer(42454)) + le16(3));
    LoadedBook loaded;
    load_sheet(loaded, cells, globals);
    ASSERT_EQ(loaded.rc, 0) << loaded.error();
    const struct {
        int row, column, type;
        const char *text;   // null: a date or time, no text
    } expected[] = {
        {0, 0, XLS_CELL_DECIMAL, "2.5"}, {0, 1, XLS_CELL_INTEGER, "3"}, {0, 2, XLS_CELL_INTEGER, "-7"},
        {0, 3, XLS_CELL_DECIMAL, "123.45"}, {0, 4, XLS_CELL_DECIMAL, "1.5"}, {1, 0, XLS_CELL_DATE, nullptr},
        {1, 1, XLS_CELL_PERCENT, "0.250000"}, {1, 2, XLS_CELL_TIME_HM, "0.500000"}, {1, 3, XLS_CELL_DATE, nullptr},
        {1, 4, XLS_CELL_DECIMAL, "1.25"},   // a format outside the table: general
        {1, 5, XLS_CELL_INTEGER, "12"}, {2, 1, XLS_CELL_INTEGER, "1"}, {2, 2, XLS_CELL_INTEGER, "2"},
        {2, 3, XLS_CELL_DATE, nullptr},
    };
    for (const auto &e : expected) {
        const XLS_CELL *cell = loaded.cell(0, e.row, e.column);
        ASSERT_NE(cell, nullptr) << e.row << "," << e.column;
        EXPECT_EQ(cell->type, e.type) << e.row << "," << e.column;
        EXPECT_STREQ(cell->text, e.text) << e.row << "," << e.column;
    }
    EXPECT_EQ(loaded.cell(0, 1, 0)->number, 42454);
    EXPECT_EQ(loaded.cell(0, 1, 0)->style, 21u);
}

TEST(XlsNumbers, DatesCountingFrom1904ShowTheSameCalendarDates) {
    // Formats 21 date, 22 time, 23 general.
    const std::string globals = record(0x0022, le16(1)) + xf(14) + xf(21) + xf(0);
    LoadedBook loaded;
    load_sheet(loaded, number(0, 0, 21, 35064) + number(0, 1, 22, 0.5) + number(0, 2, 22, 1.5) + number(0, 3, 23, 35064),
               globals);
    ASSERT_EQ(loaded.rc, 0);
    EXPECT_EQ(loaded.cell(0, 0, 0)->number, 36526);   // 2000-01-01 in the 1900 system
    EXPECT_EQ(loaded.cell(0, 0, 1)->number, 0);       // a time of day alone
    EXPECT_EQ(loaded.cell(0, 0, 2)->number, 1463);
    EXPECT_STREQ(loaded.cell(0, 0, 3)->text, "35064");
}

TEST(XlsCells, TextsBooleansAndFormulaResults) {
    const std::string cells =
        label16(0, 0, u"全角テキスト") + boolerr(0, 2, true) + boolerr(0, 3, true, true) +
        formula_other(1, 0, 1, 0) + formula_other(1, 1, 2, 7) + formula_other(1, 2, 3) + formula_other(1, 3, 0) +
        string8("result") + formula_other(2, 0, 0) +
        record(0x0207, le16(6) + std::string(1, '\0') + "abc") + continue_record("\1" + utf16le(u"日本語")) +
        string8("stray");
    LoadedBook loaded;
    load_sheet(loaded, cells);
    ASSERT_EQ(loaded.rc, 0) << loaded.error();
    EXPECT_EQ(loaded.text(0, 0, 0), "全角テキスト");
    EXPECT_EQ(loaded.text(0, 0, 2), "TRUE");
    EXPECT_EQ(loaded.cell(0, 0, 3), nullptr);   // an error value leaves no cell
    EXPECT_EQ(loaded.text(0, 1, 0), "FALSE");
    EXPECT_EQ(loaded.cell(0, 1, 1)->type, XLS_CELL_EMPTY);
    EXPECT_EQ(loaded.text(0, 1, 2), "");
    EXPECT_EQ(loaded.text(0, 1, 3), "result");
    EXPECT_EQ(loaded.text(0, 2, 0), "abc日本語");
    EXPECT_EQ(loaded.book.sheets[0].row_count, 3);   // the stray STRING wrote nowhere
}

// Records whose cell lies outside the sheet or whose format lies outside
// the format table are refused with the record named.
TEST(XlsCells, RecordsPointingOutsideTheSheetOrTheFormatTableAreRefused) {
    const std::pair<std::string, const char *> cases[] = {
        {number(0, 256, 15, 1), "BIFF_NUMBER row/column overflow"},
        {rk(0, 300, 15, 2), "BIFF_LABELSST row/column overflow"},
        {blank(0, 0xFFFF), "BIFF_LABELSST row/column overflow"},
        {label8(0, 256, "x"), "BIFF_FORMULA row/column overflow"},
        {record(0x00BD, le16(0) + le16(255) + le16(15) + le32(2) + le16(15) + le32(2) + le16(256)),
         "BIFF_MULRK row/column overflow"},
        {rk(0, 0, 21, rk_integer(1)), "(\"21\")"},
        {record(0x00BD, le16(0) + le16(0) + le16(99) + le32(rk_integer(1)) + le16(0)), "BIFF_MULRK"},
        {formula_number(0, 0, 21, 1.0), "BIFF_FORMULA"},
    };
    for (const auto &[records, label] : cases) {
        LoadedBook loaded;
        load_sheet(loaded, records);
        EXPECT_EQ(loaded.rc, -9) << label;
        EXPECT_TRUE(has(loaded.error(), label)) << loaded.error();
    }
}

TEST(XlsSheets, NamesComeFromTheirCodePage) {
    const std::string long_name(32 * 3, 'a');
    std::string stream = bof(5) + codepage(1252) + boundsheet8("\x80uro") + boundsheet16(u"日本語シート") +
                         boundsheet8(long_name) + eof();
    LoadedBook loaded;
    load_stream(loaded, stream);
    ASSERT_EQ(loaded.rc, 0);
    ASSERT_EQ(loaded.book.sheet_count, 3);
    EXPECT_STREQ(loaded.book.sheets[0].name, "€uro");
    EXPECT_STREQ(loaded.book.sheets[1].name, "日本語シート");
    EXPECT_STREQ(loaded.book.sheets[2].name, "");   // longer than 93 bytes

    LoadedBook sjis;   // no CODEPAGE record: Shift-JIS
    load_stream(sjis, bof(5) + boundsheet8("\x93\xfa\x96\x7b") + eof());
    ASSERT_EQ(sjis.book.sheet_count, 1);
    EXPECT_STREQ(sjis.book.sheets[0].name, "日本");
}

TEST(XlsSheets, CellsFollowTheirOwnSheetPastChartSheets) {
    // The globals up to their sheet list: the 21 general cell formats.
    std::string head = bof(5);
    for (int i = 0; i < 21; ++i) head += xf(0);
    // List: a chart sheet, then two worksheets.  The chart substream and a
    // chart embedded in the first worksheet carry NUMBER records of their
    // own data, which are no cells.
    const std::string chart = bof(0x20) + number(0, 0, 15, 99) + eof();
    const std::string globals = head + boundsheet8("Chart", 2) + boundsheet8("First") + boundsheet8("Second") + eof();
    const std::string stream = globals + chart + bof(0x10) + number(0, 0, 15, 1) + chart + number(0, 1, 15, 2) + eof() +
                               bof(0x10) + number(0, 0, 15, 3) + eof();
    LoadedBook loaded;
    load_stream(loaded, stream);
    ASSERT_EQ(loaded.rc, 0) << loaded.error();
    ASSERT_EQ(loaded.book.sheet_count, 3);
    EXPECT_EQ(loaded.book.sheets[0].row_count, 0);
    EXPECT_STREQ(loaded.cell(1, 0, 0)->text, "1");
    EXPECT_STREQ(loaded.cell(1, 0, 1)->text, "2");
    EXPECT_STREQ(loaded.cell(2, 0, 0)->text, "3");

    // Substreams in another order than the list: each BOF position names its sheet.
    const std::string first_sheet = bof(0x10) + number(0, 0, 15, 10) + eof();
    const std::string second_sheet = bof(0x10) + number(0, 0, 15, 20) + eof();
    const size_t globals_size = head.size() + 2 * boundsheet8("A").size() + eof().size();
    const std::string listed = head + boundsheet8("A", 0, static_cast<uint32_t>(globals_size + second_sheet.size())) +
                               boundsheet8("B", 0, static_cast<uint32_t>(globals_size)) + eof();
    LoadedBook swapped;
    load_stream(swapped, listed + second_sheet + first_sheet);
    ASSERT_EQ(swapped.rc, 0);
    EXPECT_STREQ(swapped.cell(0, 0, 0)->text, "10");
    EXPECT_STREQ(swapped.cell(1, 0, 0)->text, "20");
}

TEST(XlsBook, EncryptedAndForeignStreamsAreRefused) {
    LoadedBook encrypted;
    load_stream(encrypted, bof(5) + record(0x002F, le16(1) + std::string(52, '\0')) + boundsheet8("S") + eof());
    EXPECT_EQ(encrypted.rc, -4);
    EXPECT_EQ(encrypted.book.sheet_count, 0);
    EXPECT_TRUE(has(encrypted.last_message(), "ORB-00901")) << encrypted.last_message();

    LoadedBook foreign;
    load_stream(foreign, number(0, 0, 0, 1) + bof(5) + eof());
    EXPECT_EQ(foreign.rc, -1);
    LoadedBook empty;
    load_stream(empty, "");
    EXPECT_EQ(empty.rc, -1);

    // Records after the end of the globals' padding are not read.
    LoadedBook padded;
    load_stream(padded, workbook("", {"S"}, {number(0, 0, 15, 1)}) + std::string(64, '\0') + bof(0x10) + number(0, 0, 15, 5));
    EXPECT_EQ(padded.rc, 0);
    EXPECT_STREQ(padded.cell(0, 0, 0)->text, "1");
}

TEST(XlsBook, UnloadingNamesFillsTheNameList) {
    const std::string names =
        record(0x0018, le16(0) + std::string{0, 5} + le16(0) + le16(0) + le16(0) + std::string(4, '\0') + std::string(1, '\0') + "Sales") +
        record(0x0018, le16(0x20) + std::string{0, 1} + le16(0) + le16(0) + le16(0) + std::string(4, '\0') + std::string{0, 6}) +
        record(0x0293, le16(0x8000) + std::string{0, '\xFF'}) + record(0x0293, le16(0x10) + le16(4) + std::string(1, '\0') + "Mine") +
        record(0x01AE, le16(1) + le16(0x0401)) + record(0x01AE, le16(1) + le16(8) + std::string(1, '\0') + "book.xls") +
        record(0x0894, le16(0x0894) + std::string(10, '\0') + le16(5) + le16(4) + std::string(1, '\0') + "Sales" +
                           std::string(1, '\0') + "note");
    LoadedBook unloaded;
    unloaded.book.flags[OXLS_FLAG_KEEP_NAMES] = 0;
    ASSERT_EQ(ozw_create_name_list(&unloaded.book, "names.log"), 0);
    load_sheet(unloaded, "", names);
    ASSERT_EQ(unloaded.rc, 0);
    const NameList *list = ozw_name_list(&unloaded.book);
    EXPECT_EQ(std::vector<std::string>(list->slots, list->slots + list->count),
              (std::vector<std::string>{"・名前:Sales", "・名前:Print_Area", "・スタイル:Mine", "・名前:book.xls",
                                        "・名前コメント:Sales"}));
}
