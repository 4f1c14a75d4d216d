// Reading a large Excel 2007 book the way the search application does:
// writes a generated book of many cells (shared strings, inline strings,
// whole and decimal numbers, short dates, booleans, formulas with cached
// values), then times OXLS_open_book in UNLOAD mode, the display text of
// every cell through OXLS_get_cell, and the close; prints the peak memory
// of the reading alone.
//
//   bench_read_xlsx [cells] [book.xlsx]      (defaults: 1000000, a file in the temporary folder)
#include "oxls.h"
#include "write_package.h"

#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
constexpr int COLUMNS = 10;
constexpr int UNIQUE_STRINGS = 20000;

double seconds_since(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

std::string column_letter(int column) { return std::string(1, static_cast<char>('A' + column)); }

// One row of ten cells of mixed kinds.
void append_row(std::string &xml, int row) {
    std::string r = std::to_string(row);
    xml += "<row r=\"" + r + "\" spans=\"1:10\">";
    auto cell = [&](int column, const char *attributes, const std::string &inner) {
        xml += "<c r=\"" + column_letter(column) + r + "\"" + attributes + ">" + inner + "</c>";
    };
    cell(0, " t=\"s\"", "<v>" + std::to_string(row % UNIQUE_STRINGS) + "</v>");
    cell(1, "", "<v>" + std::to_string(row * 7) + "</v>");
    cell(2, "", "<v>" + std::to_string(row) + ".25</v>");
    cell(3, " s=\"1\"", "<v>" + std::to_string(42000 + row % 3000) + "</v>");
    cell(4, " t=\"s\"", "<v>" + std::to_string((row * 13) % UNIQUE_STRINGS) + "</v>");
    cell(5, " t=\"inlineStr\"", "<is><t>行" + r + "の備考 &amp; メモ</t></is>");
    cell(6, " t=\"b\"", row % 2 ? "<v>1</v>" : "<v>0</v>");
    cell(7, "", "<f>B" + r + "*2</f><v>" + std::to_string(row * 14) + "</v>");
    cell(8, " t=\"str\"", "<f>A" + r + "&amp;\"様\"</f><v>顧客" + r + "様</v>");
    cell(9, " s=\"2\"", "<v>" + std::to_string(row % 1000) + ".5</v>");
    xml += "</row>";
}

// Writes the book; returns the size of its worksheet XML, or 0 on failure.
size_t write_book(const std::string &path, int cells) {
    int rows = (cells + COLUMNS - 1) / COLUMNS;
    std::string sst = "<sst count=\"" + std::to_string(UNIQUE_STRINGS) + "\">";
    for (int i = 0; i < UNIQUE_STRINGS; ++i)
        sst += "<si><t>東京都千代田区丸の内" + std::to_string(i) + "丁目</t></si>";
    sst += "</sst>";
    std::string sheet =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?><worksheet "
        "xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\"><sheetData>";
    for (int row = 1; row <= rows; ++row) append_row(sheet, row);
    sheet += "</sheetData></worksheet>";
    const bool ok = write_package(
        path, {{"[Content_Types].xml", "<Types/>"},
               {"xl/workbook.xml", "<workbook><sheets><sheet name=\"大きな表\" sheetId=\"1\"/></sheets></workbook>"},
               {"xl/styles.xml", "<styleSheet><cellXfs><xf numFmtId=\"0\"/><xf numFmtId=\"14\"/><xf numFmtId=\"4\"/>"
                                 "</cellXfs></styleSheet>"},
               {"xl/sharedStrings.xml", sst},
               {"xl/worksheets/sheet1.xml", sheet}});
    return ok ? sheet.size() : 0;
}

// Starts the peak-memory count afresh (Linux); false where that is not possible.
bool reset_peak_memory() {
    std::ofstream clear("/proc/self/clear_refs");
    clear << "5";
    return static_cast<bool>(clear);
}

long peak_memory_kb() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmHWM:", 0) == 0) return std::atol(line.c_str() + 6);
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

}  // namespace

int main(int argc, char **argv) {
    int cells = argc > 1 ? std::atoi(argv[1]) : 1000000;
    std::string path =
        argc > 2 ? argv[2] : (std::filesystem::temp_directory_path() / "zs_bench_read.xlsx").string();
    Clock::time_point start = Clock::now();
    size_t xml_size = write_book(path, cells);
    if (xml_size == 0) {
        std::fprintf(stderr, "cannot write %s\n", path.c_str());
        return 1;
    }
    std::printf("book: %s, %d cells, worksheet XML %.1f MB, package %.1f MB, written in %.2f s\n", path.c_str(),
                cells, xml_size / 1e6, std::filesystem::file_size(path) / 1e6, seconds_since(start));
    bool fresh_peak = reset_peak_memory();

    auto book = std::make_unique<XLS_BOOK>();
    std::string args = "EXCEL=\"" + path + "\" MODE=UNLOAD CHARSET=UTF8";
    start = Clock::now();
    if (OXLS_open_book(book.get(), args.c_str()) != 0) {
        std::fprintf(stderr, "open failed: %s\n", OXLS_error_mesg(book.get()));
        return 1;
    }
    double open_time = seconds_since(start);
    long open_peak = peak_memory_kb();

    start = Clock::now();
    std::vector<char> text(XLS_CELL_UTF8_LEN + 1);
    long long read = 0, bytes = 0;
    char name[32];
    for (int s = 0; s < OXLS_sheet_num(book.get()); ++s) {
        OXLS_open_sheet2(book.get(), s);
        for (int r = 0; r < OXLS_row_num(book.get()); ++r) {
            int columns = OXLS_column_num(book.get(), r);
            for (int c = 0; c < columns; ++c) {
                OXLS_cell_name(r + 1, c + 1, name);
                if (OXLS_get_cell(book.get(), name, text.data(), static_cast<int>(text.size()), nullptr, 0) == 0) {
                    ++read;
                    bytes += static_cast<long long>(std::strlen(text.data()));
                }
            }
        }
    }
    double read_time = seconds_since(start);
    start = Clock::now();
    OXLS_close_book(book.get(), nullptr);
    double close_time = seconds_since(start);
    std::filesystem::remove(path);

    std::printf("open (extract and parse): %.2f s, peak memory %.1f MB%s\n", open_time, open_peak / 1024.0,
                fresh_peak ? "" : " (whole process)");
    std::printf("get_cell of %lld cells (%.1f MB of text): %.2f s\n", read, bytes / 1e6, read_time);
    std::printf("close: %.2f s; peak memory overall %.1f MB\n", close_time, peak_memory_kb() / 1024.0);
    return read == cells ? 0 : 1;
}
