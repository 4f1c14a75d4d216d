// Encrypted books through OXLS_open_book: each scheme opens with the
// default password without being asked, is refused with -910 (the error
// code left 0) under another password, and opens with PASSWORD=.  The
// fixtures' A400 lies many cipher blocks into a BIFF stream.
#include "corpus.h"
#include "xlsx_test_package.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace {

namespace fs = std::filesystem;

struct Case {
    std::string path;
    std::string password_args;   // what opens it besides the default password
    const char *cell;
    const char *text;
};

// The text of `cell` on the first sheet after opening with `args`, or
// "<refused N>" when the open fails with N, which leaves the error code 0.
std::string first_sheet_cell(const std::string &path, const std::string &args, const char *cell) {
    xlsx_test::OpenBook book(path, "UNLOAD", "UTF8", args);
    if (book.rc() == 0) return book.text(0, cell);
    EXPECT_EQ(OXLS_error_code(book.get()), 0) << path << ": the refusal leaves the error code 0";
    return "<refused " + std::to_string(book.rc()) + ">";
}

TEST(EncryptedBooks, DefaultPasswordOpensOthersNeedPasswordGiven) {
    const std::string data = std::string(ZS_TEST_DATA_DIR) + "/encrypted/";
    const std::string given = "PASSWORD=\"Z-Scan 秘密\"";
    const Case cases[] = {
        {data + "rc4_default.xls", "", "A400", "rc4 row 400"},
        {data + "standard_default.xlsx", "", "A400", "standard row 400"},
        {data + "agile_default.xlsx", "", "A400", "agile row 400"},
        {data + "rc4_password.xls", given, "A400", "rc4 row 400"},
        {data + "standard_password.xlsx", given, "A1", "standard row 1"},
        {data + "agile_password.xlsx", "PASSWORD=wrong " + given, "A1", "agile row 1"},
        {corpus::path("apache-poi/50833.xls"), "", "A1", "test cell value"},
        {corpus::path("apache-poi/58616.xlsx"), "", "A1", "EPQ Manual Template v2.3.19 Daika"},
        {corpus::path("apache-poi/protect.xlsx"), "", "B4", "При запуске"},
        {corpus::path("apache-poi/35897-type4.xls"), "PASSWORD=freedom", "A1", "hello there!"},
        {corpus::path("apache-poi/xor-encryption-abc.xls"), "PASSWORD=abc", "A3", "3"},
        {corpus::path("apache-poi/protected_sha512.xlsx"), "PASSWORD=\"this is a test\"", "A1", "here"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.path);
        if (!fs::exists(c.path)) {
            std::printf("skipped, corpus file missing: %s\n", c.path.c_str());
            continue;
        }
        const std::string bare = first_sheet_cell(c.path, "", c.cell);
        if (c.password_args.empty()) {
            EXPECT_EQ(bare.substr(0, std::string(c.text).size()), c.text);
            continue;
        }
        const std::string refused = "<refused " + std::to_string(OXLS_ERR_XLS_UNREADABLE) + ">";
        EXPECT_EQ(bare, refused) << "refused without its password";
        EXPECT_EQ(first_sheet_cell(c.path, "PASSWORD=wrong", c.cell), refused) << "refused with a wrong password";
        EXPECT_EQ(first_sheet_cell(c.path, c.password_args, c.cell), c.text);
    }
}

}  // namespace
