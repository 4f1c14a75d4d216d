// The result book as other spreadsheet readers see it: openpyxl reads its
// sheets, widths and header style; LibreOffice converts it to the
// expected rows.  Each test skips with a message when its tool is absent.
#include "oxls.h"
#include "test_folder.h"
#include "write_test_book.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

namespace fs = std::filesystem;

bool runs(const std::string &command) { return std::system((command + " >/dev/null 2>&1").c_str()) == 0; }

class WriteInterop : public ::testing::Test {
protected:

    // The result book exactly as the search application makes it.
    void save_result_book() {
        XLS_BOOK book;
        std::string args = "BOOK=\"" + book_path.string() + "\" CHARSET=UTF8";
        ASSERT_EQ(OXLS_open_book(&book, args.c_str()), 0) << OXLS_error_mesg(&book);
        put_result_rows(&book);
        ASSERT_EQ(OXLS_close_book(&book, "SAVE"), 0) << OXLS_error_mesg(&book);
    }

    TempFolder temp{"zs_interop"};
    fs::path folder = temp.path();
    fs::path book_path = folder / "result book.xlsx";
};

const char *OPENPYXL_SCRIPT = R"(import sys, openpyxl
wb = openpyxl.load_workbook(sys.argv[1])
ws = wb.worksheets[0]
out = open(sys.argv[2], "w", encoding="utf-8")
out.write("|".join(wb.sheetnames) + "\n")
out.write(" ".join(str(ws.column_dimensions[c].width) for c in "ABCD") + "\n")
for c in ws[1]:
    out.write("%s %s %s %s\n" % (c.coordinate, c.font.b, c.alignment.horizontal, c.alignment.vertical))
)";

// The rows and links of a result book are read with openpyxl end to end
// (end_to_end.py, outside_cells_end_to_end.py); here what those leave out.
TEST_F(WriteInterop, OpenpyxlReadsSheetsWidthsAndHeaderStyle) {
    if (!runs("/usr/bin/python3 -c 'import openpyxl'")) GTEST_SKIP() << "python3-openpyxl is not installed";
    save_result_book();
    fs::path script = folder / "read.py";
    fs::path output = folder / "read.txt";
    std::ofstream(script) << OPENPYXL_SCRIPT;
    ASSERT_TRUE(runs("/usr/bin/python3 '" + script.string() + "' '" + book_path.string() + "' '" +
                     output.string() + "'"));
    EXPECT_EQ(read_file(output),
              "Sheet1|Sheet2|Sheet3\n"
              "50.625 10.625 20.625 100.625\n"
              "A1 True center center\nB1 True center center\nC1 True center center\nD1 True center center\n");
}

TEST_F(WriteInterop, LibreOfficeConvertsToTheExpectedRows) {
    if (!runs("command -v soffice")) GTEST_SKIP() << "LibreOffice (soffice) is not installed";
    save_result_book();
    // A profile of its own so that a running LibreOffice does not take the job.
    std::string profile = "-env:UserInstallation=file://" + (folder / "profile").string();
    ASSERT_TRUE(runs("cd '" + folder.string() + "' && soffice '" + profile +
                     "' --headless --convert-to 'csv:Text - txt - csv (StarCalc):44,34,76' --outdir '" +
                     folder.string() + "' '" + book_path.string() + "'"));
    EXPECT_EQ(read_file(folder / "result book.csv"),
              "セル内容,セル名,シート名,パス(フォルダリンク)\n"
              "売上合計,B3,売上,/data/a.xlsx\n"
              "\"He said \"\"hi\"\" & <left>\",C10,Sheet1,/data/sub dir/b c.xlsx\n"
              "改行なし、全角　空白,AA100,集計 2,/data/sub dir/d.xlsm\n");
}

}  // namespace
