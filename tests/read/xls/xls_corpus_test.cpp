// The BIFF reader on third-party books: every readable corpus .xls against
// an independent reader (xlrd, which the test setup installs).
#include "corpus.h"
#include "xls_test_books.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include <unistd.h>

using namespace xlstest;
namespace fs = std::filesystem;

namespace {

// Books where the reader differs from xlrd on purpose.
const std::map<std::string, std::string> &known_differences() {
    static const std::map<std::string, std::string> differences = {
        {"apache-poi/46368.xls", "holds strings longer than 32767 characters, which the reader refuses"},
        {"calamine/biff5-rich-text-string.xls", "has no CODEPAGE record, so its byte strings are read as Shift-JIS"},
    };
    return differences;
}

struct Comparison {
    int faults = 0;
    std::string first_faults;
};

// Compares the loaded book with the lines of the oracle's dump.  Texts and
// booleans must be equal; numbers must agree to the six decimals the
// reader keeps.  A number the reader typed as a date or time is skipped:
// the two readers tell date formats apart by different rules.  A file that
// is one worksheet names no sheet, and the readers name it differently
// (xlrd "Sheet 1", this library "Sheet1" as LibreOffice does): with
// `one_sheet`, the oracle's sheet is the loaded book's only one.
Comparison compare_with_oracle(const LoadedBook &loaded, const std::string &dump, bool one_sheet) {
    Comparison result;
    std::map<std::string, int> sheets;
    for (int i = loaded.book.sheet_count - 1; i >= 0; --i) sheets[loaded.book.sheets[i].name] = i;
    auto fault = [&](const std::string &what) {
        if (++result.faults <= 5) result.first_faults += what.substr(0, 300) + "\n";
    };
    std::istringstream lines(dump);
    std::string line;
    while (std::getline(lines, line)) {
        std::vector<std::string> f;
        std::istringstream row(line);
        for (std::string field; f.size() < 4 && std::getline(row, field, '\t');) f.push_back(field);
        std::string text;
        std::getline(row, text);
        if (f.size() < 4) continue;
        const std::string where = corpus::unescape(f[0]) + "!" + f[1] + "," + f[2];
        auto sheet = one_sheet && !sheets.empty() ? sheets.begin() : sheets.find(corpus::unescape(f[0]));
        if (sheet == sheets.end()) {
            fault("no sheet " + where);
            continue;
        }
        const int r = std::atoi(f[1].c_str());
        const int c = std::atoi(f[2].c_str());
        if (f[3] != "n") {
            if (loaded.text(sheet->second, r, c) != corpus::unescape(text))
                fault(where + " expected [" + corpus::unescape(text) + "] got [" + loaded.text(sheet->second, r, c) + "]");
            continue;
        }
        const XLS_CELL *cell = loaded.cell(sheet->second, r, c);
        if (cell && cell->type >= XLS_CELL_DATE && cell->type <= XLS_CELL_TIME_HMS) continue;
        if (!cell || cell->type < XLS_CELL_INTEGER || cell->type > XLS_CELL_PERCENT || !cell->text) {
            fault(where + " expected the number " + text);
            continue;
        }
        const double expected = std::strtod(text.c_str(), nullptr);
        const double got = std::strtod(cell->text, nullptr);
        if (std::fabs(got - expected) > 5.0001e-7 + 1e-15 * std::fabs(expected))
            fault(where + " expected " + text + " got " + cell->text);
    }
    return result;
}

std::string scripts_dir() { return std::string(ZS_TEST_DATA_DIR) + "/../../scripts"; }

bool have_xlrd() {
    static const bool found = std::system("/usr/bin/python3 -c 'import xlrd' >/dev/null 2>&1") == 0;
    return found;
}

std::vector<std::string> oracle_books() {
    std::vector<std::string> paths;
    for (const corpus::Book &book : corpus::books({"xls"}))
        if (!book.marked({"ENCRYPTED", "MALFORMED", "MALICIOUS", "NOT A SPREADSHEET"})) paths.push_back(book.file);
    return paths;
}

}  // namespace

class XlsCorpusOracle : public testing::TestWithParam<std::string> {};

TEST_P(XlsCorpusOracle, CellsMatchXlrd) {
    const std::string path = corpus::path(GetParam());
    if (!fs::exists(path)) GTEST_SKIP() << "corpus file missing: " << path;
    if (!have_xlrd()) GTEST_SKIP() << "python3 with xlrd is not installed";
    auto known = known_differences().find(GetParam());
    if (known != known_differences().end()) GTEST_SKIP() << "known difference: the book " << known->second;

    const std::string dump_path = fs::temp_directory_path() / ("zs_xls_oracle_" + std::to_string(getpid()) + ".tsv");
    const std::string command = "/usr/bin/python3 '" + scripts_dir() + "/oracle_xlrd.py' '" + path + "' '" + dump_path +
                                "' >/dev/null 2>&1";
    const int status = std::system(command.c_str());
    const std::string dump = read_file(dump_path);
    std::remove(dump_path.c_str());
    if (status != 0) GTEST_SKIP() << "xlrd cannot read this book";

    // A bare workbook stream (an Excel 3.0 or 4.0 file) has none to copy.
    LoadedBook loaded;
    if (is_compound_file(path)) load_extracted(loaded, path.c_str());
    else load_scanned(loaded, path.c_str());
    ASSERT_EQ(loaded.rc, 0) << loaded.error();
    const Comparison result = compare_with_oracle(loaded, dump, !is_compound_file(path));
    EXPECT_EQ(result.faults, 0) << result.first_faults;
}

INSTANTIATE_TEST_SUITE_P(Corpus, XlsCorpusOracle, testing::ValuesIn(oracle_books()), corpus::param_name);
GTEST_ALLOW_UNINSTANTIATED_PARAMETERIZED_TEST(XlsCorpusOracle);
