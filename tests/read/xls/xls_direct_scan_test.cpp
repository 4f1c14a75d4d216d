// Reading a book without an extracted stream: the streams the direct scan
// cannot give, which the compound-file reader reads instead, and its limit
// on workbook entries.  (That the scan reads the cells the extracted stream
// gives is checked on every corpus book by CorpusSweep.)
#include "xls/biff_direct_scan.h"
#include "xls_test_books.h"

#include <gtest/gtest.h>

#include <string>

using namespace xlstest;

namespace {

std::string sample_stream() {
    std::string cells;
    for (unsigned row = 0; row < 300; ++row) cells += number(row, 0, 15, row * 1.5);
    return workbook(sst(1, 1, sst_string8("scan")), {"Data"}, {labelsst(0, 1, 0) + cells});
}

}  // namespace

TEST(XlsDirectScan, StreamsTheScanCannotGiveAreReadThroughTheCompoundFileReader) {
    // LibreOffice's book with its Workbook sectors out of order in the file.
    const std::string fragmented = std::string(ZS_TEST_DATA_DIR) + "/xls/fragmented_libreoffice.xls";
    LoadedBook scanned;
    load_scanned(scanned, fragmented.c_str());
    ASSERT_EQ(scanned.rc, 0) << scanned.error();
    ASSERT_EQ(scanned.book.sheet_count, 1);
    ASSERT_EQ(scanned.book.sheets[0].row_count, 80);
    for (int row = 0; row < 80; ++row) EXPECT_EQ(scanned.text(0, row, 0), "行" + std::to_string(row + 1));

    // An old book with both "Book" and "WorkBook": the workbook stream is
    // the one named in any letter case, read whole although the scan does
    // not recognise its name.
    const std::string old_stream = workbook("", {"Old"}, {number(0, 0, 15, 1)});
    TempFile both("book_and_workbook.xls", compound_file({{u"Book", old_stream}, {u"WorkBook", sample_stream()}}));
    LoadedBook loaded;
    load_scanned(loaded, both.path());
    ASSERT_EQ(loaded.rc, 0) << loaded.error();
    EXPECT_STREQ(loaded.book.sheets[0].name, "Data");
    EXPECT_EQ(loaded.book.sheets[0].row_count, 300);

    // A compound file with short sectors of another size is read whole.
    std::string other_short_sectors = compound_file({{u"Workbook", sample_stream()}});
    other_short_sectors.replace(32, 2, le16(7));
    TempFile other("short_sectors.xls", other_short_sectors);
    LoadedBook read_whole;
    load_scanned(read_whole, other.path());
    ASSERT_EQ(read_whole.rc, 0) << read_whole.error();
    EXPECT_EQ(read_whole.book.sheets[0].row_count, 300);
}

TEST(XlsDirectScan, TakesAtMostOneHundredWorkbookEntries) {
    std::vector<Stream> streams;
    for (int i = 0; i < 101; ++i) streams.push_back({u"Workbook", "x"});
    TempFile file("many.xls", compound_file(streams));
    std::vector<BiffStreamSpan> spans;
    LoadedBook loaded;
    ByteSource many(file.path());
    EXPECT_EQ(biff_scan_workbook_streams(&loaded.book, many, spans), -1);
    EXPECT_TRUE(spans.empty());
    EXPECT_NE(loaded.last_message().find("WORKBOOK"), std::string::npos);

    streams.pop_back();
    TempFile fewer("hundred.xls", compound_file(streams));
    ByteSource hundred(fewer.path());
    EXPECT_EQ(biff_scan_workbook_streams(&loaded.book, hundred, spans), 0);
    EXPECT_EQ(spans.size(), 100u);
}
