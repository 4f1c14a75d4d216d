// Inputs that once crashed, hung or leaked in a fuzz target, replayed
// through the same target code.  Each folder under fuzz_regressions/ is
// named after its target; the sanitizer build turns any relapse into a
// failure.
#include "../../fuzz/biff_target.h"
#include "../../fuzz/book_cells_target.h"
#include "../../fuzz/cell_name_target.h"
#include "../../fuzz/compound_file_target.h"
#include "../../fuzz/file_type_target.h"
#include "../../fuzz/xlsx_package_target.h"
#include "../../fuzz/zip_extract_target.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

using TargetRun = int (*)(const uint8_t *, size_t);

// Runs every input kept for `target` and returns how many there were.
int replay(const char *target, TargetRun run) {
    const fs::path folder = fs::path(ZS_TEST_DATA_DIR) / "fuzz_regressions" / target;
    if (!fs::is_directory(folder)) return 0;
    std::vector<fs::path> inputs;
    for (const auto &entry : fs::directory_iterator(folder))
        if (entry.is_regular_file()) inputs.push_back(entry.path());
    std::sort(inputs.begin(), inputs.end());
    for (const fs::path &input : inputs) {
        SCOPED_TRACE(input.filename().string());
        std::ifstream in(input, std::ios::binary);
        const std::vector<char> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
        EXPECT_EQ(run(reinterpret_cast<const uint8_t *>(bytes.data()), bytes.size()), 0);
    }
    return static_cast<int>(inputs.size());
}

TEST(FuzzRegression, ReplaysEveryKeptInputOfEveryTarget) {
    int total = 0;
    total += replay("cell_name", fuzz::run_cell_name);
    total += replay("file_type", fuzz::run_file_type);
    total += replay("zip_extract", fuzz::run_zip_extract);
    total += replay("compound_file", fuzz::run_compound_file);
    total += replay("biff", fuzz::run_biff);
    total += replay("xlsx_package", fuzz::run_xlsx_package);
    // The search reads books its own way: the inputs kept for both readers
    // go through it as well.
    replay("xlsx_package", fuzz::run_book_cells);
    replay("biff", fuzz::run_book_cells);
    EXPECT_GT(total, 0) << "no kept inputs found under " << ZS_TEST_DATA_DIR;
}

}  // namespace
