// Temporary folders: whole paths created, folders made under the temporary
// folder, and folders removed with their contents but never through a link.
#include "temp_folders.h"
#include "environment.h"
#include "test_folder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace {

namespace fs = std::filesystem;

TEST(TempFolders, PathsAreMadeAndRemovedWithoutFollowingLinks) {
    TempFolder folder("zs_temp_folders");
    const auto path = [&](const std::string &name) { return folder.file(name); };
    EXPECT_EQ(orb_create_path(path("a/b/c/").c_str()), 0);
    EXPECT_TRUE(fs::is_directory(path("a/b/c")));
    EXPECT_EQ(orb_create_path(path("a/b/c").c_str()), 0) << "existing levels are fine";
    folder.write("a/file", "x");
    EXPECT_EQ(orb_create_path(path("a/file/d").c_str()), -1) << "a file stands in the way";
    EXPECT_EQ(orb_create_path(""), -1);

    Environment environment;
    environment.set("TEMP", folder.path().c_str());
    std::string made;
    ASSERT_EQ(orb_make_temp_folder("OBtemp", made), 0);
    EXPECT_EQ(made, path("OBtemp"));
    EXPECT_TRUE(fs::is_directory(made));
    EXPECT_EQ(orb_make_temp_folder("OBtemp", made), 0) << "an existing folder is fine";

    folder.write("gone/x/y/deep.txt", "2");
    folder.write("kept/precious.txt", "keep me");
    fs::create_directory_symlink(path("kept"), path("gone/x/link"));
    EXPECT_EQ(orb_remove_folder(path("gone").c_str()), 0);
    EXPECT_FALSE(fs::exists(path("gone")));
    EXPECT_TRUE(fs::exists(path("kept/precious.txt")));
    EXPECT_EQ(orb_remove_folder(path("absent").c_str()), -1);
    EXPECT_EQ(orb_remove_folder(path("kept/precious.txt").c_str()), -1) << "not a folder";
}

}  // namespace
