// Every file of the third-party corpus opened the way the search
// application opens a book (an .xls book through a copy of its workbook
// stream), and every cell of every sheet read as text.  Besides surviving
// each file, the outcome of the open is compared with the table recorded
// in tests/data/corpus_sweep_expected.tsv: a book recorded as opening that
// no longer opens fails the test; any other change (a refused book that
// now opens, another refusal code) is reported so that the table can be
// brought up to date, since readers improve while the table stays.
//
// A book that opens is also read the way the search reads it, through the
// cell reader, and must show exactly the same texts in the same cells.
//
// With ZS_SWEEP_RECORD=<file> set, each test appends its actual outcome to
// that file instead of comparing, which is how the table is made.
#include "corpus.h"
#include "xls_test_books.h"
#include "mfile.h"
#include "oxls.h"
#include "book_cells.h"
#include "cell_display.h"
#include "each_cell_text.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

namespace {

namespace fs = std::filesystem;

struct Outcome {
    std::string state;   // "opened", "refused" (open failed) or "unextracted" (no workbook stream)
    int code = 0;        // result of the open, or of the stream extraction
    bool operator==(const Outcome &) const = default;
};

std::ostream &operator<<(std::ostream &out, const Outcome &outcome) {
    return out << outcome.state << " " << outcome.code;
}

// Corpus files relative to the corpus root, in byte order; the corpus's
// own description files are no books.
std::vector<std::string> corpus_files() {
    std::vector<std::string> files;
    const fs::path root = corpus::dir();
    std::error_code error;
    if (!fs::is_directory(root, error)) return files;
    for (const auto &entry : fs::recursive_directory_iterator(root, error)) {
        if (!entry.is_regular_file()) continue;
        const std::string relative = fs::relative(entry.path(), root).generic_string();
        if (relative == "MANIFEST.tsv" || relative == "README.md") continue;
        files.push_back(relative);
    }
    std::sort(files.begin(), files.end());
    return files;
}

std::map<std::string, Outcome> expected_outcomes() {
    std::map<std::string, Outcome> table;
    std::ifstream in(fs::path(ZS_TEST_DATA_DIR) / "corpus_sweep_expected.tsv");
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#') continue;
        std::istringstream fields(line);
        std::string file;
        Outcome outcome;
        if (std::getline(fields, file, '\t') && std::getline(fields, outcome.state, '\t') && fields >> outcome.code)
            table[file] = outcome;
    }
    return table;
}

// The non-empty texts of a book's cells by sheet, row and column.
using CellTexts = std::map<std::tuple<int, int, int>, std::string>;

// The texts the search's cell reader hands over, each place with its last.
class TextCollector : public BookSink {
public:
    int cell(const ReadContext &book, const BookCell &cell) override {
        const std::string_view text = display_.text(book, cell);
        if (text.empty()) texts.erase({cell.sheet, cell.row, cell.column});
        else texts[{cell.sheet, cell.row, cell.column}] = std::string(text);
        return 0;
    }
    CellTexts texts;

private:
    CellDisplay display_;
};

Outcome sweep(const std::string &relative) {
    const std::string path = corpus::path(relative);
    auto book = std::make_unique<XLS_BOOK>();
    int extraction = 0;
    const int rc = xlstest::open_through_stream_copy(*book, path, &extraction);
    if (extraction != 0) {
        mfree_all();
        return {"unextracted", extraction};
    }
    if (rc != 0) {
        if (book->work) OXLS_free_book(book.get());
        mfree_all();
        return {"refused", rc};
    }
    // Every cell of every sheet.  A cell whose text does not fit the search
    // application's buffer is refused by the call, which is no failure here.
    CellTexts texts;
    each_cell_text(book.get(), [&](int s, int r, int c, const char *, const char *text) {
        if (text[0]) texts[{s, r, c}] = text;
    });
    EXPECT_EQ(OXLS_close_book(book.get(), nullptr), 0);
    EXPECT_EQ(mcount(), 0) << "memory files left after the book was closed";

    BookCellReader reader;
    TextCollector collector;
    EXPECT_EQ(reader.read(path.c_str(), collector), 0) << "the search cannot read what the library opens";
    EXPECT_TRUE(collector.texts == texts) << "the search reads other texts than the library shows: "
                                          << collector.texts.size() << " against " << texts.size() << " cells";
    return {"opened", 0};
}

class CorpusSweep : public ::testing::TestWithParam<std::string> {};

TEST_P(CorpusSweep, OpensAsRecordedAndReadsEveryCell) {
    const std::string &file = GetParam();
    if (!fs::is_regular_file(corpus::path(file))) GTEST_SKIP() << "corpus file missing: " << file;
    const Outcome actual = sweep(file);

    if (const char *record = std::getenv("ZS_SWEEP_RECORD")) {
        std::ofstream(record, std::ios::app) << file << '\t' << actual.state << '\t' << actual.code << '\n';
        return;
    }
    const auto table = expected_outcomes();
    const auto found = table.find(file);
    if (found == table.end()) GTEST_SKIP() << "no outcome recorded for " << file;
    const Outcome &expected = found->second;
    if (expected.state == "opened") {
        EXPECT_EQ(actual, expected) << file << " opened before and no longer does";
    } else if (!(actual == expected)) {
        std::printf("corpus sweep: %s was %s %d, is now %s %d; update corpus_sweep_expected.tsv\n", file.c_str(),
                    expected.state.c_str(), expected.code, actual.state.c_str(), actual.code);
    }
}

INSTANTIATE_TEST_SUITE_P(Corpus, CorpusSweep, ::testing::ValuesIn(corpus_files()), corpus::param_name);
GTEST_ALLOW_UNINSTANTIATED_PARAMETERIZED_TEST(CorpusSweep);

}  // namespace
