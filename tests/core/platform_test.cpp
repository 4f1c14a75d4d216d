// The POSIX platform layer: file modes and their locks, folder listing,
// code-page conversion with the replacements Windows gives.
#include "platform/platform.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <set>
#include <sys/stat.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

class PlatformFiles : public ::testing::Test {
protected:
    void SetUp() override {
        folder_ = fs::temp_directory_path() / ("zs_platform_" + std::to_string(getpid()));
        fs::create_directories(folder_);
    }
    void TearDown() override { fs::remove_all(folder_); }
    std::string path(const char *name) const { return (folder_ / name).string(); }
    fs::path folder_;
};

TEST_F(PlatformFiles, OpenModesCreateTruncateAppendAndSeek) {
    std::string p = path("a.bin");
    EXPECT_EQ(zplat::file_open(p.c_str(), 1), nullptr) << "read mode needs an existing file";
    EXPECT_EQ(zplat::file_open(p.c_str(), 5), nullptr);

    zplat::File *w = zplat::file_open(p.c_str(), 2);
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(zplat::file_write(w, "hello", 5), 5u);
    zplat::file_close(w);

    zplat::File *a = zplat::file_open(p.c_str(), 3);
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(zplat::file_write(a, "!", 1), 1u);
    zplat::file_close(a);

    long long size = 0;
    ASSERT_EQ(zplat::file_size(p.c_str(), &size), 0);
    EXPECT_EQ(size, 6);

    zplat::File *r = zplat::file_open(p.c_str(), 1);
    ASSERT_NE(r, nullptr);
    char buffer[8] = {};
    EXPECT_EQ(zplat::file_seek(r, -2, 2), 0);
    EXPECT_EQ(zplat::file_tell(r), 4);
    EXPECT_EQ(zplat::file_read(r, buffer, sizeof buffer), 2u);
    EXPECT_STREQ(buffer, "o!");
    EXPECT_EQ(zplat::file_read(r, buffer, sizeof buffer), 0u);
    EXPECT_EQ(zplat::file_seek(r, 0, 9), -3);
    EXPECT_EQ(zplat::file_seek(r, -100, 1), -104);
    zplat::file_close(r);

    // Write mode truncates.
    zplat::file_close(zplat::file_open(p.c_str(), 2));
    ASSERT_EQ(zplat::file_size(p.c_str(), &size), 0);
    EXPECT_EQ(size, 0);
    EXPECT_EQ(zplat::file_size(path("none").c_str(), &size), -101);
}

TEST_F(PlatformFiles, AFileBeingWrittenCannotBeOpenedForReading) {
    std::string p = path("locked.bin");
    zplat::File *w = zplat::file_open(p.c_str(), 4);
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(zplat::file_open(p.c_str(), 1), nullptr);
    zplat::file_close(w);
    zplat::File *r1 = zplat::file_open(p.c_str(), 1);
    zplat::File *r2 = zplat::file_open(p.c_str(), 1);
    EXPECT_NE(r1, nullptr);
    EXPECT_NE(r2, nullptr) << "readers share";
    EXPECT_EQ(zplat::file_open(p.c_str(), 2), nullptr) << "a file being read is not truncated";
    zplat::file_close(r1);
    zplat::file_close(r2);
}

TEST_F(PlatformFiles, FileTimeRoundTripsAndFoldersList) {
    std::string p = path("t.txt");
    zplat::file_close(zplat::file_open(p.c_str(), 2));
    std::tm when{};
    when.tm_year = 2016 - 1900;
    when.tm_mon = 2;
    when.tm_mday = 25;
    when.tm_hour = 13;
    when.tm_min = 14;
    when.tm_sec = 15;
    ASSERT_EQ(zplat::set_file_time(p.c_str(), when), 0);
    std::tm back{};
    ASSERT_EQ(zplat::file_time(p.c_str(), &back), 0);
    EXPECT_EQ(back.tm_year, when.tm_year);
    EXPECT_EQ(back.tm_mday, 25);
    EXPECT_EQ(back.tm_hour, 13);
    EXPECT_EQ(back.tm_sec, 15);

    std::string sub = path("sub");
    EXPECT_EQ(zplat::make_directory(sub.c_str()), 0);
    EXPECT_EQ(zplat::make_directory(sub.c_str()), 1);
    EXPECT_EQ(zplat::make_directory(p.c_str()), -1) << "a file is in the way";
    zplat::file_close(zplat::file_open(path(".hidden").c_str(), 2));
    fs::create_symlink(sub, path("link"));
    ASSERT_EQ(mkfifo(path("pipe").c_str(), 0600), 0);

    std::set<std::string> seen;
    ASSERT_EQ(zplat::list_directory(folder_.c_str(), [&](const zplat::DirEntry &e) {
        std::string flags = std::string(e.is_directory ? "d" : "-") + (e.is_hidden ? "h" : "-") +
                            (e.is_link ? "l" : "-") + (e.is_regular ? "r" : "-");
        seen.insert(e.name + ":" + flags);
        return true;
    }), 0);
    EXPECT_EQ(seen, (std::set<std::string>{"t.txt:---r", "sub:d---", ".hidden:-h-r", "link:d-l-", "pipe:----"}));
    zplat::FolderId through_link, real, parent;
    ASSERT_TRUE(zplat::folder_id(path("link").c_str(), through_link));
    ASSERT_TRUE(zplat::folder_id(sub.c_str(), real));
    ASSERT_TRUE(zplat::folder_id(folder_.c_str(), parent));
    EXPECT_TRUE(through_link == real && real != parent);
    EXPECT_TRUE(zplat::is_link(path("link").c_str()));
    EXPECT_FALSE(zplat::is_link(sub.c_str()));

    int visits = 0;
    zplat::list_directory(folder_.c_str(), [&](const zplat::DirEntry &) { return ++visits < 2; });
    EXPECT_EQ(visits, 2) << "listing stops when asked";
    EXPECT_EQ(zplat::list_directory(path("missing").c_str(), [](const zplat::DirEntry &) { return true; }), -1);
    EXPECT_EQ(zplat::remove_directory(sub.c_str()), 0);
}

TEST(PlatformEnvironment, TempFolderPrefersAShortTemp) {
    std::string saved;
    bool had = zplat::get_env("TEMP", saved);
    setenv("TEMP", "/var/tmp/", 1);
    EXPECT_EQ(zplat::temp_folder(), "/var/tmp");
    // Without a usable TEMP: the user's own folder under TMPDIR, else /tmp.
    const std::string own = "/tmp/zscan-" + std::to_string(geteuid());
    setenv("TEMP", std::string(300, 'x').c_str(), 1);
    setenv("TMPDIR", "/tmp/", 1);
    EXPECT_EQ(zplat::temp_folder(), own);
    unsetenv("TMPDIR");
    unsetenv("TEMP");
    EXPECT_EQ(zplat::temp_folder(), own);
    struct stat st;
    ASSERT_EQ(lstat(own.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0700u);
    if (had) setenv("TEMP", saved.c_str(), 1);
    EXPECT_FALSE(zplat::executable_path().empty());
}

TEST_F(PlatformFiles, OwnTemporaryFolderIsRefusedWhenOthersCouldReachIt) {
    std::string saved;
    const bool had = zplat::get_env("TEMP", saved);
    unsetenv("TEMP");
    setenv("TMPDIR", folder_.c_str(), 1);
    const std::string own = path(("zscan-" + std::to_string(geteuid())).c_str());
    const std::string elsewhere = path("elsewhere");
    ASSERT_EQ(mkdir(elsewhere.c_str(), 0700), 0);
    // A link (even to a private folder), a folder open to the group, and
    // (when the test may give folders away) a folder of another user.
    const std::vector<std::function<bool()>> takeovers = {
        [&] { return symlink(elsewhere.c_str(), own.c_str()) == 0; },
        [&] { return mkdir(own.c_str(), 0700) == 0 && chmod(own.c_str(), 0750) == 0; },
        [&] { return geteuid() != 0 || (mkdir(own.c_str(), 0700) == 0 && chown(own.c_str(), 65534, 65534) == 0); },
    };
    for (size_t i = 0; i < takeovers.size(); ++i) {
        SCOPED_TRACE(i);
        ASSERT_TRUE(takeovers[i]());
        if (!zplat::is_link(own.c_str()) && !zplat::is_directory(own.c_str())) continue;
        EXPECT_EQ(zplat::temp_folder(), "");
        EXPECT_EQ(zplat::debug_log_path(), "");
        if (unlink(own.c_str()) != 0) rmdir(own.c_str());
    }
    EXPECT_EQ(zplat::temp_folder(), own);
    unsetenv("TMPDIR");
    if (had) setenv("TEMP", saved.c_str(), 1);
}

TEST(PlatformCodePages, ShiftJisIsCodePage932BothWays) {
    std::u16string wide;
    // 0x5C and 0x7E stay ASCII in code page 932; 0x8160 is the full-width
    // tilde there (not the JIS wave dash); NEC and IBM extensions decode.
    ASSERT_TRUE(zplat::to_utf16(932, "\x5C\x7E\x81\x60\x87\x40\xFA\x40\xB1", wide));
    EXPECT_EQ(wide, std::u16string(u"\\~\uFF5E\u2460\u2170\uFF71"));
    std::string back;
    ASSERT_TRUE(zplat::from_utf16(932, wide, back));
    EXPECT_EQ(back, "\x5C\x7E\x81\x60\x87\x40\xFA\x40\xB1");
    // The JIS forms map onto the same bytes, as Windows does.
    ASSERT_TRUE(zplat::from_utf16(932, u"\u301C\u2212", back));
    EXPECT_EQ(back, "\x81\x60\x81\x7C");
}

TEST(PlatformCodePages, UnconvertibleCharactersGetTheWindowsReplacements) {
    std::string out;
    ASSERT_TRUE(zplat::from_utf16(932, u"a\u00E9b\U0001F600c", out));
    EXPECT_EQ(out, "a?b??c") << "one question mark per UTF-16 unit";
    ASSERT_TRUE(zplat::from_utf16(65001, u"x\xD800y", out));
    EXPECT_EQ(out, "x\xEF\xBF\xBDy");
    std::u16string wide;
    ASSERT_TRUE(zplat::to_utf16(65001, "a\xFF" "b\xE3\x81", wide));
    EXPECT_EQ(wide, std::u16string(u"a\uFFFDb\uFFFD\uFFFD"));
    ASSERT_TRUE(zplat::to_utf16(932, "a\x82", wide));
    EXPECT_EQ(wide, std::u16string(u"a\u30FB")) << "a lead byte at the end";
    EXPECT_FALSE(zplat::to_utf16(1252, "a", wide));
    ASSERT_TRUE(zplat::to_utf16(932, "", wide));
    EXPECT_TRUE(wide.empty());
}

}  // namespace
