// Files of a test: reading one whole, and a fresh folder for one test,
// unique to this run so that test processes running side by side never
// share one.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>

// The bytes of a file; empty when it cannot be read.
inline std::string read_file(const std::filesystem::path &path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

inline std::filesystem::path fresh_test_folder(const std::string &prefix) {
    // Outside a test (a suite's set-up) the folder is named after the suite.
    const ::testing::TestInfo *info = ::testing::UnitTest::GetInstance()->current_test_info();
    const std::string test = info ? info->name() : "suite";
    const std::filesystem::path folder = std::filesystem::path(::testing::TempDir()) /
        (prefix + "_" + test + "_" + std::to_string(std::random_device{}()));
    std::filesystem::create_directories(folder);
    return folder;
}

// Such a folder, removed with its contents at the end of the scope.
class TempFolder {
public:
    explicit TempFolder(const std::string &prefix = "zs") : path_(fresh_test_folder(prefix)) {}
    ~TempFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    TempFolder(const TempFolder &) = delete;
    TempFolder &operator=(const TempFolder &) = delete;

    const std::filesystem::path &path() const { return path_; }
    std::string file(const std::string &name) const { return (path_ / name).string(); }
    // Writes `bytes` to the file `name` in the folder, making the folders
    // the name passes through, and gives its path.
    std::string write(const std::string &name, const std::string &bytes) const {
        std::filesystem::create_directories((path_ / name).parent_path());
        std::ofstream(path_ / name, std::ios::binary) << bytes;
        return file(name);
    }

private:
    std::filesystem::path path_;
};
