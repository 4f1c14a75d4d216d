// Section files and the plain-file layer beneath them: reading, look-ups,
// set/add/switch-off, sorted writing, enciphered values, the line reader
// and writer, copying and whole-file reads.
#include "mfile.h"
#include "plain_file.h"
#include "section_file.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

namespace fs = std::filesystem;

class FilesOnDisk : public ::testing::Test {
protected:
    void SetUp() override {
        folder_ = fs::temp_directory_path() / ("zs_section_" + std::to_string(getpid()));
        fs::create_directories(folder_);
    }
    void TearDown() override {
        fs::remove_all(folder_);
        mfree_all();
    }
    std::string path(const char *name) const { return (folder_ / name).string(); }
    void put(const char *name, const std::string &bytes) const {
        std::ofstream(path(name), std::ios::binary) << bytes;
    }
    std::string get(const char *name) const {
        std::ifstream in(path(name), std::ios::binary);
        std::stringstream all;
        all << in.rdbuf();
        return all.str();
    }
    std::vector<std::string> lines_of(const std::string &bytes, int size = 64) {
        put("lines.txt", bytes);
        PlainFile *file = orb_file_open(path("lines.txt").c_str(), ORB_FILE_READ);
        std::vector<std::string> lines;
        std::vector<char> buffer(static_cast<size_t>(size));
        while (file && orb_read_line(buffer.data(), size, file)) lines.emplace_back(buffer.data());
        orb_file_close(file);
        return lines;
    }
    fs::path folder_;
};

using V = std::vector<std::string>;

TEST_F(FilesOnDisk, ReadLineEndsAndQuotedRuns) {
    EXPECT_EQ(lines_of("a\rb\n"), (V{"a", "b"}));
    EXPECT_EQ(lines_of("a\r\nb\r\n\nc"), (V{"a", "b", "", "c"})) << "a last line without a line end counts";
    EXPECT_EQ(lines_of("x\r"), V{"x"}) << "a CR as the last byte ends the line";
    EXPECT_EQ(lines_of("k=\"two\r\nlines\"\nnext"), (V{"k=\"two\r\nlines\"", "next"}));
    EXPECT_EQ(lines_of(""), V{});
    EXPECT_EQ(lines_of("abcdefgh\n", 4), (V{"abc", "def", "gh"})) << "a long line comes in pieces";
}

TEST_F(FilesOnDisk, WriteLineAddsALineEndOnlyWhenMissing) {
    PlainFile *file = orb_file_open(path("w.txt").c_str(), ORB_FILE_WRITE);
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(orb_write_line("plain", file), 0);
    EXPECT_EQ(orb_write_line("has lf\n", file), 0);
    EXPECT_EQ(orb_write_line("cr\rx", file), 0);
    EXPECT_EQ(orb_write_line("\n", file), 0) << "shorter than two bytes: always gets one";
    orb_file_close(file);
    EXPECT_EQ(get("w.txt"), "plain\r\nhas lf\ncr\rx\n\r\n");
}

TEST_F(FilesOnDisk, ReadsAfterLinesAndSeeksStayInStep) {
    put("mixed.bin", "line1\nline2\nrest");
    PlainFile *file = orb_file_open(path("mixed.bin").c_str(), ORB_FILE_READ);
    ASSERT_NE(file, nullptr);
    char line[16];
    ASSERT_EQ(orb_read_line(line, sizeof line, file), 1);
    char raw[8] = {};
    EXPECT_EQ(orb_file_read(raw, 5, file), 5u);
    EXPECT_STREQ(raw, "line2");
    EXPECT_EQ(orb_file_seek(file, -4, 2), 0);
    EXPECT_EQ(orb_file_read(raw, 7, file), 4u);
    EXPECT_EQ(std::string(raw, 4), "rest");
    EXPECT_EQ(orb_file_seek(file, 0, 4), -3);
    EXPECT_EQ(orb_file_seek(file, -100, 3), -104);
    orb_file_close(file);

    EXPECT_EQ(orb_file_open(path("none").c_str(), ORB_FILE_READ), nullptr);
    EXPECT_EQ(orb_file_open(path("mixed.bin").c_str(), 0), nullptr);
    PlainFile *append = orb_file_open(path("mixed.bin").c_str(), ORB_FILE_APPEND);
    orb_file_write("!", 1, append);
    orb_file_close(append);
    EXPECT_EQ(get("mixed.bin"), "line1\nline2\nrest!");
}

TEST_F(FilesOnDisk, CopyAndWholeReadsOnDiskAndInMemory) {
    std::string content(3 << 20, '\0');
    for (size_t i = 0; i < content.size(); ++i) content[i] = static_cast<char>(i % 251);
    put("src.bin", content);
    EXPECT_EQ(orb_copy_file(1, path("dst.bin").c_str(), path("src.bin").c_str()), 0);
    EXPECT_EQ(get("dst.bin"), content);
    EXPECT_EQ(orb_copy_file(1, path("x").c_str(), path("missing").c_str()), -101);
    EXPECT_EQ(orb_copy_file(1, path("no/such/dir").c_str(), path("src.bin").c_str()), -101);

    std::string whole;
    EXPECT_EQ(orb_read_whole_file(1, path("dst.bin").c_str(), whole), 0);
    EXPECT_EQ(whole, content);
    EXPECT_EQ(orb_read_whole_file(1, path("missing").c_str(), whole), -101);

    mputs("memory", mopen("m/src", "wb"));
    EXPECT_EQ(orb_copy_file(0, "m/dst", "m/src"), 0);
    EXPECT_EQ(orb_read_whole_file(0, "m/dst", whole), 0);
    EXPECT_EQ(whole, std::string("memory\0", 7));
    EXPECT_EQ(orb_copy_file(0, "m/src", "m/src"), 0);
    EXPECT_EQ(mlength("m/src"), 7) << "copying onto itself keeps the data";
    EXPECT_EQ(orb_copy_file(0, "m/x", "m/none"), -101);
}

TEST_F(FilesOnDisk, FileTimeAndAppendLine) {
    int date[6];
    EXPECT_EQ(orb_file_time(path("none").c_str(), date), -101);
    put("t", "x");
    ASSERT_EQ(orb_file_time(path("t").c_str(), date), 0);
    EXPECT_GE(date[0], 2020);
    EXPECT_TRUE(date[1] >= 1 && date[1] <= 12);

    EXPECT_EQ(orb_append_line(path("log.txt").c_str(), "one"), 0);
    EXPECT_EQ(orb_append_line(path("log.txt").c_str(), "two"), 0);
    EXPECT_EQ(orb_append_line(path("log.txt").c_str(), ""), 0);
    EXPECT_EQ(orb_append_line("", "text"), 0);
    EXPECT_EQ(get("log.txt"), "one\ntwo\n");
    EXPECT_EQ(orb_append_line(path("no/dir/log").c_str(), "x"), -101);
}

class SectionFiles : public FilesOnDisk {
protected:
    void SetUp() override {
        FilesOnDisk::SetUp();
        std::memset(&record, 0, sizeof record);
        std::strcpy(record.path, path("Z-Scan.ini").c_str());
        record.charset = 1;
    }
    void TearDown() override {
        orb_section_free(&record);
        FilesOnDisk::TearDown();
    }
    SectionFile record;
};

TEST_F(SectionFiles, AllSectionsGoIntoOneListInFileOrder) {
    put("Z-Scan.ini", "# comment\r\n[A]\r\nX=\"1\"\r\n[B]\r\nX=\"2\"\r\n; another\r\n");
    ASSERT_EQ(orb_section_read(&record), 0);
    EXPECT_STREQ(record.section, "B");
    EXPECT_EQ(record.entry_count, 2);
    std::string value;
    EXPECT_EQ(orb_section_get(&record, 0, "X", value), 0);
    EXPECT_EQ(value, "1");
    int index = 1;
    EXPECT_EQ(orb_section_get_next(&record, 0, "X", value, &index), 0);
    EXPECT_EQ(value, "2");
    EXPECT_EQ(index, 2);
    EXPECT_EQ(orb_section_get_next(&record, 0, "X", value, &index), 1403);
    EXPECT_EQ(value, "");
    EXPECT_EQ(orb_section_get(&record, 0, "x", value), 1403) << "keys compare byte for byte";
}

TEST_F(SectionFiles, LinesOfAnotherFormAreSkipped) {
    std::string long_key(81, 'K');
    put("Z-Scan.ini",
        "[S]\nGOOD = bare\nNOEQUALS \"v\"\nEMPTY=\n" + long_key + "=\"x\"\nQUOTED=\"a b\"\nPATH=\"C:\\\x95\x5C\"\n"
        "[" + std::string(81, 'n') + "]\n");
    ASSERT_EQ(orb_section_read(&record), 0);
    EXPECT_STREQ(record.section, "S") << "a section line of 82 bytes or more is no section line";
    std::string value;
    EXPECT_EQ(orb_section_get(&record, 0, "GOOD", value), 0);
    EXPECT_EQ(value, "bare");
    EXPECT_EQ(orb_section_get(&record, 0, "QUOTED", value), 0);
    EXPECT_EQ(value, "a b");
    EXPECT_EQ(orb_section_get(&record, 0, "PATH", value), 0);
    EXPECT_EQ(value, "C:\\\x95\x5C");
    EXPECT_EQ(record.entry_count, 3);

    std::strcpy(record.path, path("missing.ini").c_str());
    EXPECT_EQ(orb_section_read(&record), -101);
    EXPECT_EQ(record.entry_count, 0);
}

TEST_F(SectionFiles, WritingSortsAndLeavesSwitchedOffEntriesOut) {
    std::strcpy(record.section, "Z-Scan");
    ASSERT_EQ(orb_section_add(&record, 0, "B", "2"), 0);
    ASSERT_EQ(orb_section_add(&record, 0, "A", "1"), 0);
    ASSERT_EQ(orb_section_add(&record, 0, "C", "3"), 0);
    ASSERT_EQ(orb_section_add(&record, 0, "A", "1b"), 0);
    for (int i = 0; i < 20; ++i) ASSERT_EQ(orb_section_add(&record, 0, "D", "x"), 0);
    EXPECT_EQ(record.entry_capacity, 30) << "grows by ten";
    EXPECT_EQ(orb_section_switch_off(&record, "D"), 0);
    std::string value;
    EXPECT_EQ(orb_section_get(&record, 0, "D", value), 1403);
    ASSERT_EQ(orb_section_write(&record), 0);
    EXPECT_EQ(get("Z-Scan.ini"), "[Z-Scan]\r\nA=\"1\"\r\nA=\"1b\"\r\nB=\"2\"\r\nC=\"3\"\r\n");

    // Set keeps a switched-off entry switched off.
    EXPECT_EQ(orb_section_set(&record, 0, "D", "y"), 0);
    EXPECT_EQ(orb_section_get(&record, 0, "D", value), 1403);
    EXPECT_EQ(orb_section_set(&record, 0, "B", "two"), 0);
    EXPECT_EQ(orb_section_get(&record, 0, "B", value), 0);
    EXPECT_EQ(value, "two");
    EXPECT_EQ(orb_section_set(&record, 0, "E", "new"), 0);
    EXPECT_EQ(orb_section_get(&record, 0, "E", value), 0);
    EXPECT_EQ(orb_section_add(&record, 0, std::string(81, 'k').c_str(), "v"), -3);

    SectionFile again{};
    std::strcpy(again.path, record.path);
    ASSERT_EQ(orb_section_read(&again), 0);
    EXPECT_EQ(again.entry_count, 4);
    orb_section_free(&again);

    std::strcpy(record.path, path("no/dir/x.ini").c_str());
    EXPECT_EQ(orb_section_write(&record), -101);
}

TEST_F(SectionFiles, EncipheredValuesRoundTripThroughTheFile) {
    std::strcpy(record.section, "S");
    std::strcpy(record.cipher_key, "secret-key-123456789");
    ASSERT_EQ(orb_section_set(&record, SECTION_ENCIPHERED, "PASSWORD", "twenty bytes value!!"), 0);
    EXPECT_EQ(std::strlen(record.entries[0].value), 64u);
    ASSERT_EQ(orb_section_write(&record), 0);

    SectionFile again{};
    std::strcpy(again.path, record.path);
    std::strcpy(again.cipher_key, "secret-key-123456");   // the same first 16 bytes
    ASSERT_EQ(orb_section_read(&again), 0);
    std::string value;
    EXPECT_EQ(orb_section_get(&again, SECTION_ENCIPHERED, "PASSWORD", value), 0);
    EXPECT_EQ(value, "twenty bytes value!!");
    EXPECT_EQ(orb_section_get(&again, 0, "PASSWORD", value), 0);
    EXPECT_EQ(value.size(), 64u) << "without the option the stored digits come back";
    orb_section_free(&again);

    orb_section_add(&record, 0, "PLAIN", "not hex");
    EXPECT_EQ(orb_section_get(&record, SECTION_ENCIPHERED, "PLAIN", value), -3);
}

}  // namespace
