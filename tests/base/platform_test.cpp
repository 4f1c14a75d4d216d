// The POSIX platform layer: file locks, the temporary folder as the
// environment chooses it and its refusal when others could reach it, the
// program's own path, code-page conversion with the replacements Windows
// gives.
#include "platform/platform.h"
#include "environment.h"
#include "test_folder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <vector>
#include <sys/stat.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

class PlatformFiles : public ::testing::Test {
protected:
    std::string path(const std::string &name) const { return temp_.file(name); }
    TempFolder temp_{"zs_platform"};
    fs::path folder_ = temp_.path();
};

TEST_F(PlatformFiles, AFileBeingWrittenCannotBeOpenedForReading) {
    std::string p = path("locked.bin");
    zplat::File *w = zplat::file_open(p.c_str(), zplat::FILE_READ_WRITE);
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(zplat::file_open(p.c_str(), zplat::FILE_READ), nullptr);
    zplat::file_close(w);
    zplat::File *r1 = zplat::file_open(p.c_str(), zplat::FILE_READ);
    zplat::File *r2 = zplat::file_open(p.c_str(), zplat::FILE_READ);
    EXPECT_NE(r1, nullptr);
    EXPECT_NE(r2, nullptr) << "readers share";
    EXPECT_EQ(zplat::file_open(p.c_str(), zplat::FILE_WRITE), nullptr) << "a file being read is not truncated";
    zplat::file_close(r1);
    zplat::file_close(r2);
}

TEST_F(PlatformFiles, TempFolderIsTempElseAFolderOfTheUsersOwn) {
    const std::string user = "zscan-" + std::to_string(geteuid());
    const std::string too_long(300, 'x');
    const struct {
        const char *temp, *tmpdir;
        std::string folder;
    } cases[] = {
        {"/var/tmp/", folder_.c_str(), "/var/tmp"},                      // TEMP, without its separator
        {too_long.c_str(), folder_.c_str(), (folder_ / user).string()},  // a TEMP too long: under TMPDIR
        {nullptr, nullptr, "/tmp/" + user},                              // neither: under /tmp
    };
    for (const auto &c : cases) {
        Environment environment;
        environment.set("TEMP", c.temp);
        environment.set("TMPDIR", c.tmpdir);
        EXPECT_EQ(zplat::temp_folder(), c.folder) << (c.temp ? c.temp : "no TEMP");
    }
    struct stat st;
    ASSERT_EQ(lstat((folder_ / user).c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0700u) << "the folder of the user's own is made for the user alone";
}

TEST_F(PlatformFiles, OwnTemporaryFolderIsRefusedWhenOthersCouldReachIt) {
    Environment environment;
    environment.set("TEMP", nullptr);
    environment.set("TMPDIR", folder_.c_str());
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
}

TEST(PlatformFilesOfTheProgram, ExecutablePathNamesThisProgram) {
    const std::string path = zplat::executable_path();
    ASSERT_FALSE(path.empty());
    EXPECT_TRUE(fs::equivalent(path, "/proc/self/exe"));
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
