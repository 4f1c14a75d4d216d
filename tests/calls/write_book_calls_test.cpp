// Writing through the book calls as a caller makes them: open in create
// mode, write, close with SAVE (the last of SAVE and DESTROY wins); a save
// that fails keeps the book for another try, and a released record is
// refused.
#include "oxls.h"
#include "test_folder.h"
#include "write_zip_reader.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

namespace {

namespace fs = std::filesystem;

class WriteBookCalls : public ::testing::Test {
protected:
    int open(const fs::path &path) {
        std::string args = "BOOK=\"" + path.string() + "\" CHARSET=UTF8";
        return OXLS_open_book(book.get(), args.c_str());
    }
    std::unique_ptr<XLS_BOOK> book = std::make_unique<XLS_BOOK>();
    TempFolder temp{"zs_book_calls"};
    const fs::path folder = temp.path();
};

TEST_F(WriteBookCalls, FailedSaveKeepsTheBookForAnotherTry) {
    fs::path path = folder / "later" / "result.xlsx";
    ASSERT_EQ(open(path), 0) << OXLS_error_mesg(book.get());
    ASSERT_EQ(OXLS_put_values(book.get(), "A1=first"), 0);
    EXPECT_EQ(OXLS_close_book(book.get(), "SAVE"), -103);
    EXPECT_EQ(OXLS_error_code(book.get()), -103);
    EXPECT_EQ(std::string(OXLS_error_mesg(book.get())),
              "OXLS-03121 Excelファイル書込みエラー(\"" + path.string() + "\")。");

    // Still open: more rows and links can be added, and once the folder
    // exists the same book saves.
    ASSERT_EQ(OXLS_put_values(book.get(), "A2=second"), 0) << OXLS_error_mesg(book.get());
    ASSERT_EQ(OXLS_external_hyperlink(book.get(), "A2", "http://example.com/?a=1&b=2"), 0);
    fs::create_directories(path.parent_path());
    ASSERT_EQ(OXLS_close_book(book.get(), "DESTROY SAVE"), 0) << OXLS_error_mesg(book.get());
    ZipEntries entries = read_zip(path.string());
    const std::string *strings = find_entry(entries, "xl/sharedStrings.xml");
    ASSERT_TRUE(strings);
    EXPECT_NE(strings->find("<si><t>first</t><phoneticPr fontId=\"1\"/></si><si><t>second</t>"), std::string::npos);
    EXPECT_NE(find_entry(entries, "xl/worksheets/_rels/sheet1.xml.rels")->find("Target=\"http://example.com/?a=1&amp;b=2\""),
              std::string::npos);
}

TEST_F(WriteBookCalls, ReleasedRecordIsRefused) {
    ASSERT_EQ(open(folder / "closed.xlsx"), 0);
    ASSERT_EQ(OXLS_close_book(book.get(), "SAVE DESTROY"), 0);
    EXPECT_EQ(OXLS_put_values(book.get(), "A1=x"), -3);
    EXPECT_EQ(OXLS_put_cell(book.get(), "A1", "x", 0), -3);
    EXPECT_EQ(OXLS_external_hyperlink(book.get(), "A1", "x"), -3);
    EXPECT_FALSE(fs::exists(folder / "closed.xlsx"));
}

}  // namespace
