// Memory files: growth, reopening, the read/write cursor rules, deleting
// and saving the table, loading from disk.
#include "mfile.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

namespace {

class MemoryFiles : public ::testing::Test {
protected:
    void SetUp() override { mfree_all(); }
    void TearDown() override {
        mfree_all();
        mcopy(1);   // drops anything a test left saved
        mfree_all();
    }
};

TEST_F(MemoryFiles, OneLargeWriteGrowsOnceAndReadsBack) {
    MFILE *f = mopen("big", "wb");
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(f->capacity, 1024);
    std::string data(3000, 'x');
    for (size_t i = 0; i < data.size(); ++i) data[i] = static_cast<char>(i * 7);
    EXPECT_EQ(mwrite(data.data(), 1, data.size(), f), data.size());
    EXPECT_GE(f->capacity, 3001);
    EXPECT_EQ(f->length, 3000);
    EXPECT_EQ(mtell(f), 3000);
    long long capacity = f->capacity;
    EXPECT_EQ(mwrite("y", 1, 1, f), 1u);
    EXPECT_EQ(f->capacity, capacity) << "a single growth covered the write";

    ASSERT_EQ(mseek(f, 0, 0), 0);
    std::string back(3001, '\0');
    EXPECT_EQ(mread(back.data(), 1, 4000, f), 3001u) << "reads what remains";
    EXPECT_EQ(back, data + "y");
    EXPECT_EQ(mread(back.data(), 1, 1, f), 0u);
    EXPECT_EQ(meof(f), -1);
    EXPECT_EQ(mlength("big"), 3001);
}

TEST_F(MemoryFiles, ManySmallWritesKeepEveryByte) {
    MFILE *f = mopen("many", "wb");
    ASSERT_NE(f, nullptr);
    std::string expected;
    for (int i = 0; i < 5000; ++i) {
        char item[4] = {static_cast<char>(i), static_cast<char>(i >> 8), 'a', 'b'};
        ASSERT_EQ(mwrite(item, 2, 2, f), 2u);
        expected.append(item, 4);
    }
    ASSERT_EQ(f->length, static_cast<long long>(expected.size()));
    EXPECT_EQ(std::memcmp(f->data, expected.data(), expected.size()), 0);

    MFILE *c = mopen("chars", "wb");
    for (int i = 0; i < 3000; ++i) ASSERT_EQ(mputc('a' + i % 26, c), 'a' + i % 26);
    EXPECT_EQ(c->length, 3000);
    EXPECT_EQ(c->data[2999], 'a' + 2999 % 26);
}

TEST_F(MemoryFiles, PutcAndPutsAppendWhileWriteUsesThePosition) {
    MFILE *f = mopen("mixed", "wb");
    mwrite("ab", 1, 2, f);
    mputc('z', f);
    EXPECT_EQ(mtell(f), 2) << "appending does not move the position";
    mwrite("cd", 1, 2, f);
    EXPECT_EQ(f->length, 4);
    EXPECT_EQ(std::memcmp(f->data, "abcd", 4), 0);
    mseek(f, 0, 0);
    mputs("!", f);
    EXPECT_EQ(std::memcmp(f->data, "abcd!\0", 6), 0);
}

TEST_F(MemoryFiles, WriteModeEmptiesAndReopeningFindsTheSameData) {
    MFILE *f = mopen("part", "wb");
    ASSERT_NE(f, nullptr);
    mputs("old", f);
    mclose(f);
    EXPECT_EQ(f->status, MFILE_CLOSED);
    MFILE *again = mopen("part", "rb");
    EXPECT_EQ(again, f);
    EXPECT_EQ(again->status, MFILE_OPEN);
    EXPECT_EQ(again->length, 4);

    int slots = mcount();
    f = mopen("part", "wb");
    EXPECT_EQ(mcount(), slots) << "same slot";
    EXPECT_EQ(f->length, 0);
    mwrite("new", 1, 3, f);
    mclose(f);
    MFILE *r = mopen("part", "ab");
    ASSERT_NE(r, nullptr);
    EXPECT_EQ(mtell(r), 0) << "append mode starts at 0 as well";
    char buffer[8] = {};
    EXPECT_EQ(mread(buffer, 1, 8, r), 3u);
    EXPECT_STREQ(buffer, "new");
}

TEST_F(MemoryFiles, PutsAddsTheTerminatorAndGetsTakesItAlong) {
    MFILE *f = mopen("lines", "wb");
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(mputs("ab\n", f), 3);
    EXPECT_EQ(f->length, 4);
    EXPECT_EQ(std::memcmp(f->data, "ab\n\0", 4), 0);
    mputs("cd\n", f);
    mputs("tail", f);
    mseek(f, 0, 0);
    char line[16];
    ASSERT_NE(mgets(line, sizeof line, f), nullptr);
    EXPECT_STREQ(line, "ab\n");
    ASSERT_NE(mgets(line, sizeof line, f), nullptr);
    EXPECT_STREQ(line, "cd\n");
    ASSERT_NE(mgets(line, sizeof line, f), nullptr);
    EXPECT_STREQ(line, "tail");
    EXPECT_EQ(mgets(line, sizeof line, f), nullptr);
    EXPECT_EQ(mtell(f), 0) << "the end wraps to the start";
    ASSERT_NE(mgets(line, 3, f), nullptr);
    EXPECT_STREQ(line, "ab") << "size - 1 bytes at most";
}

TEST_F(MemoryFiles, GetcWrapsAndSeekStaysInsideTheBuffer) {
    MFILE *f = mopen("c", "wb");
    mwrite("xy", 1, 2, f);
    mseek(f, 0, 0);
    EXPECT_EQ(mgetc(f), 'x');
    EXPECT_EQ(mgetc(f), 'y');
    EXPECT_EQ(mgetc(f), -1);
    EXPECT_EQ(mgetc(f), 'x') << "after the end the next call starts again";

    EXPECT_EQ(mseek(f, -1, 2), 0);
    EXPECT_EQ(mtell(f), 1);
    EXPECT_EQ(mseek(f, -2, 1), -1);
    EXPECT_EQ(mseek(f, f->capacity, 0), 0);
    EXPECT_EQ(mseek(f, f->capacity + 1, 0), -1);
    EXPECT_EQ(mseek(f, 0, 3), -1);
    // Writing past the data leaves a gap of zero bytes.
    mseek(f, 4, 0);
    mwrite("z", 1, 1, f);
    EXPECT_EQ(f->length, 5);
    EXPECT_EQ(std::memcmp(f->data, "xy\0\0z", 5), 0);
}

TEST_F(MemoryFiles, DeleteReleaseListAndTheSlotLimitText) {
    ASSERT_NE(mopen("a", "wb"), nullptr);
    ASSERT_NE(mopen("b", "wb"), nullptr);
    mputs("data", mopen("b", "rb"));
    EXPECT_EQ(mcount(), 2);
    EXPECT_EQ(mdelete("a"), 0);
    std::vector<std::string> names;
    mlist(names);
    EXPECT_EQ(names, std::vector<std::string>{"b"});
    ASSERT_NE(mopen("a", "wb"), nullptr);
    EXPECT_EQ(mcount(), 3) << "a deleted slot is never reused";
    EXPECT_EQ(mlength("nothing"), 0);

    EXPECT_EQ(mrelease("b"), 0);
    MFILE *b = mopen("b", "rb");
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(b->length, 0);
    EXPECT_EQ(mputs("again", b), 5) << "a released file grows from nothing";

    EXPECT_EQ(mopen("x", "r"), nullptr);
    EXPECT_EQ(mopen("", "wb"), nullptr);
    EXPECT_EQ(mopen(std::string(257, 'n').c_str(), "wb"), nullptr);
    EXPECT_NE(mopen(std::string(256, 'n').c_str(), "wb"), nullptr);
    EXPECT_EQ(mfree_all(), 0);
    EXPECT_EQ(mcount(), 0);
}

TEST_F(MemoryFiles, SavingTheTableSetsItAsideAndBringsItBack) {
    mputs("kept", mopen("saved", "wb"));
    EXPECT_EQ(mcopy(0), 0);
    EXPECT_EQ(mcount(), 0);
    EXPECT_EQ(mlength("saved"), 0);
    mopen("other", "wb");
    EXPECT_EQ(mcopy(1), 0);
    EXPECT_EQ(mcount(), 1);
    EXPECT_EQ(mlength("saved"), 5);
    EXPECT_EQ(mlength("other"), 0) << "the table in use when restoring is let go";
}

TEST_F(MemoryFiles, ReadingAnUnknownNameLoadsTheDiskFile) {
    std::string path = (std::filesystem::temp_directory_path() / ("zs_mfile_" + std::to_string(getpid()))).string();
    EXPECT_EQ(mopen(path.c_str(), "rb"), nullptr);
    EXPECT_STREQ(merror(), "mopen() aod_fsze() rc=-101");
    EXPECT_EQ(mcount(), 0);

    std::string content("disk\0bytes", 10);
    std::ofstream(path, std::ios::binary) << content;
    MFILE *f = mopen(path.c_str(), "rb");
    ASSERT_NE(f, nullptr);
    EXPECT_STREQ(merror(), "") << "emptied by each open";
    EXPECT_EQ(f->length, 10);
    EXPECT_EQ(f->capacity, 10);
    EXPECT_EQ(std::string(reinterpret_cast<char *>(f->data), 10), content);
    mputc('!', f);
    EXPECT_EQ(f->length, 11);

    // Once in memory, the name no longer reads the disk file.
    mputs("new", mopen(path.c_str(), "wb"));
    EXPECT_EQ(mopen(path.c_str(), "rb")->length, 4);
    std::filesystem::remove(path);

    std::string folder = std::filesystem::temp_directory_path().string();
    EXPECT_EQ(mopen(folder.c_str(), "rb"), nullptr);
    EXPECT_STREQ(merror(), "mopen() fopen()");
    EXPECT_EQ(mcount(), 1) << "the failed load leaves no slot";
}

}  // namespace
