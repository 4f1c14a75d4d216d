// Writing a result book of many linked hit rows, as the search application
// does at its 10000-hit limit, and saving it: prints the time of both
// phases, the size of the book and the peak memory.
//
//   bench_write_xlsx [rows] [output.xlsx]      (defaults: 10000, a file in the temporary folder)
#include "oxls.h"

#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

namespace {

using Clock = std::chrono::steady_clock;

double seconds_since(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

}  // namespace

int main(int argc, char **argv) {
    int rows = argc > 1 ? std::atoi(argv[1]) : 10000;
    std::string path = argc > 2 ? argv[2]
                                : (std::filesystem::temp_directory_path() / "zs_bench_write.xlsx").string();
    auto book = std::make_unique<XLS_BOOK>();
    std::string args = "BOOK=\"" + path + "\" CHARSET=UTF8";
    if (OXLS_open_book(book.get(), args.c_str()) != 0) {
        std::fprintf(stderr, "open failed: %s\n", OXLS_error_mesg(book.get()));
        return 1;
    }
    Clock::time_point start = Clock::now();
    int rc = OXLS_put_values(book.get(),
                             "A.幅=50 B.幅=10 C.幅=20 D.幅=100 A1=セル内容 B1=セル名 C1=シート名 "
                             "D1=パス(フォルダリンク) A1:D1.配置=中中 A1:D1.フォント.スタイル=強調");
    for (int hit = 1; hit <= rows && rc == 0; ++hit) {
        int row = hit + 1;
        std::string folder = "/home/user/資料/部署" + std::to_string(hit % 37) + "/年度別 集計";
        std::string book_path = folder + "/売上報告_" + std::to_string(hit) + ".xlsx";
        std::string cell = "C" + std::to_string(hit % 500 + 1);
        std::string values = "A" + std::to_string(row) + "=\"第" + std::to_string(hit) +
                             "四半期の売上合計 \"確定\" & 見込み\" B" + std::to_string(row) + "=\"" + cell + "\" C" +
                             std::to_string(row) + "=\"集計表\" D" + std::to_string(row) + "=\"" + book_path + "\"";
        rc = OXLS_put_values(book.get(), values.c_str());
        std::string a = "A" + std::to_string(row), d = "D" + std::to_string(row);
        if (rc == 0) rc = OXLS_book_hyperlink(book.get(), a.c_str(), book_path.c_str(), "集計表", cell.c_str());
        if (rc == 0) rc = OXLS_external_hyperlink(book.get(), d.c_str(), folder.c_str());
    }
    if (rc != 0) {
        std::fprintf(stderr, "writing failed (%d): %s\n", rc, OXLS_error_mesg(book.get()));
        return 1;
    }
    double put_time = seconds_since(start);
    start = Clock::now();
    rc = OXLS_close_book(book.get(), "SAVE");
    double save_time = seconds_since(start);
    if (rc != 0) {
        std::fprintf(stderr, "saving failed (%d): %s\n", rc, OXLS_error_mesg(book.get()));
        return 1;
    }
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("rows %d: values and links %.3f s, save %.3f s, book %lld bytes, peak memory %ld KiB\n", rows,
                put_time, save_time, static_cast<long long>(std::filesystem::file_size(path)), usage.ru_maxrss);
    if (argc <= 2) std::filesystem::remove(path);
    return 0;
}
