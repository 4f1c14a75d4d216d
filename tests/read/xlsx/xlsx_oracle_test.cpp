// The package reader against an independent reader (openpyxl, through
// scripts/oracle_openpyxl.py): every text and whole-number cell openpyxl
// sees must show the same text through OXLS_get_cell.  A committed table
// covers the fixture books; with python3-openpyxl present (the test setup
// installs it), every readable book of the corpus is compared live.
#include "corpus.h"
#include "xlsx_test_package.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

using namespace xlsx_test;

struct OracleCell {
    int sheet;
    std::string cell;
    std::string text;
};

// Lines "book TAB sheet TAB cell TAB text", grouped by book in file order.
std::vector<std::pair<std::string, std::vector<OracleCell>>> read_table(const std::string &path) {
    std::vector<std::pair<std::string, std::vector<OracleCell>>> books;
    std::ifstream in(path);
    std::string line;
    while (std::getline(in, line)) {
        std::vector<std::string> fields;
        std::stringstream split(line);
        std::string field;
        while (std::getline(split, field, '\t')) fields.push_back(field);
        if (fields.size() == 3) fields.push_back("");
        if (fields.size() != 4) continue;
        if (books.empty() || books.back().first != fields[0]) books.push_back({fields[0], {}});
        books.back().second.push_back({std::atoi(fields[1].c_str()), fields[2], corpus::unescape(fields[3])});
    }
    return books;
}

// Compares every book of the table found under `root`; returns the number
// of books compared.
int compare_table(const std::string &table, const std::string &root) {
    int compared = 0;
    for (const auto &[name, cells] : read_table(table)) {
        OpenBook book(root + "/" + name);
        EXPECT_EQ(book.rc(), 0) << name << ": " << OXLS_error_mesg(book.get());
        if (book.rc() != 0) continue;
        int wrong = 0;
        for (const OracleCell &cell : cells) {
            std::string text = book.text(cell.sheet, cell.cell);
            if (text == cell.text) continue;
            if (++wrong <= 5)
                ADD_FAILURE() << name << " sheet " << cell.sheet << " " << cell.cell << ": \"" << text
                              << "\", openpyxl: \"" << cell.text << "\"";
        }
        EXPECT_EQ(wrong, 0) << name << ": " << cells.size() << " cells compared";
        ++compared;
    }
    return compared;
}

TEST(XlsxOracle, FixtureBooksMatchTheCommittedTable) {
    // The table holds all three fixture books, and each of them opens.
    EXPECT_EQ(compare_table(std::string(ZS_TEST_DATA_DIR) + "/expected/xlsx/fixtures.tsv", ZS_TEST_DATA_DIR), 3);
}

bool have_openpyxl() { return std::system("/usr/bin/python3 -c 'import openpyxl' >/dev/null 2>&1") == 0; }

// Corpus books named .xlsx or .xlsm that the manifest does not mark as
// encrypted, malformed, hostile or huge, below 1 MB so that openpyxl gets
// through them in reasonable time.
std::vector<std::string> readable_corpus_books() {
    std::vector<std::string> books;
    for (const corpus::Book &book : corpus::books({"xlsx", "xlsm"})) {
        const bool book_name = book.file.ends_with(".xlsx") || book.file.ends_with(".xlsm");
        if (book_name && book.bytes < 1000000 && !book.marked({"ENCRYPTED", "MALFORMED", "MALICIOUS", "HUGE"}))
            books.push_back(corpus::path(book.file));
    }
    return books;
}

TEST(XlsxOracle, EveryReadableCorpusBookMatchesOpenpyxl) {
    if (!have_openpyxl()) GTEST_SKIP() << "python3 with openpyxl not found";
    std::vector<std::string> books = readable_corpus_books();
    if (books.empty()) GTEST_SKIP() << "no corpus manifest or books under " << corpus::dir();
    TempFolder folder;
    std::string table = folder.file("oracle.tsv");
    std::string command = std::string("/usr/bin/python3 -W ignore ") + ZS_TEST_DATA_DIR +
                          "/../../scripts/oracle_openpyxl.py --root " + corpus::dir();
    for (const std::string &book : books) command += " '" + book + "'";
    command += " > '" + table + "' 2>/dev/null";
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
    EXPECT_GT(compare_table(table, corpus::dir()), 100);
}

}  // namespace
