// Hostile books that try to make the readers run without end or without
// bound, one case per bound: each is opened through the call interface and
// must be refused quickly with the code and message of its limit, while the
// same book just within the bound opens.
#include "mfile.h"
#include "oxls.h"
#include "xls/biff_sst.h"
#include "xls/cfb_reader.h"
#include "work_area.h"
#include "xls_test_books.h"
#include "xlsx_test_package.h"

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <memory>
#include <string>

namespace {

using namespace xlstest;
using xlsx_test::Parts;

struct OpenResult {
    int rc = 0;
    std::string message;   // UTF-8
};

// Opens the book through the call interface (an .xls book through a copy
// of its workbook stream), then closes it.
OpenResult open_and_close(const std::string &path) {
    auto book = std::make_unique<XLS_BOOK>();
    OpenResult result;
    result.rc = xlstest::open_through_stream_copy(*book, path);
    result.message = OXLS_error_mesg(book.get());
    if (result.rc == 0) OXLS_close_book(book.get(), nullptr);
    else if (book->work) OXLS_free_book(book.get());
    mfree_all();
    return result;
}

Parts book_parts(const std::string &sheet_xml, const std::string &shared_strings = "") {
    Parts parts{{"xl/workbook.xml", "<workbook><sheets><sheet name=\"S\" sheetId=\"1\"/></sheets></workbook>"},
                {"xl/worksheets/sheet1.xml", "<worksheet>" + sheet_xml + "</worksheet>"}};
    if (!shared_strings.empty()) parts.emplace_back("xl/sharedStrings.xml", "<sst>" + shared_strings + "</sst>");
    return parts;
}

// Elements nested `levels` deep inside the worksheet element, before its
// cell data.
std::string nested_xml(int levels) {
    std::string xml;
    for (int i = 0; i < levels; ++i) xml = "<extLst>" + xml + "</extLst>";
    return xml + "<sheetData><row r=\"1\"><c r=\"A1\"><v>1</v></c></row></sheetData>";
}

Parts shared_string_of(size_t length) {
    std::string cells;
    for (int row = 1; row <= 200; ++row) cells += "<row r=\"" + std::to_string(row) + "\"><c t=\"s\"><v>0</v></c></row>";
    return book_parts("<sheetData>" + cells + "</sheetData>", "<si><t>" + std::string(length, 'x') + "</t></si>");
}

// A zip of one empty stored part whose end records claim `entries` parts:
// a zip64 end record, its locator and the classic end record.
std::string zip_claiming(uint64_t entries) {
    const std::string local = le32(0x04034b50) + le16(10) + std::string(20, '\0') + le16(1) + le16(0) + "a";
    const uint32_t end = static_cast<uint32_t>(local.size());
    const std::string count = le32(static_cast<uint32_t>(entries)) + le32(static_cast<uint32_t>(entries >> 32));
    const std::string zip64_end = le32(0x06064b50) + le32(44) + le32(0) + le16(45) + le16(45) + le32(0) + le32(0) +
                                  count + count + le32(0) + le32(0) + le32(end) + le32(0);
    const std::string locator = le32(0x07064b50) + le32(0) + le32(end) + le32(0) + le32(1);
    const std::string classic = le32(0x06054b50) + le32(0) + le16(0xFFFF) + le16(0xFFFF) + le32(0xFFFFFFFF) +
                                le32(0xFFFFFFFF) + le16(0);
    return local + zip64_end + locator + classic;
}

std::string sst_continued(int pieces) {
    std::string globals = sst(1, 1, sst_string8("ab"));
    for (int i = 0; i < pieces; ++i) globals += continue_record(std::string("\0x", 2));
    return globals;
}

std::string formats(int count) {
    std::string records;
    for (int i = 0; i < count; ++i) records += format(static_cast<uint16_t>(164 + i), "0.00");
    return records;
}

std::string xls(const std::string &globals, const std::string &cells) {
    return compound_file({{u"Workbook", workbook(globals, {"S"}, {cells})}});
}

struct Bound {
    const char *name;
    std::function<std::string(const TempFolder &)> book;   // writes the book, gives its path
    int rc;
    const char *message;   // a part of the message, for a refusal
};

void PrintTo(const Bound &bound, std::ostream *out) { *out << bound.name; }

std::function<std::string(const TempFolder &)> package(std::function<Parts()> parts, int method = Z_DEFLATED) {
    return [=](const TempFolder &folder) {
        const std::string path = folder.file("book.xlsx");
        EXPECT_TRUE(xlsx_test::write_package(path, parts(), method));
        return path;
    };
}

std::function<std::string(const TempFolder &)> old_book(std::function<std::string()> bytes) {
    return [=](const TempFolder &folder) { return folder.write("book.xls", bytes()); };
}

const Bound kBounds[] = {
    // The worksheet element takes one of the hundred levels.
    {"XmlNestedPastTheLimit", package([] { return book_parts(nested_xml(100)); }), OXLS_ERR_FAILED, "OXLS-03600"},
    {"XmlNestedUpToTheLimit", package([] { return book_parts(nested_xml(99)); }), 0, ""},
    {"SharedStringLongerThanACell", package([] { return shared_string_of(XLS_CELL_UTF8_LEN + 1); }),
     OXLS_ERR_FAILED, "rc=-9"},
    {"LongestSharedString", package([] { return shared_string_of(XLS_CELL_UTF8_LEN); }), 0, ""},
    // The name list grows to the size of the memory-file table and no further.
    {"DirectoryClaimingAMillionParts",
     [](const TempFolder &folder) { return folder.write("million.xlsx", zip_claiming(1000000)); }, OXLS_ERR_FAILED,
     "rc=-9"},
    // More parts than the 65535 the end claims (as a writer without zip64
    // leaves it): refused after one pass, not extracted again for every
    // step of the list's growth.
    {"MorePartsThanTheEndClaims",
     package([] {
         Parts parts = book_parts("<sheetData/>");
         for (int i = 0; i < 67000; ++i) parts.emplace_back("p/" + std::to_string(i), "");
         return parts;
     }, 0),
     OXLS_ERR_FAILED, "rc=-9"},
    {"ContinueChainPastTheLimit", old_book([] { return xls(sst_continued(OZW_MAX_CONTINUE), labelsst(0, 0, 0)); }),
     OXLS_ERR_FAILED, "OZW_MAX_CONTINUE"},
    {"ContinueChainUpToTheLimit", old_book([] { return xls(sst_continued(OZW_MAX_CONTINUE - 1), labelsst(0, 0, 0)); }),
     0, ""},
    {"SharedStringIndexPastTheTable",
     old_book([] { return xls(sst(1, 1, sst_string8("ab") + sst_string8("cd")), labelsst(0, 0, 2)); }),
     OXLS_ERR_FAILED, "BIFF_LABELSST sst"},
    {"FormatTablePastFiveHundred", old_book([] { return xls(formats(501), ""); }), OXLS_ERR_FAILED, "OZW_MAX_NUMFORMAT"},
    {"FormatTableUpToFiveHundred", old_book([] { return xls(formats(500), ""); }), 0, ""},
    // Every sheet names its last row, so each costs 65536 row slots.
    {"FarApartCellsPastTheAllowance",
     old_book([] {
         std::vector<std::string> names, sheets;
         for (int i = 0; i < 70; ++i) {
             names.push_back("S" + std::to_string(i));
             sheets.push_back(number(65535, 0, 15, i));
         }
         return compound_file({{u"Workbook", workbook("", names, sheets)}});
     }),
     OXLS_ERR_FAILED, "BIFF cell table"},
};

class ResourceBound : public ::testing::TestWithParam<Bound> {};

TEST_P(ResourceBound, RefusedWithItsLimitOrReadWithinIt) {
    const Bound &bound = GetParam();
    TempFolder folder("zs_bounds");
    const std::string path = bound.book(folder);
    const auto start = std::chrono::steady_clock::now();
    const OpenResult result = open_and_close(path);
    // Well within this time, also under the sanitizers on a busy machine.
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(20));
    EXPECT_EQ(result.rc, bound.rc) << result.message;
    EXPECT_NE(result.message.find(bound.message), std::string::npos) << result.message;
    EXPECT_EQ(mcount(), 0);
}

INSTANTIATE_TEST_SUITE_P(Bounds, ResourceBound, ::testing::ValuesIn(kBounds),
                         [](const ::testing::TestParamInfo<Bound> &info) { return std::string(info.param.name); });

TEST(ResourceBounds, AbsurdDimensionsAndRowNumbersAllocateNothingBeyondTheSheet) {
    TempFolder folder("zs_bounds");
    const std::string path = folder.file("absurd.xlsx");
    ASSERT_TRUE(xlsx_test::write_package(path, book_parts("<dimension ref=\"A1:XFD1048576\"/><sheetData>"
                                                          "<row r=\"4294967297\"><c r=\"A4294967297\"><v>1</v></c></row>"
                                                          "<row r=\"99999999999999999999\"><c><v>2</v></c></row>"
                                                          "<row r=\"2\"><c r=\"XFE2\"><v>3</v></c><c r=\"ZZZZ2\"><v>4</v></c>"
                                                          "<c r=\"B2\"><v>5</v></c></row>"
                                                          "<row r=\"1048576\"><c r=\"C1048576\"><v>6</v></c></row>"
                                                          "</sheetData>")));
    xlsx_test::OpenBook book(path);
    ASSERT_EQ(book.rc(), 0);
    EXPECT_EQ(book.text(0, "B2"), "5");
    EXPECT_EQ(book.text(0, "C1048576"), "6");
    EXPECT_EQ(book.text(0, "A1").rfind("<rc=", 0), 0u) << "rows past the sheet are not wrapped into it";
    // Only row 2 and the last row hold cells; row 2 ends at column B.
    EXPECT_EQ(book.get()->sheets[0].rows[1].cell_count, 2);
}

TEST(ResourceBounds, SharedStringCountsThatLieAreNotTrusted) {
    // Four billion strings announced, two present.
    LoadedBook loaded;
    load_stream(loaded, workbook(sst(0xFFFFFFFF, 0xFFFFFFFF, sst_string8("ab") + sst_string8("cd")), {"S"},
                                 {labelsst(0, 0, 1)}));
    ASSERT_EQ(loaded.rc, 0) << loaded.error();
    EXPECT_EQ(loaded.book.sst_count, 2);
    EXPECT_EQ(loaded.text(0, 0, 0), "cd");
}

}  // namespace
