// Unpacking packages: memory and disk give the same parts, the name list
// grows, thread prefixes, folder entries, hostile packages, and the zip file
// functions over memory files in both directions.
#include "file_type.h"
#include "mfile.h"
#include "oxls.h"
#include "plain_file.h"
#include "zip_extract.h"
#include "zip_io.h"
#include "xlsx_test_package.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <iterator>
#include <utility>
#include <string>

namespace {

namespace fs = std::filesystem;

using xlsx_test::Parts;

// Writes a package through the library's file functions (so also into a
// memory file when asked to).
void write_zip(const std::string &path, const Parts &parts, ZipMedium medium = ZipMedium::Disk) {
    zlib_filefunc64_def functions;
    orb_fill_zip_filefunc64(&functions, medium);
    ASSERT_TRUE(xlsx_test::write_package(path, parts, Z_DEFLATED, 0, &functions)) << path;
}

std::string read_memory(const std::string &name) {
    std::string data;
    return orb_read_whole_file(0, name.c_str(), data) == 0 ? data : "<missing>";
}

class Extraction : public ::testing::Test {
protected:
    void SetUp() override { mfree_all(); }
    void TearDown() override {
        orb_zip_on_memory(1);
        mfree_all();
    }
    std::string path(const std::string &name) const { return folder_.file(name); }
    TempFolder folder_{"zs_zip"};
};

TEST_F(Extraction, FolderEntriesAreSkippedAndThreadNumbersPrefixNames) {
    std::string zip = path("folders.zip");
    write_zip(zip, {{"xl/", ""}, {"xl/worksheets/", ""}, {"xl/workbook.xml", "<workbook/>"},
                    {"xl/worksheets/sheet1.xml", "<worksheet/>"}, {"[Content_Types].xml", "<Types/>"}});
    char names[10][ORB_PART_NAME_SLOT];
    int count = 10;
    ASSERT_EQ(orb_zip_extract(0, 2, zip.c_str(), nullptr, &count, names), 0);
    ASSERT_EQ(count, 3);
    EXPECT_STREQ(names[0], "[2]xl/workbook.xml");
    EXPECT_STREQ(orb_part_name(names[0]), "xl/workbook.xml");
    EXPECT_STREQ(orb_part_name(names[2]), "[Content_Types].xml");
    EXPECT_STREQ(orb_part_name("[Content_Types].xml"), "[Content_Types].xml") << "not a thread prefix";
    EXPECT_EQ(mcount(), 3) << "folder entries make no memory file";
    EXPECT_EQ(read_memory("[2]xl/worksheets/sheet1.xml"), "<worksheet/>");

    std::string out = path("out");
    count = 10;
    ASSERT_EQ(orb_zip_extract(1, 2, zip.c_str(), out.c_str(), &count, names), 0);
    EXPECT_EQ(count, 3);
    EXPECT_EQ(read_file(out + "/[2]xl/worksheets/sheet1.xml"), "<worksheet/>");
    EXPECT_TRUE(fs::is_directory(out + "/[2]xl/worksheets"));
}

TEST_F(Extraction, ManyPartsGrowTheNameList) {
    Parts entries;
    for (int i = 0; i < 2345; ++i) entries.emplace_back("p/" + std::to_string(i) + ".xml", std::to_string(i * 31));
    std::string zip = path("many.xlsx");
    write_zip(zip, entries);

    ExtractedPackage package;
    ASSERT_EQ(orb_extract_package(-1, zip.c_str(), package), 0);
    ASSERT_EQ(package.parts.size(), entries.size());
    EXPECT_FALSE(package.on_disk);
    EXPECT_EQ(package.parts[2344], "p/2344.xml");
    EXPECT_EQ(read_memory("p/1999.xml"), std::to_string(1999 * 31));
}

TEST_F(Extraction, WhatIsNotAPackageIsRefusedWithoutACrash) {
    const std::string text = folder_.write("plain.xlsx", "this is not a zip package at all, only some text");
    ExtractedPackage package;
    // The reasons go to the debug log; the caller's standard output stays
    // its own.
    testing::internal::CaptureStdout();
    EXPECT_EQ(orb_extract_package(3, text.c_str(), package), -101);
    EXPECT_EQ(orb_extract_package(3, path("absent.xlsx").c_str(), package), -101);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    EXPECT_EQ(orb_extract_package(3, folder_.write("empty.xlsx", "").c_str(), package), -101);
}

TEST_F(Extraction, InflationBeyondTheLimitsIsRefused) {
    std::string zip = path("bomb.zip");
    write_zip(zip, {{"small.xml", std::string(5000, 's')}, {"bomb.xml", std::string(3 << 20, '\0')}});
    ExtractedPackage package;
    // Each limit lowered alone refuses the bomb, which the defaults let through.
    const std::pair<long long ZipExtractLimits::*, long long> limits[] = {
        {&ZipExtractLimits::ratio_from_bytes, 1 << 20},   // a ratio far above 1000:1
        {&ZipExtractLimits::part_bytes, 2 << 20},
        {&ZipExtractLimits::package_bytes, 1 << 20},
    };
    for (size_t i = 0; i < std::size(limits); ++i) {
        PackageStore store;
        store.limits.*limits[i].first = limits[i].second;
        EXPECT_EQ(orb_extract_package(store, -1, zip.c_str(), package), ORB_ZIP_REFUSED) << "limit " << i;
    }
    EXPECT_EQ(orb_extract_package(-1, zip.c_str(), package), 0);
    EXPECT_EQ(mlength("bomb.xml"), 3 << 20);
}

TEST_F(Extraction, PartNamesCannotLeaveTheFolder) {
    for (const char *evil : {"../escape.txt", "xl/../../escape.txt", "/tmp/escape.txt", "C:escape.txt"}) {
        std::string zip = path("evil.zip");
        write_zip(zip, {{"ok.xml", "ok"}, {evil, "gotcha"}});
        std::string out = path("nested/out");
        char names[4][ORB_PART_NAME_SLOT];
        int count = 4;
        EXPECT_EQ(orb_zip_extract(1, -1, zip.c_str(), out.c_str(), &count, names), ORB_ZIP_REFUSED) << evil;
        ExtractedPackage package;
        EXPECT_FALSE(fs::exists(path("nested/escape.txt"))) << evil;
        EXPECT_FALSE(fs::exists(path("escape.txt"))) << evil;
        EXPECT_EQ(orb_extract_package(-1, zip.c_str(), package), ORB_ZIP_REFUSED) << evil;
    }
    std::string long_name(300, 'n');
    std::string zip = path("long.zip");
    write_zip(zip, {{long_name, "x"}});
    ExtractedPackage package;
    EXPECT_EQ(orb_extract_package(-1, zip.c_str(), package), -9);
}

TEST_F(Extraction, PackagesLivingInMemoryFilesNeverTouchTheDisk) {
    orb_zip_on_memory(0);
    ASSERT_TRUE(orb_zip_memory_selected());
    const std::string name = "memory-only/book.xlsx";
    write_zip(name, {{"xl/workbook.xml", "<workbook/>"}, {"docProps/app.xml", std::string(20000, 'z')}},
              ZipMedium::Selected);
    EXPECT_FALSE(fs::exists(name));
    EXPECT_GT(mlength(name.c_str()), 0);
    int type = 0;
    EXPECT_EQ(orb_file_type(FILE_SOURCE_MEMORY, name.c_str(), &type), 0);
    EXPECT_EQ(type, FILE_TYPE_XLSX);

    ExtractedPackage package;
    ASSERT_EQ(orb_extract_package(0, name.c_str(), package), 0);
    ASSERT_EQ(package.parts.size(), 2u);
    EXPECT_EQ(read_memory("[0]docProps/app.xml"), std::string(20000, 'z'));
    EXPECT_FALSE(fs::exists("[0]docProps"));
}

}  // namespace
