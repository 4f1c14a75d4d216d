// Saving a new book: the package holds exactly the parts of a result book,
// in zip order, with the texts Excel 2007 writes; failures leave the book
// open for another try.
#include "book_writer.h"

#include "mfile.h"
#include "part_files.h"
#include "printer_settings.h"
#include "zip_package.h"
#include "write_test_book.h"
#include "test_folder.h"
#include "write_zip_reader.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>

namespace {

namespace fs = std::filesystem;

class WritePackage : public ::testing::Test {
protected:
    void SetUp() override {
        std::snprintf(book.get()->file_name, sizeof book.get()->file_name, "%s", path.c_str());
    }
    // Deleted memory files keep their slot records until all are freed, as
    // closing a book does.
    void TearDown() override { mfree_all(); }
    ZipEntries save() {
        EXPECT_EQ(ozw_save_book(book.get()), 0) << OXLS_error_mesg(book.get());
        return read_zip(path);
    }
    WriteTestBook book;
    TempFolder folder{"zs_write_package"};
    const std::string path = folder.file("book.xlsx");
};

TEST_F(WritePackage, ResultBookPartsInZipOrder) {
    put_result_rows(book.get());
    ZipEntries entries = save();
    const std::string &strings = *find_entry(entries, "xl/sharedStrings.xml");
    EXPECT_NE(strings.find("count=\"16\" uniqueCount=\"16\">"), std::string::npos) << strings;
    EXPECT_NE(strings.find("<si><t xml:space=\"preserve\">/data/sub dir/b c.xlsx</t><phoneticPr fontId=\"1\"/></si>"),
              std::string::npos);
    std::vector<std::string> names;
    for (const auto &entry : entries) names.push_back(entry.first);
    EXPECT_EQ(names, (std::vector<std::string>{
                         "[Content_Types].xml", "_rels/.rels", "docProps/app.xml", "docProps/core.xml",
                         "xl/_rels/workbook.xml.rels", "xl/theme/theme1.xml", "xl/styles.xml", "xl/workbook.xml",
                         "xl/sharedStrings.xml", "xl/worksheets/sheet1.xml", "xl/worksheets/sheet2.xml",
                         "xl/worksheets/sheet3.xml", "xl/worksheets/_rels/sheet1.xml.rels",
                         "xl/printerSettings/printerSettings1.bin", "xl/worksheets/_rels/sheet2.xml.rels",
                         "xl/printerSettings/printerSettings2.bin", "xl/worksheets/_rels/sheet3.xml.rels",
                         "xl/printerSettings/printerSettings3.bin"}));
}

TEST_F(WritePackage, NamedSheetsKeepTheirNamesButAppTitlesCountSheets) {
    ASSERT_EQ(ozw_add_sheet(book.get(), "R&D <1>"), 0);
    ASSERT_EQ(ozw_add_sheet(book.get(), "売上"), 1);
    ASSERT_EQ(OXLS_put_values(book.get(), "A1=x COMPANY=\"A&B\" TITLE=題名 MANAGER=\"<boss>\""), 0);
    ZipEntries entries = save();
    const std::string &workbook = *find_entry(entries, "xl/workbook.xml");
    EXPECT_NE(workbook.find("<sheet name=\"R&amp;D &lt;1&gt;\" sheetId=\"1\" r:id=\"rId1\"/><sheet name=\"売上\" "
                            "sheetId=\"2\" r:id=\"rId2\"/></sheets>"),
              std::string::npos);
    const std::string &app = *find_entry(entries, "docProps/app.xml");
    EXPECT_NE(app.find("<vt:lpstr>Sheet1</vt:lpstr><vt:lpstr>Sheet2</vt:lpstr></vt:vector></TitlesOfParts>"
                       "<Manager>&lt;boss&gt;</Manager><Company>A&amp;B</Company>"),
              std::string::npos);
    EXPECT_NE(find_entry(entries, "docProps/core.xml")->find("<dc:title>題名</dc:title><dc:creator>"),
              std::string::npos);
}

TEST_F(WritePackage, WriteMemoryPutsTheBookIntoAMemoryFile) {
    ASSERT_EQ(OXLS_put_values(book.get(), "A1=memory"), 0);
    book.get()->flags[OXLS_FLAG_WRITE_MEMORY] = 0;
    std::snprintf(book.get()->file_name, sizeof book.get()->file_name, "memory-book.xlsx");
    ASSERT_EQ(ozw_save_book(book.get()), 0) << OXLS_error_mesg(book.get());
    EXPECT_FALSE(fs::exists("memory-book.xlsx"));
    zlib_filefunc64_def functions;
    orb_fill_zip_filefunc64(&functions, ZipMedium::Memory);
    ZipEntries entries = read_zip("memory-book.xlsx", &functions);
    ASSERT_EQ(entries.size(), 18u);
    EXPECT_NE(find_entry(entries, "xl/sharedStrings.xml")->find("<si><t>memory</t>"), std::string::npos);
    mdelete("memory-book.xlsx");
}

TEST(WritePackageParts, BuiltOnDiskZipsToTheSameBytes) {
    std::vector<std::string> list = {"[Content_Types].xml", "xl/worksheets/sheet1.xml", "xl/a.bin"};
    std::vector<std::string> data = {"<Types/>", std::string(100000, 'x'), std::string("\0\1\2", 3)};
    const TempFolder temp("zs_parts");
    const std::string in_memory = temp.file("memory.zip"), on_disk = temp.file("disk.zip");
    {
        PartFiles parts(2);
        for (size_t i = 0; i < list.size(); ++i) ASSERT_EQ(parts.write(list[i], data[i]), 0);
        EXPECT_GT(mlength("[2]xl/worksheets/sheet1.xml"), 0);
        ASSERT_EQ(ozw_zip_package(in_memory.c_str(), ZipMedium::Disk, parts, list), 0);
    }
    EXPECT_EQ(mlength("[2]xl/worksheets/sheet1.xml"), 0);   // released with the part files
    const std::string folder = temp.file("parts");
    {
        PartFiles parts(2);
        ASSERT_EQ(parts.use_disk(folder), 0);
        for (size_t i = 0; i < list.size(); ++i) ASSERT_EQ(parts.write(list[i], data[i]), 0);
        EXPECT_TRUE(fs::exists(fs::path(folder) / "[2]xl" / "worksheets" / "sheet1.xml"));
        ASSERT_EQ(ozw_zip_package(on_disk.c_str(), ZipMedium::Disk, parts, list), 0);
    }
    EXPECT_FALSE(fs::exists(folder));
    EXPECT_EQ(read_zip(in_memory), read_zip(on_disk));
    ZipEntries entries = read_zip(on_disk);
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(entries[1].second, data[1]);
    mfree_all();
}

TEST(WritePrinterSettings, DeviceModeRecordCarriesPaperAndOrientation) {
    const std::string blob = ozw_printer_settings(PAPER_A4, ORIENTATION_PORTRAIT);
    ASSERT_EQ(blob.size(), 1076u);
    auto u16 = [&](size_t at) { return static_cast<unsigned char>(blob[at]) | static_cast<unsigned char>(blob[at + 1]) << 8; };
    EXPECT_EQ(u16(76), 1);   // portrait
    EXPECT_EQ(u16(78), 9);   // A4
}

}  // namespace
