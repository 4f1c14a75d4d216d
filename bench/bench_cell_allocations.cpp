// Allocations per cell of the search: books of one kind of cell each
// (numbers in several formats, shared strings, inline strings) are read
// the way the search reads them, through the cell reader into the search's
// sink, for a word of letters no cell holds, a word of digits that makes
// every number's texts, and an expression that tests every cell.  Every
// allocation of the process is counted (malloc, which operator new calls,
// is replaced in this program); a book is read once to let the reused buffers
// grow, then counted on a second read, as the search reads book after book.
//
//   bench_cell_allocations [cells]      (default 200000 per book)
//
// Exit status 1 when a kind of cell needs an allocation per cell.
#include "book_cells.h"
#include "charset.h"
#include "engine/book_hits.h"
#include "engine/cell_matcher.h"
#include "write_package.h"

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

extern "C" void *__libc_malloc(size_t size);
extern "C" void *__libc_calloc(size_t count, size_t size);
extern "C" void *__libc_realloc(void *pointer, size_t size);

namespace {

std::atomic<long long> allocations{0};

}  // namespace

// Every allocation of the program goes through these: operator new of
// the C++ library calls malloc.
extern "C" void *malloc(size_t size) {
    allocations.fetch_add(1, std::memory_order_relaxed);
    return __libc_malloc(size);
}
extern "C" void *calloc(size_t count, size_t size) {
    allocations.fetch_add(1, std::memory_order_relaxed);
    return __libc_calloc(count, size);
}
extern "C" void *realloc(void *pointer, size_t size) {
    allocations.fetch_add(1, std::memory_order_relaxed);
    return __libc_realloc(pointer, size);
}

namespace {

constexpr int kColumns = 10;
constexpr int kUniqueStrings = 5000;

std::string cell_name(int row, int column) { return std::string(1, static_cast<char>('A' + column)) + std::to_string(row); }

// The XML of a cell of the kind, in row `row` and column `column`.
std::string number_cell(int row, int column) {
    // General whole and decimal numbers, a date, a date and time, a grouped
    // number, a percentage and a currency.
    static const char *const kStyles[kColumns] = {"", "", " s=\"1\"", " s=\"2\"", " s=\"3\"", " s=\"4\"", " s=\"5\"",
                                                  "", " s=\"3\"", " s=\"1\""};
    const long long value = (row * 7919LL + column * 104729LL) % 1000000;
    const std::string text = column % 3 == 1 ? std::to_string(value) + "." + std::to_string(row % 100)
                                             : std::to_string(column == 2 || column == 9 ? 36526 + value % 9000 : value);
    return "<c r=\"" + cell_name(row, column) + "\"" + kStyles[column] + "><v>" + text + "</v></c>";
}

std::string shared_cell(int row, int column) {
    return "<c r=\"" + cell_name(row, column) + "\" t=\"s\"><v>" +
           std::to_string((row * kColumns + column) % kUniqueStrings) + "</v></c>";
}

std::string inline_cell(int row, int column) {
    return "<c r=\"" + cell_name(row, column) + "\" t=\"inlineStr\"><is><t>備考" + std::to_string(row) +
           " &amp; 東京都" + std::to_string(column) + "</t></is></c>";
}

bool write_book(const std::string &path, int cells, std::string (*cell)(int, int)) {
    std::string sheet = "<worksheet><sheetData>";
    for (int row = 1; row <= (cells + kColumns - 1) / kColumns; ++row) {
        sheet += "<row r=\"" + std::to_string(row) + "\">";
        for (int column = 0; column < kColumns; ++column) sheet += cell(row, column);
        sheet += "</row>";
    }
    sheet += "</sheetData></worksheet>";
    std::string strings = "<sst>";
    for (int i = 0; i < kUniqueStrings; ++i) strings += "<si><t>千代田区丸の内" + std::to_string(i) + "丁目</t></si>";
    strings += "</sst>";
    return write_package(
        path, {{"[Content_Types].xml", "<Types/>"},
               {"xl/workbook.xml", "<workbook><sheets><sheet name=\"表\" sheetId=\"1\"/></sheets></workbook>"},
               {"xl/styles.xml", "<styleSheet><numFmts><numFmt numFmtId=\"164\" formatCode=\"yyyy/m/d h:mm\"/></numFmts>"
                                 "<cellXfs><xf numFmtId=\"0\"/><xf numFmtId=\"14\"/><xf numFmtId=\"164\"/>"
                                 "<xf numFmtId=\"3\"/><xf numFmtId=\"10\"/><xf numFmtId=\"6\"/></cellXfs></styleSheet>"},
               {"xl/sharedStrings.xml", strings},
               {"xl/worksheets/sheet1.xml", sheet}});
}

// Allocations of a second read of the book, for the words.
long long counted_read(const std::string &path, const std::string &word, bool expression) {
    zscan::CellMatcher matcher;
    std::string bad_word;
    if (!matcher.prepare(CS_UTF8, {word}, expression, bad_word)) return -1;
    zscan::BookHits hits(matcher, CS_UTF8, zscan::TextsSearched{});
    BookCellReader reader;
    if (reader.read(path.c_str(), hits) != 0) return -1;
    hits.clear();
    const long long before = allocations.load();
    if (reader.read(path.c_str(), hits) != 0) return -1;
    return allocations.load() - before;
}

}  // namespace

int main(int argc, char **argv) {
    const int cells = argc > 1 ? std::atoi(argv[1]) : 200000;
    const struct {
        const char *name;
        std::string (*cell)(int, int);
    } kinds[] = {{"numbers", number_cell}, {"shared strings", shared_cell}, {"inline strings", inline_cell}};
    const struct {
        const char *title;
        const char *word;
        bool expression;
    } searches[] = {{"word of letters", "ZQXNEEDLE", false}, {"word of digits", "73062918", false},
                    {"expression", ".*ZQXNEEDLE.*", true}};
    const std::string path = (std::filesystem::temp_directory_path() / "zs_bench_allocations.xlsx").string();
    std::printf("allocations per cell, on the second read of a book of %d cells\n\n", cells);
    std::printf("| cells | %s | %s | %s |\n|---|---:|---:|---:|\n", searches[0].title, searches[1].title,
                searches[2].title);
    bool per_cell = false;
    for (const auto &kind : kinds) {
        if (!write_book(path, cells, kind.cell)) {
            std::fprintf(stderr, "cannot write %s\n", path.c_str());
            return 2;
        }
        std::printf("| %s |", kind.name);
        for (const auto &search : searches) {
            const long long counted = counted_read(path, search.word, search.expression);
            if (counted < 0) {
                std::fprintf(stderr, "cannot read %s\n", path.c_str());
                return 2;
            }
            const double each = static_cast<double>(counted) / cells;
            per_cell = per_cell || each >= 0.5;
            std::printf(" %.4f (%lld) |", each, counted);
        }
        std::printf("\n");
    }
    std::filesystem::remove(path);
    return per_cell ? 1 : 0;
}
