// Section files and the plain-file layer beneath them: the line reader and
// writer, seeks, copies and whole-file reads; reading, look-ups,
// set/add/switch-off, sorted writing and enciphered values.
#include "mfile.h"
#include "plain_file.h"
#include "section_file.h"
#include "test_folder.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

using V = std::vector<std::string>;

TEST(PlainFiles, LinesSeeksCopiesAndWholeReads) {
    TempFolder folder("zs_plain");
    const auto lines_of = [&](const std::string &bytes, int size = 64) {
        PlainFile *file = orb_file_open(folder.write("lines.txt", bytes).c_str(), zplat::FILE_READ);
        V lines;
        std::vector<char> buffer(static_cast<size_t>(size));
        while (file && orb_read_line(buffer.data(), size, file)) lines.emplace_back(buffer.data());
        orb_file_close(file);
        return lines;
    };
    EXPECT_EQ(lines_of("a\rb\n"), (V{"a", "b"}));
    EXPECT_EQ(lines_of("a\r\nb\r\n\nc"), (V{"a", "b", "", "c"})) << "a last line without a line end counts";
    EXPECT_EQ(lines_of("k=\"two\r\nlines\"\nnext"), (V{"k=\"two\r\nlines\"", "next"}));
    EXPECT_EQ(lines_of("abcdefgh\n", 4), (V{"abc", "def", "gh"})) << "a long line comes in pieces";

    const std::string written = folder.file("w.txt");
    PlainFile *file = orb_file_open(written.c_str(), zplat::FILE_WRITE);
    ASSERT_NE(file, nullptr);
    for (const char *line : {"plain", "has lf\n", "cr\rx", "\n"}) EXPECT_EQ(orb_write_line(line, file), 0);
    orb_file_close(file);
    EXPECT_EQ(read_file(written), "plain\r\nhas lf\ncr\rx\n\r\n");

    // Raw reads after a line and seeks stay in step with the line reader.
    file = orb_file_open(folder.write("mixed.bin", "line1\nline2\nrest").c_str(), zplat::FILE_READ);
    char line[16], raw[8] = {};
    ASSERT_EQ(orb_read_line(line, sizeof line, file), 1);
    EXPECT_EQ(orb_file_read(raw, 5, file), 5u);
    EXPECT_STREQ(raw, "line2");
    EXPECT_EQ(orb_file_seek(file, -4, 2), 0);
    EXPECT_EQ(orb_file_read(raw, 7, file), 4u);
    EXPECT_EQ(orb_file_seek(file, -100, 3), -104);
    orb_file_close(file);

    std::string whole;
    EXPECT_EQ(orb_copy_file(1, folder.file("copy.bin").c_str(), folder.file("mixed.bin").c_str()), 0);
    EXPECT_EQ(orb_read_whole_file(1, folder.file("copy.bin").c_str(), whole), 0);
    EXPECT_EQ(whole, "line1\nline2\nrest");
    EXPECT_EQ(orb_copy_file(1, folder.file("x").c_str(), folder.file("missing").c_str()), -101);
    mputs("memory", mopen("m/src", "wb"));
    EXPECT_EQ(orb_copy_file(0, "m/src", "m/src"), 0);
    EXPECT_EQ(orb_read_whole_file(0, "m/src", whole), 0);
    EXPECT_EQ(whole, std::string("memory\0", 7)) << "copying onto itself keeps the data";
    mfree_all();

    EXPECT_EQ(orb_append_line(folder.file("log.txt").c_str(), "one"), 0);
    EXPECT_EQ(orb_append_line(folder.file("log.txt").c_str(), ""), 0);
    EXPECT_EQ(read_file(folder.file("log.txt")), "one\n");
    EXPECT_EQ(orb_append_line(folder.file("no/dir/log").c_str(), "x"), -101);
}

class SectionFiles : public ::testing::Test {
protected:
    void SetUp() override { std::strcpy(record.path, folder.file("Z-Scan.ini").c_str()); }
    void TearDown() override { orb_section_free(&record); }
    TempFolder folder{"zs_section"};
    SectionFile record{};
    std::string value;
};

TEST_F(SectionFiles, ReadingSkipsLinesOfAnotherFormAndLooksUpInFileOrder) {
    folder.write("Z-Scan.ini", "# comment\r\n[A]\r\nX=\"1\"\r\n[B]\r\nX=\"2\"\r\nNOEQUALS \"v\"\r\nEMPTY=\r\n" +
                                   std::string(81, 'K') + "=\"x\"\r\nGOOD = bare\r\nPATH=\"C:\\\x95\x5C\"\r\n[" +
                                   std::string(81, 'n') + "]\r\n");
    ASSERT_EQ(orb_section_read(&record), 0);
    EXPECT_STREQ(record.section, "B") << "a section line of 82 bytes or more is no section line";
    EXPECT_EQ(record.entry_count, 4);
    EXPECT_EQ(orb_section_get(&record, 0, "X", value), 0);
    EXPECT_EQ(value, "1");
    int index = 1;
    EXPECT_EQ(orb_section_get_next(&record, 0, "X", value, &index), 0);
    EXPECT_EQ(value, "2");
    EXPECT_EQ(orb_section_get_next(&record, 0, "X", value, &index), 1403);
    EXPECT_EQ(orb_section_get(&record, 0, "x", value), 1403) << "keys compare byte for byte";
    EXPECT_EQ(orb_section_get(&record, 0, "GOOD", value), 0);
    EXPECT_EQ(value, "bare");
    EXPECT_EQ(orb_section_get(&record, 0, "PATH", value), 0);
    EXPECT_EQ(value, "C:\\\x95\x5C");

    std::strcpy(record.path, folder.file("missing.ini").c_str());
    EXPECT_EQ(orb_section_read(&record), -101);
    EXPECT_EQ(record.entry_count, 0);
}

TEST_F(SectionFiles, WritingSortsLeavesSwitchedOffEntriesOutAndEnciphers) {
    std::strcpy(record.section, "Z-Scan");
    for (auto [key, text] : {std::pair{"B", "2"}, {"A", "1"}, {"C", "3"}, {"A", "1b"}})
        ASSERT_EQ(orb_section_add(&record, 0, key, text), 0);
    for (int i = 0; i < 20; ++i) ASSERT_EQ(orb_section_add(&record, 0, "D", "x"), 0);
    EXPECT_EQ(orb_section_switch_off(&record, "D"), 0);
    EXPECT_EQ(orb_section_set(&record, 0, "D", "y"), 0);
    EXPECT_EQ(orb_section_get(&record, 0, "D", value), 1403) << "set keeps a switched-off entry switched off";
    EXPECT_EQ(orb_section_set(&record, 0, "B", "two"), 0);
    EXPECT_EQ(orb_section_add(&record, 0, std::string(81, 'k').c_str(), "v"), -3);
    ASSERT_EQ(orb_section_write(&record), 0);
    EXPECT_EQ(read_file(record.path), "[Z-Scan]\r\nA=\"1\"\r\nA=\"1b\"\r\nB=\"two\"\r\nC=\"3\"\r\n");

    std::strcpy(record.cipher_key, "secret-key-123456789");
    ASSERT_EQ(orb_section_set(&record, SECTION_ENCIPHERED, "PASSWORD", "twenty bytes value!!"), 0);
    ASSERT_EQ(orb_section_write(&record), 0);
    SectionFile again{};
    std::strcpy(again.path, record.path);
    std::strcpy(again.cipher_key, "secret-key-123456");   // the same first 16 bytes
    ASSERT_EQ(orb_section_read(&again), 0);
    EXPECT_EQ(orb_section_get(&again, SECTION_ENCIPHERED, "PASSWORD", value), 0);
    EXPECT_EQ(value, "twenty bytes value!!");
    EXPECT_EQ(orb_section_get(&again, SECTION_ENCIPHERED, "A", value), -3) << "a plain value is no cipher";
    orb_section_free(&again);

    std::strcpy(record.path, folder.file("no/dir/x.ini").c_str());
    EXPECT_EQ(orb_section_write(&record), -101);
}

}  // namespace
