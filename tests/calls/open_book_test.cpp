// Opening books: the book file name rules, the keyword loop and its errors,
// and the routing of files to readers or to refusal by their kind.
#include "book_file_name.h"
#include "corpus.h"
#include "book_record.h"
#include "charset.h"
#include "mfile.h"
#include "oxls.h"
#include "platform/platform.h"
#include "work_area.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

namespace {

namespace fs = std::filesystem;

std::string derived(const std::string &given) {
    std::string name;
    EXPECT_EQ(ozw_book_file_name(given, name), 0) << given;
    return name;
}

TEST(BookFileName, ExtensionIsAddedOnlyWhereTheNameSaysNothingAndPathsAreMadeFull) {
    const std::pair<const char *, const char *> names[] = {
        {"report", "report.xlsx"}, {"x.txt", "x.txt.xlsx"},   // short names always get it
        {"data.csv", "data.csv"},  {"old.XLS", "old.XLS"},     {"dir\\report", "dir\\report"},
        {"", "Book1.xlsx"},
    };
    for (const auto &[given, expected] : names) EXPECT_EQ(derived(given), expected) << given;
    std::string name;
    EXPECT_EQ(ozw_book_file_name(std::string(252, 'a'), name), -3) << "257 bytes once .xlsx is added";
    EXPECT_EQ(ozw_book_file_name(std::string(251, 'a'), name), 0);

    std::string path;
    for (const char *absolute : {"/data/a.xlsx", "\\\\server\\a.xlsx", "C:\\a.xlsx", "d:a.xlsx"}) {
        ASSERT_EQ(ozw_full_book_path(absolute, path), 0);
        EXPECT_EQ(path, absolute);
    }
    ASSERT_EQ(ozw_full_book_path("sub/a.xlsx", path), 0);
    EXPECT_EQ(path, fs::current_path().string() + zplat::kSeparator + "sub/a.xlsx");
    EXPECT_EQ(ozw_full_book_path("/" + std::string(256, 'p'), path), -3);
}

// A book record on the heap, freed again whatever the test did.
struct Book {
    std::unique_ptr<XLS_BOOK> record = std::make_unique<XLS_BOOK>();
    XLS_BOOK *operator->() { return record.get(); }
    XLS_BOOK *get() { return record.get(); }
    ~Book() { OXLS_free_book(record.get()); }
    int open(const std::string &args) { return OXLS_open_book(record.get(), args.c_str()); }
    // The error text as UTF-8, whatever the caller's character set.
    std::string message() {
        return orb_convert(ozw_charset(get()), CS_UTF8, OXLS_error_mesg(get()));
    }
};

TEST(OpenBookKeywords, LatinKeysInAnyCaseJapaneseKeysExactly) {
    Book book;
    ASSERT_EQ(book.open("excel=\"/tmp/a b.xlsx\" mode=create thread=7 Charset=EUC"), 0);
    EXPECT_STREQ(book->file_name, "/tmp/a b.xlsx");
    EXPECT_EQ(book->thread_no, 7);
    EXPECT_EQ(ozw_charset(book.get()), CS_EUC);
    EXPECT_EQ(book->flags[OXLS_FLAG_CREATE], 0xFF);

    Book japanese;
    std::string args = orb_convert(CS_UTF8, CS_SJIS, "ブック=\"/tmp/和.xlsx\" モード=新規");
    ASSERT_EQ(japanese.open(args), 0);
    EXPECT_EQ(std::string(japanese->file_name), orb_convert(CS_UTF8, ozw_path_charset(), "/tmp/和.xlsx"))
        << "the name is converted from the caller's Shift-JIS to the platform's paths";

    Book euc;
    ASSERT_EQ(euc.open("CHARSET=EUC " + orb_convert(CS_UTF8, CS_EUC, "ブック=/tmp/e.xlsx キャラクタセット=UTF8")), 0);
    EXPECT_STREQ(euc->file_name, "/tmp/e.xlsx");
    EXPECT_EQ(ozw_charset(euc.get()), CS_UTF8);
}

TEST(OpenBookKeywords, ValuesAreTakenBareOrQuotedAsEachKeySays) {
    Book quoted_thread;
    ASSERT_EQ(quoted_thread.open("THREAD=\"3\""), 0);
    EXPECT_EQ(quoted_thread->thread_no, 0) << "plain decimal conversion of a quoted value";

    Book bare;
    ASSERT_EQ(bare.open("EXCEL=/tmp/m.xlsx WRITE_MEMORY=true READ_MEMORY=\"TRUE\""), 0);
    EXPECT_EQ(bare->flags[OXLS_FLAG_WRITE_MEMORY], 0) << "cleared: the book goes to a memory file";
    EXPECT_EQ(bare->flags[OXLS_FLAG_READ_MEMORY], 0xFF) << "a quoted TRUE is not TRUE";

    Book charset;
    ASSERT_EQ(charset.open("CHARSET=\"utf8\" CHARSET=LATIN1"), 0);
    EXPECT_EQ(ozw_charset(charset.get()), CS_UTF8) << "an unknown value leaves the set unchanged";
}

TEST(OpenBookKeywords, MistakesAreReportedWithTheOffendingToken) {
    const std::string too_long = "OXLS-00005 ファイル名が長すぎます。";
    const struct {
        std::string args;
        int code;
        std::string text;
    } cases[] = {
        {"MODE=\"UNLOAD\"", -3, "OXLS-02200 サポート外のキーワードです(\"\"UNLOAD\"\")。"},
        {"MODE=SCAN", -3, "OXLS-02200 サポート外のキーワードです(\"SCAN\")。"},
        {"EXCEL=a.xlsx FOO bar", -3, "OXLS-02200 サポート外のキーワードです(\"FOO\")。"},
        {"EXCEL \"a.xlsx\"", -3, "OXLS-02303 引数列のイコール(=)部分が不正です(\"\"a.xlsx\"\")。"},
        {"EXCEL=", -3, ""},
        {"EXCEL", -3, ""},
        {"VERSION=2.2.0.1 FOO=1", -1,
         "OXLS-00901 呼び出し側(\"2.2.0.1\")と共有ライブラリ側(\"2.2.0.0\")でバージョンが異なります。"},
        {"XLS_BOOK=100", -1, "OXLS-00902 構造体XLS_BOOKのサイズが異なります。(\"CALL側:100byte DLL側:108832byte\")。"},
        {"XLS_BOOK=abc", -1, "OXLS-00902 構造体XLS_BOOKのサイズが異なります。(\"CALL側:0byte DLL側:108832byte\")。"},
        {"MODE=UNLOAD_NAME LIST=\"" + std::string(257, 'l') + "\"", -3, too_long},
        {"TEMP_WORKBOOK_PATH=\"" + std::string(259, 't') + "\"", -3, too_long},
        {"EXCEL=\"" + std::string(5000, 'v') + "\"", -3, ""},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.args.substr(0, 40));
        Book book;
        EXPECT_EQ(book.open(c.args), c.code);
        EXPECT_EQ(OXLS_error_code(book.get()), c.code);
        EXPECT_EQ(book.message(), c.text);
        EXPECT_NE(book->work, nullptr) << "an argument error leaves the work area to OXLS_free_book";
    }
    Book temp_fits;
    EXPECT_EQ(temp_fits.open("TEMP_WORKBOOK_PATH=\"" + std::string(258, 't') + "\""), 0);
    // A key the lexer cannot read ends the keyword loop like the end of the text.
    Book long_key;
    EXPECT_EQ(long_key.open("EXCEL=/tmp/k.xlsx " + std::string(5000, 'K') + "=1"), 0);
    EXPECT_STREQ(long_key->file_name, "/tmp/k.xlsx");
}

class OpenBookFiles : public ::testing::Test {
protected:
    void SetUp() override { mfree_all(); }
    void TearDown() override {
        mfree_all();
        orb_zip_on_memory(1);
    }
    std::string write(const std::string &name, const std::string &bytes) { return folder_.write(name, bytes); }
    TempFolder folder_{"zs_open_book"};
};

TEST_F(OpenBookFiles, FilesThatAreNoBooksAreRefusedAndReleased) {
    struct Case {
        std::string path;
        int code;
        const char *message;
    } cases[] = {
        {write("short.xlsx", "PK\x03\x04 short"), -4, "OXLS-00900 サポート外のファイルです(\"%s\")。"},
        {write("image.png", "\x89PNG\r\n\x1a\n" + std::string(32, 0)), -4, "OXLS-00900 サポート外のファイルです(\"%s\")。"},
        {folder_.file("absent.xlsx"), -101, "OXLS-03101 Excelファイルオープンエラー(\"%s\")。"},
        {write("fake.xlsx", "PK\x03\x04" + std::string(200, 'z')), -101,
         "OXLS-03101 Excelファイルオープンエラー(\"%s\")。"},
    };
    for (const Case &c : cases) {
        Book book;
        MFILE *other = mopen("someone-elses-part", "wb");
        ASSERT_NE(other, nullptr);
        EXPECT_EQ(book.open("EXCEL=\"" + c.path + "\" MODE=UNLOAD"), c.code) << c.path;
        EXPECT_EQ(OXLS_error_code(book.get()), c.code);
        char expected[600];
        std::snprintf(expected, sizeof expected, c.message, c.path.c_str());
        EXPECT_EQ(book.message(), expected);
        EXPECT_EQ(book->work, nullptr) << "released by the failed open";
        EXPECT_EQ(mcount(), 0) << "releasing drops every memory file";
    }
}

TEST_F(OpenBookFiles, APackageHandedOverInAMemoryFileIsReadFromThereAndDropped) {
    const std::string xlsx = corpus::path("generated/openpyxl_japanese_mixed.xlsx");
    if (!fs::exists(xlsx)) GTEST_SKIP() << "corpus file missing: " << xlsx;
    const std::string bytes = read_file(xlsx);
    MFILE *memory = mopen("held/in-memory.xlsx", "wb");
    mwrite(bytes.data(), 1, bytes.size(), memory);
    mclose(memory);
    orb_zip_on_memory(0);
    Book from_memory;
    ASSERT_EQ(from_memory.open("EXCEL=held/in-memory.xlsx READ_MEMORY=TRUE MODE=UNLOAD"), 0) << from_memory.message();
    EXPECT_STREQ(from_memory->file_name, "held/in-memory.xlsx");
    EXPECT_EQ(mlength("held/in-memory.xlsx"), 0);
}

TEST_F(OpenBookFiles, ReleasingDeletesTheTemporaryWorkbook) {
    std::string temp = write("workbook.tmp", "stream");
    MFILE *memory = mopen(temp.c_str(), "wb");
    mputs("stream", memory);
    mclose(memory);
    Book book;
    ASSERT_EQ(book.open("TEMP_WORKBOOK_PATH=\"" + temp + "\""), 0);
    std::snprintf(book->temp_workbook_path, sizeof book->temp_workbook_path, "%s", temp.c_str());
    EXPECT_EQ(OXLS_free_book(book.get()), 0);
    EXPECT_FALSE(fs::exists(temp));
    EXPECT_EQ(mlength(temp.c_str()), 0);
}

}  // namespace
