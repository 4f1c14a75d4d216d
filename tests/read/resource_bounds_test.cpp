// Hostile books that try to make the readers run without end or without
// bound: packages that inflate far beyond their size, hold too many parts,
// nest XML too deep or name absurd rows; compound files whose allocation
// chains run in circles; workbook streams whose string counts lie or whose
// CONTINUE records never end.  Each is opened the way the search
// application opens a book and must be refused (or read) quickly, with the
// code and message of its limit.
#include "book_record.h"
#include "mfile.h"
#include "oxls.h"
#include "read/biff_sst.h"
#include "read/cfb_reader.h"
#include "read/readers.h"
#include "work_area.h"
#include "zip_extract.h"

#include <gtest/gtest.h>

#include <zip.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

// Every hostile book must be dealt with well within this time, also under
// the sanitizers on a busy machine.
constexpr auto kPatience = std::chrono::seconds(20);

struct OpenResult {
    int rc = 0;
    std::string message;   // UTF-8
};

class ResourceBoundsTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder_ = fs::path(::testing::TempDir()) /
                  ("zs_bounds_" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::create_directories(folder_);
        start_ = Clock::now();
    }
    void TearDown() override {
        EXPECT_LT(Clock::now() - start_, kPatience);
        mfree_all();
        fs::remove_all(folder_);
    }

    // Opens the book as the search application does; .xls books go
    // through a copy of their workbook stream.  The book is read cell by
    // cell when it opens, then closed.
    OpenResult open(const fs::path &path) {
        std::string arguments = "CHARSET=UTF8 EXCEL=\"" + path.string() + "\" MODE=UNLOAD";
        if (path.extension() == ".xls") {
            EXPECT_EQ(cfb_extract_workbook(path.c_str(), "bounds-workbook.tmp"), 0);
            arguments += " TEMP_WORKBOOK_PATH=\"bounds-workbook.tmp\"";
        }
        book_ = std::make_unique<XLS_BOOK>();
        OpenResult result;
        result.rc = OXLS_open_book(book_.get(), arguments.c_str());
        result.message = OXLS_error_mesg(book_.get());
        if (result.rc == 0) OXLS_close_book(book_.get(), nullptr);
        else if (book_->work) OXLS_free_book(book_.get());
        return result;
    }

    fs::path folder_;
    std::unique_ptr<XLS_BOOK> book_;
    Clock::time_point start_;
};

// ---- packages --------------------------------------------------------------

void put_u16(std::vector<unsigned char> &bytes, size_t at, uint16_t value) {
    bytes[at] = static_cast<unsigned char>(value);
    bytes[at + 1] = static_cast<unsigned char>(value >> 8);
}
void put_u32(std::vector<unsigned char> &bytes, size_t at, uint32_t value) {
    for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<unsigned char>(value >> (8 * i));
}

using Parts = std::vector<std::pair<std::string, std::string>>;

void write_package(const fs::path &path, const Parts &parts, int method = Z_DEFLATED, int zip64 = 1) {
    zipFile zip = zipOpen64(path.c_str(), APPEND_STATUS_CREATE);
    ASSERT_NE(zip, nullptr);
    for (const auto &[name, text] : parts) {
        zip_fileinfo info{};
        ASSERT_EQ(zipOpenNewFileInZip64(zip, name.c_str(), &info, nullptr, 0, nullptr, 0, nullptr, method,
                                        Z_DEFAULT_COMPRESSION, zip64),
                  ZIP_OK);
        ASSERT_EQ(zipWriteInFileInZip(zip, text.data(), static_cast<unsigned>(text.size())), ZIP_OK);
        ASSERT_EQ(zipCloseFileInZip(zip), ZIP_OK);
    }
    ASSERT_EQ(zipClose(zip, nullptr), ZIP_OK);
}

Parts book_parts(const std::string &sheet_xml, const std::string &shared_strings = "") {
    Parts parts{{"xl/workbook.xml", "<workbook><sheets><sheet name=\"S\" sheetId=\"1\"/></sheets></workbook>"},
                {"xl/worksheets/sheet1.xml", "<worksheet>" + sheet_xml + "</worksheet>"}};
    if (!shared_strings.empty()) parts.emplace_back("xl/sharedStrings.xml", "<sst>" + shared_strings + "</sst>");
    return parts;
}

// Reads the package as OXLS_open_book does, within the extraction bounds
// given to the book.
int read_package(const fs::path &path, const ZipExtractLimits &limits) {
    auto book = std::make_unique<XLS_BOOK>();
    ozw_new_work(book.get())->limits = limits;
    EXPECT_EQ(ozw_init_book(book.get(), BOOK_KIND_XLSX), 0);
    int rc = ozw_read_excel2007(book.get(), path.c_str());
    ozw_free_work(book.get());
    ozw_release_book(book.get());
    return rc;
}

TEST_F(ResourceBoundsTest, PackagePartsThatInflateFarBeyondTheirSizeAreRefused) {
    // The bounds scaled down so that the test stays small; the mechanism
    // is the one that guards the real bounds (1 GiB a part, 4 GiB a
    // package, 1000:1 above 100 MiB).
    ZipExtractLimits limits;
    limits.ratio_from_bytes = 1 << 20;
    limits.ratio = 100;
    limits.part_bytes = 32 << 20;
    limits.package_bytes = 64 << 20;

    const fs::path bomb = folder_ / "bomb.xlsx";
    Parts parts = book_parts("<sheetData/>");
    parts.emplace_back("xl/media/zeros.bin", std::string(8 << 20, '\0'));
    write_package(bomb, parts);
    ASSERT_LT(fs::file_size(bomb), 100000u);
    EXPECT_EQ(read_package(bomb, limits), OXLS_ERR_UNSUPPORTED);

    // Over the absolute bound for one part, however well it compresses.
    limits.ratio = 1000000;
    limits.part_bytes = 4 << 20;
    EXPECT_EQ(read_package(bomb, limits), OXLS_ERR_UNSUPPORTED);

    // Within every bound the same package opens.
    limits.part_bytes = 32 << 20;
    EXPECT_EQ(read_package(bomb, limits), 0);
}

// A zip of one empty stored part whose end records claim `entries` parts:
// a zip64 end record, its locator and the classic end record.
std::string zip_claiming(uint64_t entries) {
    std::vector<unsigned char> bytes(31 + 56 + 20 + 22, 0);
    put_u32(bytes, 0, 0x04034b50);        // local header of the part "a"
    put_u16(bytes, 4, 10);
    put_u16(bytes, 26, 1);
    bytes[30] = 'a';
    const size_t end = 31;
    put_u32(bytes, end, 0x06064b50);
    put_u32(bytes, end + 4, 44);          // size of the rest of the record
    put_u16(bytes, end + 12, 45);
    put_u16(bytes, end + 14, 45);
    for (int i = 0; i < 8; ++i) {
        bytes[end + 24 + i] = static_cast<unsigned char>(entries >> (8 * i));   // entries on this disk
        bytes[end + 32 + i] = static_cast<unsigned char>(entries >> (8 * i));   // entries in all
    }
    put_u32(bytes, end + 48, static_cast<uint32_t>(end));   // the directory would start here
    put_u32(bytes, end + 56, 0x07064b50);                    // locator of the record above
    put_u32(bytes, end + 64, static_cast<uint32_t>(end));
    put_u32(bytes, end + 72, 1);
    put_u32(bytes, end + 76, 0x06054b50);
    put_u16(bytes, end + 84, 0xFFFF);
    put_u16(bytes, end + 86, 0xFFFF);
    put_u32(bytes, end + 88, 0xFFFFFFFF);
    put_u32(bytes, end + 92, 0xFFFFFFFF);
    return std::string(bytes.begin(), bytes.end());
}

TEST_F(ResourceBoundsTest, PackagesWithMorePartsThanTheMemoryFileTableAreRefused) {
    // A directory that claims a million parts: the name list grows to the
    // size of the memory-file table and no further.
    const fs::path million = folder_ / "million.xlsx";
    std::ofstream(million, std::ios::binary) << zip_claiming(1000000);
    OpenResult result = open(million);
    EXPECT_EQ(result.rc, OXLS_ERR_FAILED);
    EXPECT_NE(result.message.find("rc=-9"), std::string::npos) << result.message;
    EXPECT_EQ(mcount(), 0);

    // A directory that holds more parts than the 65535 its end claims (as a
    // writer that does not know zip64 leaves it): the package is refused
    // after one pass instead of being extracted again for every step of
    // the list's growth.
    const fs::path lying = folder_ / "lying.xlsx";
    Parts parts = book_parts("<sheetData/>");
    for (int i = 0; i < 67000; ++i) parts.emplace_back("p/" + std::to_string(i), "");
    write_package(lying, parts, 0, 0);
    result = open(lying);
    EXPECT_EQ(result.rc, OXLS_ERR_FAILED);
    EXPECT_NE(result.message.find("rc=-9"), std::string::npos) << result.message;
}

TEST_F(ResourceBoundsTest, XmlNestedPastTheLimitFailsThePartAndUpToItReads) {
    // The worksheet element and its sheetData take two levels.
    auto nested = [](int levels) {
        std::string xml = "<sheetData><row r=\"1\"><c r=\"A1\" t=\"inlineStr\"><v>1</v></c></row></sheetData>";
        for (int i = 0; i < levels; ++i) xml = "<extLst>" + xml + "</extLst>";
        return xml;
    };
    const fs::path deep = folder_ / "deep.xlsx";
    write_package(deep, book_parts(nested(100)));
    const OpenResult refused = open(deep);
    EXPECT_EQ(refused.rc, OXLS_ERR_FAILED);
    EXPECT_NE(refused.message.find("OXLS-03600"), std::string::npos) << refused.message;

    const fs::path fits = folder_ / "fits.xlsx";
    write_package(fits, book_parts(nested(95)));
    EXPECT_EQ(open(fits).rc, 0);
}

TEST_F(ResourceBoundsTest, AbsurdDimensionsAndRowNumbersAllocateNothingBeyondTheSheet) {
    const fs::path absurd = folder_ / "absurd.xlsx";
    write_package(absurd, book_parts("<dimension ref=\"A1:XFD1048576\"/><sheetData>"
                                     "<row r=\"4294967297\"><c r=\"A4294967297\"><v>1</v></c></row>"
                                     "<row r=\"99999999999999999999\"><c><v>2</v></c></row>"
                                     "<row r=\"2\"><c r=\"XFE2\"><v>3</v></c><c r=\"ZZZZ2\"><v>4</v></c>"
                                     "<c r=\"B2\"><v>5</v></c></row>"
                                     "<row r=\"1048576\"><c r=\"C1048576\"><v>6</v></c></row>"
                                     "</sheetData>"));
    auto book = std::make_unique<XLS_BOOK>();
    ASSERT_EQ(OXLS_open_book(book.get(), ("CHARSET=UTF8 EXCEL=\"" + absurd.string() + "\" MODE=UNLOAD").c_str()), 0);
    ASSERT_EQ(OXLS_open_sheet2(book.get(), 0), 0);
    char text[64];
    char type[64];
    EXPECT_EQ(OXLS_get_cell(book.get(), "B2", text, sizeof text, type, sizeof type), 0);
    EXPECT_STREQ(text, "5");
    EXPECT_EQ(OXLS_get_cell(book.get(), "C1048576", text, sizeof text, type, sizeof type), 0);
    EXPECT_STREQ(text, "6");
    // Rows past the sheet are not wrapped into it.
    EXPECT_NE(OXLS_get_cell(book.get(), "A1", text, sizeof text, type, sizeof type), 0);
    // Only row 2 and the last row hold cells; row 2 ends at column B.
    EXPECT_EQ(book->sheets[0].rows[1].cell_count, 2);
    EXPECT_EQ(OXLS_close_book(book.get(), nullptr), 0);
}

TEST_F(ResourceBoundsTest, SharedStringsLongerThanACellCanHoldAreRefused) {
    const fs::path huge = folder_ / "huge.xlsx";
    std::string cells;
    for (int row = 1; row <= 200; ++row) cells += "<row r=\"" + std::to_string(row) + "\"><c t=\"s\"><v>0</v></c></row>";
    write_package(huge, book_parts("<sheetData>" + cells + "</sheetData>",
                                   "<si><t>" + std::string(XLS_CELL_UTF8_LEN + 1, 'x') + "</t></si>"));
    const OpenResult refused = open(huge);
    EXPECT_EQ(refused.rc, OXLS_ERR_FAILED);
    EXPECT_NE(refused.message.find("rc=-9"), std::string::npos) << refused.message;

    // The longest text a cell can hold is read.
    const fs::path longest = folder_ / "longest.xlsx";
    write_package(longest, book_parts("<sheetData>" + cells + "</sheetData>",
                                      "<si><t>" + std::string(XLS_CELL_UTF8_LEN, 'x') + "</t></si>"));
    EXPECT_EQ(open(longest).rc, 0);
}

// ---- compound files and workbook streams -----------------------------------

// A compound file of 512-byte sectors holding one stream named
// "Workbook": the big-block table first, then the directory, then the
// stream, padded with zeros (which end a workbook stream after its last
// EOF record) to at least 4096 bytes so that it lives in big blocks.
// `rewire` may change table entries to make chains run in circles.
std::vector<unsigned char> compound_file(std::vector<unsigned char> stream,
                                         void (*rewire)(std::vector<uint32_t> &table, uint32_t directory,
                                                        uint32_t stream_start) = nullptr) {
    constexpr size_t kSector = 512;
    stream.resize(std::max<size_t>((stream.size() + kSector - 1) / kSector * kSector, CFB_THRESHOLD), 0);
    const uint32_t stream_size = static_cast<uint32_t>(stream.size());
    const uint32_t stream_sectors = stream_size / kSector;
    uint32_t table_sectors = 1;
    while (table_sectors * 128 < table_sectors + 1 + stream_sectors) ++table_sectors;
    const uint32_t directory = table_sectors;
    const uint32_t stream_start = directory + 1;

    std::vector<uint32_t> table(table_sectors * 128, CFB_FREE);
    for (uint32_t i = 0; i < table_sectors; ++i) table[i] = CFB_BAT_SECTOR;
    table[directory] = CFB_END_OF_CHAIN;
    for (uint32_t i = 0; i < stream_sectors; ++i)
        table[stream_start + i] = i + 1 < stream_sectors ? stream_start + i + 1 : CFB_END_OF_CHAIN;
    if (rewire) rewire(table, directory, stream_start);

    std::vector<unsigned char> file(kSector, 0);
    const unsigned char signature[] = {0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1};
    std::memcpy(file.data(), signature, sizeof signature);
    put_u16(file, 24, 0x3E);
    put_u16(file, 26, 3);
    put_u16(file, 28, 0xFFFE);
    put_u16(file, 30, 9);
    put_u16(file, 32, 6);
    put_u32(file, 44, table_sectors);
    put_u32(file, 48, directory);
    put_u32(file, 56, CFB_THRESHOLD);
    put_u32(file, 60, CFB_END_OF_CHAIN);
    put_u32(file, 68, CFB_END_OF_CHAIN);
    for (uint32_t i = 0; i < CFB_HEADER_BAT_BLOCKS; ++i) put_u32(file, 76 + 4 * i, i < table_sectors ? i : CFB_FREE);

    for (uint32_t entry : table) {
        file.resize(file.size() + 4);
        put_u32(file, file.size() - 4, entry);
    }
    std::vector<unsigned char> entries(kSector, 0);
    auto name_entry = [&](size_t at, const char *name, int type, uint32_t child, uint32_t start, uint32_t size) {
        size_t length = std::strlen(name);
        for (size_t i = 0; i < length; ++i) entries[at + 2 * i] = static_cast<unsigned char>(name[i]);
        put_u16(entries, at + 64, static_cast<uint16_t>(2 * (length + 1)));
        entries[at + 66] = static_cast<unsigned char>(type);
        put_u32(entries, at + 68, CFB_FREE);
        put_u32(entries, at + 72, CFB_FREE);
        put_u32(entries, at + 76, child);
        put_u32(entries, at + 116, start);
        put_u32(entries, at + 120, size);
    };
    name_entry(0, "Root Entry", CFB_TYPE_ROOT, 1, CFB_END_OF_CHAIN, 0);
    name_entry(128, "Workbook", CFB_TYPE_STREAM, CFB_FREE, stream_start, stream_size);
    file.insert(file.end(), entries.begin(), entries.end());
    file.insert(file.end(), stream.begin(), stream.end());
    return file;
}

void write_file(const fs::path &path, const std::vector<unsigned char> &bytes) {
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char *>(bytes.data()),
                                                 static_cast<std::streamsize>(bytes.size()));
}

// BIFF8 records.
void record(std::vector<unsigned char> &stream, uint16_t number, const std::vector<unsigned char> &data = {}) {
    const size_t at = stream.size();
    stream.resize(at + 4);
    put_u16(stream, at, number);
    put_u16(stream, at + 2, static_cast<uint16_t>(data.size()));
    stream.insert(stream.end(), data.begin(), data.end());
}
std::vector<unsigned char> bof(uint16_t kind) {
    std::vector<unsigned char> data(16, 0);
    put_u16(data, 0, 0x0600);
    put_u16(data, 2, kind);
    return data;
}
std::vector<unsigned char> sheet_entry(const char *name) {
    std::vector<unsigned char> data{0, 0, 0, 0, 0, 0, static_cast<unsigned char>(std::strlen(name)), 0};
    data.insert(data.end(), name, name + std::strlen(name));
    return data;
}
std::vector<unsigned char> cell(uint16_t row, uint16_t column, std::vector<unsigned char> value) {
    std::vector<unsigned char> data(6, 0);
    put_u16(data, 0, row);
    put_u16(data, 2, column);
    data.insert(data.end(), value.begin(), value.end());
    return data;
}

// A workbook stream of one sheet: the globals (with `globals_tail` added
// before their end), then the sheet's cell records.
std::vector<unsigned char> workbook(const std::vector<unsigned char> &globals_tail,
                                    const std::vector<unsigned char> &cells) {
    std::vector<unsigned char> stream;
    record(stream, 0x0809, bof(0x0005));
    std::vector<unsigned char> xf(20, 0);
    record(stream, 0x00E0, xf);
    record(stream, 0x0085, sheet_entry("S"));
    stream.insert(stream.end(), globals_tail.begin(), globals_tail.end());
    record(stream, 0x000A);
    record(stream, 0x0809, bof(0x0010));
    stream.insert(stream.end(), cells.begin(), cells.end());
    record(stream, 0x000A);
    return stream;
}

std::vector<unsigned char> sst(uint32_t total, uint32_t unique, const std::vector<std::string> &strings) {
    std::vector<unsigned char> data(8, 0);
    put_u32(data, 0, total);
    put_u32(data, 4, unique);
    for (const std::string &text : strings) {
        data.push_back(static_cast<unsigned char>(text.size()));
        data.push_back(0);
        data.push_back(0);
        data.insert(data.end(), text.begin(), text.end());
    }
    std::vector<unsigned char> out;
    record(out, 0x00FC, data);
    return out;
}

std::vector<unsigned char> label_sst(uint16_t row, uint32_t index) {
    std::vector<unsigned char> value(4, 0);
    put_u32(value, 0, index);
    std::vector<unsigned char> out;
    record(out, 0x00FD, cell(row, 0, value));
    return out;
}

TEST_F(ResourceBoundsTest, AllocationChainsThatRunInCirclesEndTheRead) {
    // The directory's chain leads back to itself.
    const fs::path directory_loop = folder_ / "directory_loop.xls";
    write_file(directory_loop, compound_file(workbook({}, {}), [](std::vector<uint32_t> &table, uint32_t directory,
                                                                   uint32_t) { table[directory] = directory; }));
    EXPECT_FALSE(CfbStorage(directory_loop.c_str()).open());
    EXPECT_NE(cfb_extract_workbook(directory_loop.c_str(), "loop.tmp"), 0);

    // The stream's chain turns back after its second sector.
    const fs::path stream_loop = folder_ / "stream_loop.xls";
    write_file(stream_loop, compound_file(workbook({}, {}), [](std::vector<uint32_t> &table, uint32_t,
                                                               uint32_t start) { table[start + 1] = start; }));
    CfbStorage storage(stream_loop.c_str());
    ASSERT_TRUE(storage.open());
    EXPECT_TRUE(CfbStream(storage, "Workbook").fail());
    EXPECT_NE(cfb_extract_workbook(stream_loop.c_str(), "loop.tmp"), 0);

    // The same book with its chains intact opens.
    const fs::path intact = folder_ / "intact.xls";
    write_file(intact, compound_file(workbook({}, {})));
    EXPECT_EQ(open(intact).rc, 0);
}

TEST_F(ResourceBoundsTest, SharedStringCountsThatLieAreNotTrusted) {
    // Four billion strings announced, two present; a cell that refers past
    // them is refused with its limit.
    const fs::path lying = folder_ / "lying.xls";
    std::vector<unsigned char> cells = label_sst(0, 1);
    write_file(lying, compound_file(workbook(sst(0xFFFFFFFF, 0xFFFFFFFF, {"ab", "cd"}), cells)));
    auto book = std::make_unique<XLS_BOOK>();
    ASSERT_EQ(cfb_extract_workbook(lying.c_str(), "lying.tmp"), 0);
    ASSERT_EQ(OXLS_open_book(book.get(), ("CHARSET=UTF8 EXCEL=\"" + lying.string() +
                                          "\" MODE=UNLOAD TEMP_WORKBOOK_PATH=\"lying.tmp\"").c_str()),
              0);
    EXPECT_EQ(book->sst_count, 2);
    ASSERT_EQ(OXLS_open_sheet2(book.get(), 0), 0);
    char text[16];
    char type[16];
    EXPECT_EQ(OXLS_get_cell(book.get(), "A1", text, sizeof text, type, sizeof type), 0);
    EXPECT_STREQ(text, "cd");
    OXLS_close_book(book.get(), nullptr);

    const fs::path past = folder_ / "past.xls";
    cells = label_sst(0, 2);
    write_file(past, compound_file(workbook(sst(1, 1, {"ab", "cd"}), cells)));
    const OpenResult refused = open(past);
    EXPECT_EQ(refused.rc, OXLS_ERR_FAILED);
    EXPECT_NE(refused.message.find("BIFF_LABELSST sst"), std::string::npos) << refused.message;
}

TEST_F(ResourceBoundsTest, ContinueChainsPastTheirLimitAreRefused) {
    std::vector<unsigned char> tail = sst(1, 1, {"ab"});
    for (int i = 0; i < OZW_MAX_CONTINUE; ++i) record(tail, 0x003C, {0, 'x'});
    const fs::path endless = folder_ / "endless.xls";
    write_file(endless, compound_file(workbook(tail, label_sst(0, 0))));
    const OpenResult refused = open(endless);
    EXPECT_EQ(refused.rc, OXLS_ERR_FAILED);
    EXPECT_NE(refused.message.find("OZW_MAX_CONTINUE"), std::string::npos) << refused.message;

    // One CONTINUE fewer is within the limit.
    tail = sst(1, 1, {"ab"});
    for (int i = 0; i < OZW_MAX_CONTINUE - 1; ++i) record(tail, 0x003C, {0, 'x'});
    const fs::path longest = folder_ / "longest.xls";
    write_file(longest, compound_file(workbook(tail, label_sst(0, 0))));
    EXPECT_EQ(open(longest).rc, 0);
}

TEST_F(ResourceBoundsTest, CellsBeyondTheLastColumnOfAnOldBookAreRefused) {
    std::vector<unsigned char> cells;
    std::vector<unsigned char> number(8, 0);
    record(cells, 0x0203, cell(0, 300, number));
    const fs::path wide = folder_ / "wide.xls";
    write_file(wide, compound_file(workbook({}, cells)));
    const OpenResult refused = open(wide);
    EXPECT_EQ(refused.rc, OXLS_ERR_FAILED);
    EXPECT_NE(refused.message.find("BIFF_NUMBER row/column overflow"), std::string::npos) << refused.message;
}

}  // namespace
