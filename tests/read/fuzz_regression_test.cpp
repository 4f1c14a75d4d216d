// Inputs kept from fuzz runs, replayed through the same target code: those
// that once crashed, hung or leaked a target, and a few that a run found to
// reach far into it.  Each folder under fuzz_regressions/ is named after
// its target; the sanitizer build turns any relapse into a failure.
#include "../../fuzz/biff_target.h"
#include "../../fuzz/book_cells_target.h"
#include "../../fuzz/cell_name_target.h"
#include "../../fuzz/compound_file_target.h"
#include "../../fuzz/encryption_target.h"
#include "../../fuzz/file_type_target.h"
#include "../../fuzz/xlsx_package_target.h"
#include "../../fuzz/zip_extract_target.h"

#include "test_folder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
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
        const std::string bytes = read_file(input);
        EXPECT_EQ(run(reinterpret_cast<const uint8_t *>(bytes.data()), bytes.size()), 0);
    }
    return static_cast<int>(inputs.size());
}

TEST(FuzzRegression, ReplaysTheKeptInputsOfEveryTarget) {
    const struct {
        const char *target;
        TargetRun run;
    } targets[] = {{"cell_name", fuzz::run_cell_name},         {"file_type", fuzz::run_file_type},
                   {"zip_extract", fuzz::run_zip_extract},     {"compound_file", fuzz::run_compound_file},
                   {"biff", fuzz::run_biff},                   {"xlsx_package", fuzz::run_xlsx_package},
                   {"encryption", fuzz::run_encryption}};
    for (const auto &t : targets) EXPECT_GT(replay(t.target, t.run), 0) << "no kept inputs for " << t.target;
    // The search reads books its own way: the inputs kept for both readers
    // go through it as well.
    replay("xlsx_package", fuzz::run_book_cells);
    replay("biff", fuzz::run_book_cells);
    // A folder of another name would be replayed by no target.
    for (const auto &entry : fs::directory_iterator(fs::path(ZS_TEST_DATA_DIR) / "fuzz_regressions")) {
        const std::string name = entry.path().filename().string();
        EXPECT_TRUE(std::any_of(std::begin(targets), std::end(targets), [&](const auto &t) { return name == t.target; }))
            << name << " is no fuzz target";
    }
}

}  // namespace
