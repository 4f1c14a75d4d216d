// The result book as other spreadsheet readers see it: openpyxl reads its
// cells, widths, header style and links; LibreOffice converts it to the
// expected rows.  Each test skips with a message when its tool is absent.
#include "oxls.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace {

namespace fs = std::filesystem;

const char *HEADER =
    "A.幅=50 B.幅=10 C.幅=20 D.幅=100 A1=セル内容 B1=セル名 C1=シート名 D1=パス(フォルダリンク) "
    "A1:D1.配置=中中 A1:D1.フォント.スタイル=強調";

struct Hit {
    const char *text, *cell, *sheet, *path, *folder;
};
const Hit HITS[] = {
    {"売上合計", "B3", "売上", "/data/a.xlsx", "/data"},
    {"He said \"hi\" & <left>", "C10", "Sheet1", "/data/sub dir/b c.xlsx", "/data/sub dir"},
    {"改行なし、全角　空白", "AA100", "集計 2", "/data/sub dir/d.xlsm", "/data/sub dir"},
};

std::string slurp(const fs::path &path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

bool runs(const std::string &command) { return std::system((command + " >/dev/null 2>&1").c_str()) == 0; }

// A folder of its own for each test, removed afterwards.
class WriteInterop : public ::testing::Test {
protected:
    void SetUp() override {
        folder = fs::temp_directory_path() /
                 ("zs_interop_" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(folder);
        fs::create_directories(folder);
        book_path = folder / "result book.xlsx";
    }
    void TearDown() override { fs::remove_all(folder); }

    // The result book exactly as the search application makes it.
    void save_result_book() {
        XLS_BOOK book;
        std::string args = "BOOK=\"" + book_path.string() + "\" CHARSET=UTF8";
        ASSERT_EQ(OXLS_open_book(&book, args.c_str()), 0) << OXLS_error_mesg(&book);
        ASSERT_EQ(OXLS_put_values(&book, HEADER), 0) << OXLS_error_mesg(&book);
        int row = 2;
        for (const Hit &hit : HITS) {
            char values[1024];
            std::snprintf(values, sizeof values, "A%d=\"%s\" B%d=\"%s\" C%d=\"%s\" D%d=\"%s\"", row, hit.text, row,
                          hit.cell, row, hit.sheet, row, hit.path);
            ASSERT_EQ(OXLS_put_values(&book, values), 0) << OXLS_error_mesg(&book);
            std::string a = "A" + std::to_string(row), d = "D" + std::to_string(row);
            ASSERT_EQ(OXLS_book_hyperlink(&book, a.c_str(), hit.path, hit.sheet, hit.cell), 0);
            ASSERT_EQ(OXLS_external_hyperlink(&book, d.c_str(), hit.folder), 0);
            ++row;
        }
        ASSERT_EQ(OXLS_close_book(&book, "SAVE"), 0) << OXLS_error_mesg(&book);
    }

    fs::path folder;
    fs::path book_path;
};

const char *OPENPYXL_SCRIPT = R"(import sys, openpyxl
wb = openpyxl.load_workbook(sys.argv[1])
ws = wb.worksheets[0]
out = open(sys.argv[2], "w", encoding="utf-8")
out.write("|".join(wb.sheetnames) + "\n")
for row in ws.iter_rows():
    out.write("|".join("" if c.value is None else str(c.value) for c in row) + "\n")
out.write(" ".join(str(ws.column_dimensions[c].width) for c in "ABCD") + "\n")
for c in ws[1]:
    out.write("%s %s %s %s\n" % (c.coordinate, c.font.b, c.alignment.horizontal, c.alignment.vertical))
for row in range(2, ws.max_row + 1):
    for col in "AD":
        link = ws["%s%d" % (col, row)].hyperlink
        out.write("%s%d %s %s\n" % (col, row, link.target, link.location))
)";

TEST_F(WriteInterop, OpenpyxlReadsCellsWidthsStyleAndLinks) {
    if (!runs("/usr/bin/python3 -c 'import openpyxl'")) GTEST_SKIP() << "python3-openpyxl is not installed";
    save_result_book();
    fs::path script = folder / "read.py";
    fs::path output = folder / "read.txt";
    std::ofstream(script) << OPENPYXL_SCRIPT;
    ASSERT_TRUE(runs("/usr/bin/python3 '" + script.string() + "' '" + book_path.string() + "' '" +
                     output.string() + "'"));
    EXPECT_EQ(slurp(output),
              "Sheet1|Sheet2|Sheet3\n"
              "セル内容|セル名|シート名|パス(フォルダリンク)\n"
              "売上合計|B3|売上|/data/a.xlsx\n"
              "He said \"hi\" & <left>|C10|Sheet1|/data/sub dir/b c.xlsx\n"
              "改行なし、全角　空白|AA100|集計 2|/data/sub dir/d.xlsm\n"
              "50.625 10.625 20.625 100.625\n"
              "A1 True center center\nB1 True center center\nC1 True center center\nD1 True center center\n"
              "A2 /data/a.xlsx '売上'!B3\nD2 /data None\n"
              "A3 /data/sub dir/b c.xlsx 'Sheet1'!C10\nD3 /data/sub dir None\n"
              "A4 /data/sub dir/d.xlsm '集計 2'!AA100\nD4 /data/sub dir None\n");
}

TEST_F(WriteInterop, LibreOfficeConvertsToTheExpectedRows) {
    if (!runs("command -v soffice")) GTEST_SKIP() << "LibreOffice (soffice) is not installed";
    save_result_book();
    // A profile of its own so that a running LibreOffice does not take the job.
    std::string profile = "-env:UserInstallation=file://" + (folder / "profile").string();
    ASSERT_TRUE(runs("cd '" + folder.string() + "' && soffice '" + profile +
                     "' --headless --convert-to 'csv:Text - txt - csv (StarCalc):44,34,76' --outdir '" +
                     folder.string() + "' '" + book_path.string() + "'"));
    EXPECT_EQ(slurp(folder / "result book.csv"),
              "セル内容,セル名,シート名,パス(フォルダリンク)\n"
              "売上合計,B3,売上,/data/a.xlsx\n"
              "\"He said \"\"hi\"\" & <left>\",C10,Sheet1,/data/sub dir/b c.xlsx\n"
              "改行なし、全角　空白,AA100,集計 2,/data/sub dir/d.xlsm\n");
}

}  // namespace
