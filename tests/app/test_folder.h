// A fresh folder for one test, unique to this run so that test processes
// running side by side never share one.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <string>

inline std::filesystem::path fresh_test_folder(const std::string &prefix) {
    const std::string test = ::testing::UnitTest::GetInstance()->current_test_info()->name();
    const std::filesystem::path folder = std::filesystem::path(::testing::TempDir()) /
        (prefix + "_" + test + "_" + std::to_string(std::random_device{}()));
    std::filesystem::create_directories(folder);
    return folder;
}
