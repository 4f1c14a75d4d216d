// Telling file kinds apart: leading bytes against names, the three sources,
// and encrypted Office 2007 documents found by their EncryptedPackage stream.
#include "file_type.h"
#include "mfile.h"
#include "oxls.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

const std::string ZIP_HEAD("PK\x03\x04\x14\x00\x00\x00\x08\x00\x00\x00\x00\x00\x00\x00", 16);
const std::string CFB_HEAD("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1\x00\x00\x00\x00\x00\x00\x00\x00", 16);

std::string corpus(const char *name) { return std::string(ZS_CORPUS_DIR) + "/" + name; }

class FileTypes : public ::testing::Test {
protected:
    void SetUp() override {
        folder_ = fs::temp_directory_path() / ("zs_file_type_" + std::to_string(getpid()));
        fs::create_directories(folder_);
        mfree_all();
    }
    void TearDown() override {
        fs::remove_all(folder_);
        mfree_all();
    }
    // Writes `bytes` to a file of that name and returns its type code
    // (rc must be 0).
    int type_of_disk(const std::string &name, const std::string &bytes) {
        std::string path = (folder_ / name).string();
        std::ofstream(path, std::ios::binary) << bytes;
        int type = 12345;
        EXPECT_EQ(orb_file_type(1, path.c_str(), &type), 0) << name;
        return type;
    }
    fs::path folder_;
};

TEST_F(FileTypes, LeadingBytesAndExtensionChooseTheFirstMatchingEntry) {
    EXPECT_EQ(type_of_disk("book.XLSX", ZIP_HEAD), FILE_TYPE_XLSX);
    EXPECT_EQ(type_of_disk("book.xlsm", ZIP_HEAD), FILE_TYPE_XLSM);
    EXPECT_EQ(type_of_disk("book.zip", ZIP_HEAD), FILE_TYPE_ZIP);
    EXPECT_EQ(type_of_disk("book.xls", ZIP_HEAD), FILE_TYPE_UNKNOWN) << "no zip entry has the extension xls";
    EXPECT_EQ(type_of_disk("book.xls", CFB_HEAD), FILE_TYPE_XLS);
    EXPECT_EQ(type_of_disk("book.doc", CFB_HEAD), 41);
    EXPECT_EQ(type_of_disk("book.ppt", CFB_HEAD), 51);
    EXPECT_EQ(type_of_disk("photo.jpeg", std::string("\xFF\xD8\xFF\xE0", 4) + std::string(12, 'j')), 202);
    EXPECT_EQ(type_of_disk("movie.wmv", std::string("\x30\x26\xB2\x75\x8E\x66\xCF\x11", 8) + std::string(8, 0)),
              403);
    EXPECT_EQ(type_of_disk("notes.txt", ZIP_HEAD), FILE_TYPE_UNKNOWN);
}

TEST_F(FileTypes, CsvIsKnownByNameAloneAndShortFilesByNothing) {
    EXPECT_EQ(type_of_disk("data.csv", "a,b,c\n1,2,3\n4,5,6\n"), FILE_TYPE_CSV);
    EXPECT_EQ(type_of_disk("data.CSV", CFB_HEAD), FILE_TYPE_CSV) << "no compound-file entry has csv";
    EXPECT_EQ(type_of_disk("data.csv", "a,b"), FILE_TYPE_UNKNOWN) << "fewer than 16 bytes";
    EXPECT_EQ(type_of_disk("short.xlsx", ZIP_HEAD.substr(0, 15)), FILE_TYPE_UNKNOWN);
}

TEST_F(FileTypes, MemoryFilesShortNamesAndMissingFiles) {
    for (const char *name : {"pg", "book.xlsx"}) {
        MFILE *f = mopen(name, "wb");
        ASSERT_NE(f, nullptr);
        std::string bytes = std::string(name) == "pg" ? std::string("\xFF\xD8\xFF", 3) + std::string(13, 'x') : ZIP_HEAD;
        mwrite(bytes.data(), 1, bytes.size(), f);
        mclose(f);
    }
    int type = 0;
    EXPECT_EQ(orb_file_type(FILE_SOURCE_MEMORY, "pg", &type), 0);
    EXPECT_EQ(type, FILE_TYPE_UNKNOWN) << "a two-byte name cannot end in jpg";
    EXPECT_EQ(orb_file_type(FILE_SOURCE_MEMORY, "book.xlsx", &type), 0);
    EXPECT_EQ(type, FILE_TYPE_XLSX);

    std::string missing = (folder_ / "absent.xlsx").string();
    EXPECT_EQ(orb_file_type(1, missing.c_str(), &type), -101);
    EXPECT_EQ(type, FILE_TYPE_UNKNOWN);
    EXPECT_EQ(orb_file_type(FILE_SOURCE_MEMORY, missing.c_str(), &type), -101);
}

TEST_F(FileTypes, EncryptedOfficeDocumentsOfTheCorpus) {
    const char *encrypted[] = {"apache-poi/protected_passtika.xlsx", "apache-poi/58616.xlsx",
                               "apache-poi/protect.xlsx", "apache-poi/60320-protected.xlsx",
                               "apache-poi/extenxls_pwd123.xlsx", "apache-poi/protected_sha512.xlsx",
                               "calamine/pass_protected.xlsx"};
    int checked = 0;
    for (const char *name : encrypted) {
        std::string path = corpus(name);
        if (!fs::exists(path)) continue;
        int type = 0;
        EXPECT_EQ(orb_file_type(1, path.c_str(), &type), 0) << name;
        EXPECT_EQ(type, FILE_TYPE_XLSX_LOCKED) << name;
        unsigned sector = 0;
        EXPECT_EQ(orb_find_cfb_entry(1, path.c_str(), CFB_ENCRYPTED_PACKAGE, &sector), 1) << name;
        ++checked;
    }
    if (checked == 0) GTEST_SKIP() << "corpus not available at " << ZS_CORPUS_DIR;
}

TEST_F(FileTypes, CompoundFilesUnderOtherNames) {
    std::string xls = corpus("apache-poi/12561-1.xls");
    if (!fs::exists(xls)) GTEST_SKIP() << "corpus file missing: " << xls;
    int type = 0;
    EXPECT_EQ(orb_file_type(1, xls.c_str(), &type), 0);
    EXPECT_EQ(type, FILE_TYPE_XLS);
    EXPECT_EQ(orb_find_cfb_entry(1, xls.c_str(), CFB_WORKBOOK, nullptr), 1);
    EXPECT_EQ(orb_find_cfb_entry(1, xls.c_str(), CFB_ENCRYPTED_PACKAGE, nullptr), 0);

    // An Excel 97-2003 book named .xlsx claims to be encrypted but is not.
    std::string renamed = (folder_ / "renamed.xlsx").string();
    fs::copy_file(xls, renamed);
    type = 0;
    EXPECT_EQ(orb_file_type(1, renamed.c_str(), &type), -1);
    EXPECT_EQ(type, FILE_TYPE_UNKNOWN);

}

}  // namespace
