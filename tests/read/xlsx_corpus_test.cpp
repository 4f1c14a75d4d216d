// Every Excel 2007 file of the corpus, hostile ones included, either opens
// and yields a text for each cell, or fails with a code and a message; the
// encrypted ones are refused as unsupported.
#include "xlsx_test_package.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

namespace {

using namespace xlsx_test;

struct CorpusFile {
    std::string path;
    std::string notes;
};

std::vector<CorpusFile> excel2007_files() {
    std::vector<CorpusFile> files;
    std::ifstream manifest(std::string(ZS_CORPUS_DIR) + "/MANIFEST.tsv");
    std::string line;
    while (std::getline(manifest, line)) {
        std::vector<std::string> fields;
        std::stringstream split(line);
        std::string field;
        while (std::getline(split, field, '\t')) fields.push_back(field);
        if (fields.size() < 7 || (fields[4] != "xlsx" && fields[4] != "xlsm")) continue;
        std::string path = std::string(ZS_CORPUS_DIR) + "/" + fields[0];
        std::string extension = std::filesystem::path(path).extension().string();
        if ((extension == ".xlsx" || extension == ".xlsm") && std::filesystem::exists(path))
            files.push_back({path, fields[6]});
    }
    return files;
}

TEST(XlsxCorpus, EveryBookOpensOrFailsCleanly) {
    std::vector<CorpusFile> files = excel2007_files();
    if (files.empty()) GTEST_SKIP() << "no corpus manifest or books under " << ZS_CORPUS_DIR;
    int opened = 0;
    for (const CorpusFile &file : files) {
        OpenBook book(file.path);
        if (file.notes.rfind("ENCRYPTED", 0) == 0) {
            EXPECT_EQ(book.rc(), OXLS_ERR_UNSUPPORTED) << file.path;
            continue;
        }
        if (book.rc() != 0) {
            EXPECT_LT(book.rc(), 0) << file.path;
            EXPECT_STRNE(OXLS_error_mesg(book.get()), "") << file.path;
            EXPECT_TRUE(file.notes.rfind("MALFORMED", 0) == 0 || file.notes.rfind("MALICIOUS", 0) == 0)
                << file.path << " failed with " << book.rc() << ": " << OXLS_error_mesg(book.get());
            continue;
        }
        ++opened;
        XLS_BOOK *b = book.get();
        std::vector<char> text(XLS_CELL_UTF8_LEN + 1);
        for (int s = 0; s < OXLS_sheet_num(b); ++s) {
            ASSERT_EQ(OXLS_open_sheet2(b, s), 0);
            for (int r = 0; r < OXLS_row_num(b); ++r) {
                for (int c = 0; c < b->sheets[s].rows[r].cell_count; ++c) {
                    char name[16];
                    ASSERT_EQ(OXLS_cell_name(r + 1, c + 1, name), 0);
                    ASSERT_EQ(OXLS_get_cell(b, name, text.data(), static_cast<int>(text.size()), nullptr, 0), 0)
                        << file.path << " " << name;
                }
            }
        }
    }
    EXPECT_GT(opened, 100);
}

}  // namespace
