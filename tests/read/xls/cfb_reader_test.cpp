// The compound-file reader: header checks, small and big blocks, lookup,
// damaged and circular chains, and the workbook stream extraction.
#include "mfile.h"
#include "xls/cfb_reader.h"
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
    const CfbEntry *entry = storage.entry(path);
    if (!entry) return "<fail>";
    CfbStream stream(storage, *entry);
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

TEST(CfbReader, HeaderChecksGiveTheirResultCodes) {
    const std::string good = compound_file({{u"Workbook", pattern(5000)}});
    EXPECT_EQ(open_result(good), CfbStorage::CFB_OK);
    EXPECT_EQ(open_result(good.substr(0, 300)), CfbStorage::CFB_OPEN_FAILED);
    EXPECT_EQ(CfbStorage("/no/such/dir/book.xls").result(), CfbStorage::CFB_OPEN_FAILED);
    const struct {
        size_t offset;
        std::string bytes;
        int result;
    } damages[] = {
        {7, std::string(1, '\0'), CfbStorage::CFB_NOT_COMPOUND},
        {56, le32(4095), CfbStorage::CFB_DAMAGED},                 // threshold
        {30, le16(6), CfbStorage::CFB_DAMAGED},                    // sector shift too small
        {30, le16(31), CfbStorage::CFB_DAMAGED},                   // and too large
        {32, le16(10), CfbStorage::CFB_DAMAGED},                   // small blocks larger than big ones
        {44, le32(0), CfbStorage::CFB_DAMAGED},                    // no table sectors
        {72, le32(1), CfbStorage::CFB_DAMAGED},                    // extension sectors with fewer than 109
        {44, le32(0x7FFFFFFF) + std::string(24, '\0') + le32(0x7FFFFFFF), CfbStorage::CFB_DAMAGED},
        // 5000 table sectors, listed by 1000 extension sectors chained from
        // sector 0 on.
        {44, le32(5000) + good.substr(48, 20) + le32(0) + le32(1000), CfbStorage::CFB_DAMAGED},
    };
    for (const auto &damage : damages) {
        std::string bad = good;
        bad.replace(damage.offset, damage.bytes.size(), damage.bytes);
        EXPECT_EQ(open_result(bad), damage.result) << "at " << damage.offset;
    }
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
}

// Chains that lead out of the file or run in circles end the read; they
// never loop.  The stream occupies sectors 0 to 11, the directory sector
// 12 and the table sector 13.
TEST(CfbReader, DamagedAndCircularChainsEndTheRead) {
    const std::string data = pattern(6000);
    const std::string good = compound_file({{u"Workbook", data}});
    const size_t table = 14 * 512;
    const size_t directory = 13 * 512;
    const struct {
        const char *what;
        size_t offset;
        uint32_t value;
        int open;              // result of opening the storage
        const char *stream;    // what reading the stream gives
    } cases[] = {
        {"stream sector leads back", table + 4 * 5, 2, CfbStorage::CFB_OK, "<fail>"},
        {"stream sector outside the table", table + 4 * 5, 0x00FFFFFF, CfbStorage::CFB_OK, "<six sectors>"},
        {"directory chain leads to itself", table + 4 * 12, 12, CfbStorage::CFB_DAMAGED, ""},
        {"entry its own sibling", directory + 128 + 72, 1, CfbStorage::CFB_OK, nullptr},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        std::string bad = good;
        put32(bad, c.offset, c.value);
        TempFile file("chain.cfb", bad);
        CfbStorage storage(file.path());
        ASSERT_EQ(storage.result(), c.open);
        if (c.open != CfbStorage::CFB_OK) {
            EXPECT_NE(cfb_extract_workbook(file.path(), "cfb_test_stream"), 0);
            continue;
        }
        if (!c.stream) {
            EXPECT_EQ(storage.entry("Nothing"), nullptr);
            continue;
        }
        const std::string expected = c.stream == std::string("<six sectors>") ? data.substr(0, 6 * 512) : c.stream;
        EXPECT_EQ(read_all(storage, "Workbook"), expected);
        if (expected == "<fail>") {
            EXPECT_EQ(cfb_extract_workbook(file.path(), "cfb_test_stream"), -1);
        }
    }
    mfree_all();
}

TEST(CfbReader, ExtractionCopiesWorkbookElseBookIntoAMemoryFile) {
    const std::string data = pattern(10000);
    TempFile book_file("book.cfb", compound_file({{u"Book", data}}));
    ASSERT_EQ(cfb_extract_workbook(book_file.path(), "cfb_test_stream"), 0);
    MFILE *copy = mopen("cfb_test_stream", "rb");
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(std::string(reinterpret_cast<char *>(copy->data), static_cast<size_t>(copy->length)), data);
    // That "Workbook", in any letter case, comes before "Book" is checked
    // by XlsDirectScan.StreamsTheScanCannotGiveAreReadThroughTheCompoundFileReader.

    TempFile neither("neither.cfb", compound_file({{u"Other", "x"}}));
    EXPECT_EQ(cfb_extract_workbook(neither.path(), "cfb_test_stream"), -1);
    mfree_all();
}

}  // namespace
