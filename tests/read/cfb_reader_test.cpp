// The compound-file reader: header checks, the table of table sectors
// beyond the header's 109, small and big blocks, lookup, damaged chains and
// the Workbook stream extraction.
#include "mfile.h"
#include "read/cfb_reader.h"
#include "xls_test_books.h"

#include <gtest/gtest.h>

#include <string>

using namespace xlstest;

namespace {

std::string pattern(size_t size) {
    std::string bytes(size, '\0');
    for (size_t i = 0; i < size; ++i) bytes[i] = static_cast<char>((i * 7 + i / 251) & 0xFF);
    return bytes;
}

std::string read_all(CfbStorage &storage, const char *path) {
    CfbStream stream(storage, path);
    if (stream.fail()) return "<fail>";
    std::string out(stream.size() + 100, '\0');
    out.resize(stream.read(out.data(), out.size()));
    return out;
}

void put32(std::string &file, size_t offset, uint32_t value) { file.replace(offset, 4, le32(value)); }

int open_result(const std::string &bytes) {
    TempFile file("header.cfb", bytes);
    return CfbStorage(file.path()).result();
}

}  // namespace

TEST(CfbReader, HeaderChecksGiveTheirResultCodes) {
    const std::string good = compound_file({{u"Workbook", pattern(5000)}});
    EXPECT_EQ(open_result(good), CfbStorage::CFB_OK);
    EXPECT_EQ(open_result(good.substr(0, 300)), CfbStorage::CFB_OPEN_FAILED);
    EXPECT_EQ(CfbStorage("/no/such/dir/book.xls").result(), CfbStorage::CFB_OPEN_FAILED);

    std::string bad = good;
    bad[7] = 0;
    EXPECT_EQ(open_result(bad), CfbStorage::CFB_NOT_COMPOUND);

    bad = good;
    put32(bad, 56, 4095);   // threshold
    EXPECT_EQ(open_result(bad), CfbStorage::CFB_DAMAGED);
    for (unsigned shift : {6u, 31u}) {
        bad = good;
        bad.replace(30, 2, le16(shift));
        EXPECT_EQ(open_result(bad), CfbStorage::CFB_DAMAGED) << shift;
    }
    bad = good;
    bad.replace(32, 2, le16(10));   // small blocks larger than big ones
    EXPECT_EQ(open_result(bad), CfbStorage::CFB_DAMAGED);
    bad = good;
    put32(bad, 44, 0);   // no table sectors
    EXPECT_EQ(open_result(bad), CfbStorage::CFB_DAMAGED);
    bad = good;
    put32(bad, 72, 1);   // extension sectors with fewer than 109 table sectors
    EXPECT_EQ(open_result(bad), CfbStorage::CFB_DAMAGED);
    bad = good;
    put32(bad, 44, 0x7FFFFFFF);   // far more table sectors than the file holds
    put32(bad, 72, 0x7FFFFFFF);
    EXPECT_EQ(open_result(bad), CfbStorage::CFB_DAMAGED);
}

TEST(CfbReader, StreamsAtTheThresholdUseTheRightBlocks) {
    const std::string small = pattern(4095);
    const std::string big = pattern(4096);
    TempFile file("threshold.cfb", compound_file({{u"Small", small}, {u"Big", big}, {u"Empty", ""}}));
    CfbStorage storage(file.path());
    ASSERT_TRUE(storage.open());
    EXPECT_EQ(read_all(storage, "Small"), small);
    EXPECT_EQ(read_all(storage, "/Big"), big);
    EXPECT_EQ(read_all(storage, "Empty"), "");
    EXPECT_EQ(read_all(storage, "Missing"), "<fail>");
    EXPECT_EQ(read_all(storage, "/"), "<fail>");   // the root is no stream

    // A short stream left in big blocks by a writer that made no small
    // blocks at all.
    std::string no_small = compound_file({{u"Workbook", big}});
    put32(no_small, (8 + 1) * 512 + 128 + 120, 100);   // the directory follows the stream's 8 sectors
    TempFile left_big("left_big.cfb", no_small);
    CfbStorage left_storage(left_big.path());
    EXPECT_EQ(read_all(left_storage, "Workbook"), big.substr(0, 100));

    // Reads in pieces that cross block boundaries, and past the end.
    CfbStream stream(storage, "Small");
    std::string joined;
    char piece[100];
    size_t got;
    while ((got = stream.read(piece, sizeof piece)) > 0) joined.append(piece, got);
    EXPECT_EQ(joined, small);
    stream.seek(4000);
    EXPECT_EQ(stream.read(piece, sizeof piece), 95u);
}

TEST(CfbReader, ManyTableSectorsAreFoundThroughExtensionSectors) {
    // 128-byte sectors hold 32 table entries each, so a 500 kB stream needs
    // more than 109 table sectors.
    const std::string data = pattern(500000);
    const std::string bytes = compound_file({{u"Workbook", data}}, 7);
    TempFile file("difat.cfb", bytes);
    CfbStorage storage(file.path());
    ASSERT_TRUE(storage.open());
    EXPECT_GT(storage.header().num_bat, 109u);
    EXPECT_GT(storage.header().num_mbat, 0u);
    EXPECT_EQ(read_all(storage, "Workbook"), data);
}

TEST(CfbReader, NamesMatchOnTheirLowBytesOnly) {
    TempFile file("names.cfb", compound_file({{u"\u0005Summary", "x"}, {u"\u65E5Data", "y"}, {u"WORKBOOK", "z"}}));
    CfbStorage storage(file.path());
    ASSERT_TRUE(storage.open());
    EXPECT_EQ(read_all(storage, "Summary"), "x");        // leading control character dropped
    EXPECT_EQ(read_all(storage, "\xE5" "Data"), "y");    // U+65E5 kept as its low byte
    EXPECT_EQ(storage.entry("\xE6\x97\xA5" "Data"), nullptr);
    ASSERT_NE(storage.entry("workbook"), nullptr);   // letter case is ignored
    EXPECT_EQ(storage.entry("Workbook")->name, "WORKBOOK");
}

TEST(CfbReader, DamagedChainsEndInsteadOfLooping) {
    const std::string data = pattern(6000);
    const std::string good = compound_file({{u"Workbook", data}});
    // The stream occupies sectors 0 to 11; the table is the sector after
    // the directory.
    TempFile probe("probe.cfb", good);
    CfbStorage storage(probe.path());
    ASSERT_TRUE(storage.open());
    const size_t table_offset = (storage.header().bat_blocks[0] + 1) * 512u;

    std::string looped = good;
    put32(looped, table_offset + 4 * 5, 2);   // sector 5 leads back to sector 2
    TempFile loop_file("loop.cfb", looped);
    CfbStorage loop_storage(loop_file.path());
    ASSERT_TRUE(loop_storage.open());
    EXPECT_EQ(read_all(loop_storage, "Workbook"), "<fail>");
    EXPECT_EQ(cfb_extract_workbook(loop_file.path(), "cfb_test_stream"), -1);
    mfree_all();

    std::string cut = good;
    put32(cut, table_offset + 4 * 5, 0x00FFFFFF);   // a sector number outside the table
    TempFile cut_file("cut.cfb", cut);
    CfbStorage cut_storage(cut_file.path());
    EXPECT_EQ(read_all(cut_storage, "Workbook"), data.substr(0, 6 * 512));

    std::string dir_loop = good;
    put32(dir_loop, (storage.header().dirent_start + 1) * 512u + 128 + 72, 1);   // an entry its own sibling
    TempFile dir_file("dirloop.cfb", dir_loop);
    CfbStorage dir_storage(dir_file.path());
    ASSERT_TRUE(dir_storage.open());
    EXPECT_EQ(dir_storage.entry("Nothing"), nullptr);

    std::string dir_cycle = good;
    put32(dir_cycle, table_offset + 4 * storage.header().dirent_start, storage.header().dirent_start);
    EXPECT_EQ(open_result(dir_cycle), CfbStorage::CFB_DAMAGED);
}

TEST(CfbReader, ExtractionCopiesWorkbookElseBookIntoAMemoryFile) {
    const std::string data = pattern(10000);
    TempFile book_file("book.cfb", compound_file({{u"Book", data}}));
    ASSERT_EQ(cfb_extract_workbook(book_file.path(), "cfb_test_stream"), 0);
    EXPECT_EQ(mlength("cfb_test_stream"), static_cast<long long>(data.size()));
    MFILE *copy = mopen("cfb_test_stream", "rb");
    ASSERT_NE(copy, nullptr);
    std::string back(data.size(), '\0');
    EXPECT_EQ(mread(back.data(), 1, back.size(), copy), data.size());
    mclose(copy);
    EXPECT_EQ(back, data);

    // "Workbook" is looked for first, in any letter case.
    for (const char16_t *name : {u"Workbook", u"WorkBook"}) {
        TempFile both("both.cfb", compound_file({{u"Book", "old"}, {name, "newer"}}));
        ASSERT_EQ(cfb_extract_workbook(both.path(), "cfb_test_stream"), 0);
        EXPECT_EQ(mlength("cfb_test_stream"), 5);
    }

    TempFile neither("neither.cfb", compound_file({{u"Other", "x"}}));
    EXPECT_EQ(cfb_extract_workbook(neither.path(), "cfb_test_stream"), -1);
    TempFile plain("plain.cfb", std::string(2048, 'x'));
    EXPECT_EQ(cfb_extract_workbook(plain.path(), "cfb_test_stream"), -1);
    mfree_all();
}
