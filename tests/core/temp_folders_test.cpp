// Temporary folders: whole paths created, folders removed with their
// contents but never through a link, and old numbered folders cleaned out
// by their true age.
#include "platform/platform.h"
#include "temp_folders.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

class TempFolders : public ::testing::Test {
protected:
    void SetUp() override {
        folder_ = fs::temp_directory_path() / ("zs_temp_folders_" + std::to_string(getpid()));
        fs::create_directories(folder_);
        const char *temp = std::getenv("TEMP");
        had_temp_ = temp != nullptr;
        if (had_temp_) old_temp_ = temp;
        setenv("TEMP", folder_.c_str(), 1);
    }
    void TearDown() override {
        if (had_temp_)
            setenv("TEMP", old_temp_.c_str(), 1);
        else
            unsetenv("TEMP");
        fs::remove_all(folder_);
    }
    std::string path(const std::string &name) const { return (folder_ / name).string(); }
    fs::path folder_;
    bool had_temp_ = false;
    std::string old_temp_;
};

TEST_F(TempFolders, CreatePathMakesEveryMissingLevel) {
    EXPECT_EQ(orb_create_path(path("a/b/c/").c_str()), 0);
    EXPECT_TRUE(fs::is_directory(path("a/b/c")));
    EXPECT_EQ(orb_create_path(path("a/b/c").c_str()), 0) << "existing levels are fine";
    std::ofstream(path("a/file")) << "x";
    EXPECT_EQ(orb_create_path(path("a/file/d").c_str()), -1) << "a file stands in the way";
    EXPECT_EQ(orb_create_path(""), -1);
}

TEST_F(TempFolders, MakeTempFolderUsesTheTemporaryFolder) {
    std::string made;
    ASSERT_EQ(orb_make_temp_folder("OBtemp", made), 0);
    EXPECT_EQ(made, path("OBtemp"));
    EXPECT_TRUE(fs::is_directory(made));
    EXPECT_EQ(orb_make_temp_folder("OBtemp", made), 0) << "an existing folder is fine";
}

TEST_F(TempFolders, RemoveFolderDeletesContentsButNotWhatLinksPointTo) {
    fs::create_directories(path("gone/x/y"));
    std::ofstream(path("gone/top.txt")) << "1";
    std::ofstream(path("gone/x/y/deep.txt")) << "2";
    fs::create_directories(path("kept"));
    std::ofstream(path("kept/precious.txt")) << "keep me";
    fs::create_directory_symlink(path("kept"), path("gone/x/link"));

    EXPECT_EQ(orb_remove_folder(path("gone").c_str()), 0);
    EXPECT_FALSE(fs::exists(path("gone")));
    EXPECT_TRUE(fs::exists(path("kept/precious.txt")));

    EXPECT_EQ(orb_remove_folder(path("absent").c_str()), -1);
    EXPECT_EQ(orb_remove_folder(path("kept/precious.txt").c_str()), -1) << "not a folder";
}

TEST_F(TempFolders, CleaningRemovesOnlyFoldersOlderThanTheAge) {
    auto make = [&](const char *number, int days_old) {
        std::string folder = path(std::string("work/") + number);
        fs::create_directories(folder);
        std::ofstream(folder + "/f.txt") << "x";
        std::time_t when = std::time(nullptr) - static_cast<std::time_t>(days_old) * 86400 - 60;
        std::tm local{};
        localtime_r(&when, &local);
        ASSERT_EQ(zplat::set_file_time(folder.c_str(), local), 0);
    };
    make("0000", 40);   // older than a month: the day of the month alone cannot tell
    make("0007", 3);
    make("0150", 10);
    make("0199", 0);
    make("0200", 90);   // outside the numbered range
    EXPECT_EQ(orb_clean_old_folders("work", 5), 2);
    EXPECT_FALSE(fs::exists(path("work/0000")));
    EXPECT_TRUE(fs::exists(path("work/0007")));
    EXPECT_FALSE(fs::exists(path("work/0150")));
    EXPECT_TRUE(fs::exists(path("work/0199")));
    EXPECT_TRUE(fs::exists(path("work/0200")));
    EXPECT_EQ(orb_clean_old_folders("nothing-here", 0), 0);
}

}  // namespace
