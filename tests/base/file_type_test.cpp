// Telling file kinds apart: leading bytes against names, the three sources,
// and encrypted Office 2007 documents found by their EncryptedPackage stream.
#include "file_type.h"
#include "mfile.h"
#include "oxls.h"
#include "test_folder.h"

#include <gtest/gtest.h>

#include <string>

namespace {

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

// An encrypted Office 2007 document is told by its EncryptedPackage stream
// (tests/calls/encrypted_books_test.cpp opens such books by it); a plain
// Excel 97-2003 book named .xlsx claims to be one but is not.
TEST(FileTypes, ACompoundFileNamedXlsxWithoutAnEncryptedPackageIsNoKnownKind) {
    TempFolder folder("zs_file_type");
    const std::string xls = read_file(std::string(ZS_TEST_DATA_DIR) + "/../../samples/sub/legacy.xls");
    const std::string renamed = folder.write("renamed.xlsx", xls);
    EXPECT_EQ(orb_find_cfb_entry(1, renamed.c_str(), CFB_WORKBOOK, nullptr), 1);
    int type = 0;
    EXPECT_EQ(orb_file_type(FILE_SOURCE_DISK, renamed.c_str(), &type), -1);
    EXPECT_EQ(type, FILE_TYPE_UNKNOWN);
}

}  // namespace
