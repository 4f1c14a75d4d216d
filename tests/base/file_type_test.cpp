// Telling file kinds apart: leading bytes against names, the three sources,
// and encrypted Office 2007 documents found by their EncryptedPackage stream.
#include "corpus.h"
#include "file_type.h"
#include "mfile.h"
#include "oxls.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace {

namespace fs = std::filesystem;

const std::string ZIP_HEAD("PK\x03\x04\x14\x00\x00\x00\x08\x00\x00\x00\x00\x00\x00\x00", 16);
const std::string CFB_HEAD("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1\x00\x00\x00\x00\x00\x00\x00\x00", 16);

TEST(FileTypes, LeadingBytesAndNameChooseTheFirstMatchingEntry) {
    TempFolder folder("zs_file_type");
    const struct {
        const char *name;
        std::string bytes;
        int type;
    } cases[] = {
        {"book.XLSX", ZIP_HEAD, FILE_TYPE_XLSX},
        {"book.xlsm", ZIP_HEAD, FILE_TYPE_XLSM},
        {"book.zip", ZIP_HEAD, FILE_TYPE_ZIP},
        {"book.xls", ZIP_HEAD, FILE_TYPE_UNKNOWN},   // no zip entry has the extension xls
        {"book.xls", CFB_HEAD, FILE_TYPE_XLS},
        {"book.doc", CFB_HEAD, 41},
        {"photo.jpeg", std::string("\xFF\xD8\xFF\xE0", 4) + std::string(12, 'j'), 202},
        {"notes.txt", ZIP_HEAD, FILE_TYPE_UNKNOWN},
        {"data.csv", "a,b,c\n1,2,3\n4,5,6\n", FILE_TYPE_CSV},
        {"data.CSV", CFB_HEAD, FILE_TYPE_CSV},        // csv is known by its name alone
        {"data.csv", "a,b", FILE_TYPE_UNKNOWN},      // fewer than 16 bytes
    };
    for (const auto &c : cases) {
        int type = 12345;
        EXPECT_EQ(orb_file_type(FILE_SOURCE_DISK, folder.write(c.name, c.bytes).c_str(), &type), 0) << c.name;
        EXPECT_EQ(type, c.type) << c.name;
    }
    int type = 0;
    EXPECT_EQ(orb_file_type(FILE_SOURCE_HEADER, ZIP_HEAD.data(), &type), 0);
    EXPECT_EQ(type, FILE_TYPE_ZIP) << "a header alone: the first entry with these bytes";
    EXPECT_EQ(orb_file_type(FILE_SOURCE_DISK, folder.file("absent.xlsx").c_str(), &type), -101);
    EXPECT_EQ(type, FILE_TYPE_UNKNOWN);
}

TEST(FileTypes, EncryptedDocumentsAndCompoundFilesUnderOtherNames) {
    int checked = 0;
    for (const char *name : {"apache-poi/protected_passtika.xlsx", "apache-poi/58616.xlsx",
                             "apache-poi/protected_sha512.xlsx", "calamine/pass_protected.xlsx"}) {
        const std::string path = corpus::path(name);
        if (!fs::exists(path)) continue;
        int type = 0;
        EXPECT_EQ(orb_file_type(FILE_SOURCE_DISK, path.c_str(), &type), 0) << name;
        EXPECT_EQ(type, FILE_TYPE_XLSX_LOCKED) << name;
        EXPECT_EQ(orb_find_cfb_entry(1, path.c_str(), CFB_ENCRYPTED_PACKAGE, nullptr), 1) << name;
        ++checked;
    }
    const std::string xls = corpus::path("apache-poi/12561-1.xls");
    if (checked == 0 || !fs::exists(xls)) GTEST_SKIP() << "corpus not available at " << corpus::dir();
    EXPECT_EQ(orb_find_cfb_entry(1, xls.c_str(), CFB_WORKBOOK, nullptr), 1);
    EXPECT_EQ(orb_find_cfb_entry(1, xls.c_str(), CFB_ENCRYPTED_PACKAGE, nullptr), 0);
    // An Excel 97-2003 book named .xlsx claims to be encrypted but is not.
    TempFolder folder("zs_file_type");
    fs::copy_file(xls, folder.file("renamed.xlsx"));
    int type = 0;
    EXPECT_EQ(orb_file_type(FILE_SOURCE_DISK, folder.file("renamed.xlsx").c_str(), &type), -1);
    EXPECT_EQ(type, FILE_TYPE_UNKNOWN);
}

}  // namespace
