// Damaged Excel 97-2003 books: deterministic truncated and bit-flipped
// copies must be refused or read in part, never crash or hang.
#include "corpus.h"
#include "xls_test_books.h"

#include <gtest/gtest.h>

#include <chrono>
#include <random>
#include <string>
#include <vector>

using namespace xlstest;

namespace {

// A book that uses most of what the reader interprets.
std::string sample_stream() {
    std::string first;
    std::string rest;
    for (int i = 0; i < 40; ++i)
        (i < 20 ? first : rest) += i % 2 ? sst_string8("ascii " + std::to_string(i)) : sst_string16(u"日本語の文字列");
    const std::string globals =
        codepage(1200) + xf(14) + format16(170, u"0.00%") + sst(60, 40, first) + continue_record(rest);
    std::string cells;
    for (unsigned row = 0; row < 40; ++row) {
        cells += labelsst(row, 0, row) + number(row, 1, 21, 40000 + row) + rk(row, 2, 15, (row << 2) | 2) +
                 formula_other(row, 3, 0) + string8("text " + std::to_string(row)) + boolerr(row, 4, row % 2);
    }
    return workbook(globals, {"First", "Second"}, {cells, label16(0, 0, u"二枚目") + blank(3, 9)});
}

std::vector<std::string> seed_books() {
    std::vector<std::string> seeds{compound_file({{u"Workbook", sample_stream()}})};
    for (const char *name : {"apache-poi/50779_1.xls", "generated/gnumeric_japanese_mixed.xls", "calamine/sst_continue.xls"}) {
        const std::string bytes = read_file(corpus::path(name));
        if (!bytes.empty()) seeds.push_back(bytes);
    }
    return seeds;
}

bool acceptable(int rc) { return rc == 0 || rc == -1 || rc == -4 || rc == -9; }

}  // namespace

TEST(XlsHostile, TruncatedAndBitFlippedCopiesAreRefusedOrReadInPart) {
    std::mt19937 random(20240229);
    int copies = 0;
    double slowest = 0;
    for (const std::string &seed : seed_books()) {
        std::vector<std::string> mutants;
        for (int i = 1; i <= 16; ++i) mutants.push_back(seed.substr(0, seed.size() * i / 17));
        for (int i = 0; i < 64; ++i) {
            std::string copy = seed;
            // Half the copies are damaged in the first sectors, where the
            // header, tables and directory of a small book lie.
            const size_t span = i % 2 ? copy.size() : std::min<size_t>(copy.size(), 2048);
            for (int flips = 1 + i % 8; flips > 0; --flips)
                copy[random() % span] ^= static_cast<char>(1u << (random() % 8));
            mutants.push_back(copy);
        }
        for (const std::string &mutant : mutants) {
            TempFile file("mutant.xls", mutant);
            const auto start = std::chrono::steady_clock::now();
            LoadedBook extracted;
            load_extracted(extracted, file.path());
            LoadedBook scanned;
            load_scanned(scanned, file.path());
            slowest = std::max(slowest, std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
            EXPECT_TRUE(acceptable(extracted.rc)) << extracted.rc << " copy " << copies;
            EXPECT_TRUE(acceptable(scanned.rc)) << scanned.rc << " copy " << copies;
            ++copies;
        }
    }
    EXPECT_LT(slowest, 10.0);
}

