// Memory files: growth, reopening, the read/write cursor rules, deleting
// and saving the table, loading from disk.
#include "mfile.h"
#include "test_folder.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

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

TEST_F(MemoryFiles, WritesGrowReadsWrapAndCursorsFollowTheirRules) {
    MFILE *f = mopen("big", "wb");
    ASSERT_NE(f, nullptr);
    std::string data(3000, 'x');
    for (size_t i = 0; i < data.size(); ++i) data[i] = static_cast<char>(i * 7);
    EXPECT_EQ(mwrite(data.data(), 1, data.size(), f), data.size());
    const long long capacity = f->capacity;
    EXPECT_EQ(mwrite("y", 1, 1, f), 1u);
    EXPECT_EQ(f->capacity, capacity) << "a single growth covered the write";
    ASSERT_EQ(mseek(f, 0, 0), 0);
    std::string back(3001, '\0');
    EXPECT_EQ(mread(back.data(), 1, 4000, f), 3001u) << "reads what remains";
    EXPECT_EQ(back, data + "y");
    EXPECT_EQ(meof(f), -1);

    // putc and puts append (puts with its terminator) whatever the
    // position; write uses the position.
    MFILE *m = mopen("mixed", "wb");
    mwrite("ab", 1, 2, m);
    mputc('z', m);
    EXPECT_EQ(mtell(m), 2) << "appending does not move the position";
    mwrite("cd", 1, 2, m);
    mseek(m, 0, 0);
    EXPECT_EQ(mputs("!\n", m), 2);
    EXPECT_EQ(std::memcmp(m->data, "abcd!\n\0", 7), 0);
    mputs("tail", m);
    mseek(m, 0, 0);
    char line[16];
    ASSERT_NE(mgets(line, sizeof line, m), nullptr);
    EXPECT_STREQ(line, "abcd!\n");
    ASSERT_NE(mgets(line, sizeof line, m), nullptr);
    EXPECT_STREQ(line, "tail");
    EXPECT_EQ(mgets(line, sizeof line, m), nullptr);
    EXPECT_EQ(mgetc(m), 'a') << "after the end the next call starts again";

    // Seeks stay inside the buffer; writing past the data leaves zeros.
    EXPECT_EQ(mseek(m, -2, 1), -1);
    EXPECT_EQ(mseek(m, m->capacity + 1, 0), -1);
    EXPECT_EQ(mseek(m, 0, 3), -1);
    mseek(m, m->length + 2, 0);
    mwrite("z", 1, 1, m);
    EXPECT_EQ(std::memcmp(m->data + m->length - 3, "\0\0z", 3), 0);
}

TEST_F(MemoryFiles, ReopeningDeletingReleasingAndSavingTheTable) {
    MFILE *f = mopen("part", "wb");
    mputs("old", f);
    mclose(f);
    MFILE *again = mopen("part", "rb");
    EXPECT_EQ(again, f);
    EXPECT_EQ(again->length, 4);
    f = mopen("part", "wb");
    EXPECT_EQ(f->length, 0) << "write mode empties";
    EXPECT_EQ(mcount(), 1) << "same slot";

    ASSERT_NE(mopen("b", "wb"), nullptr);
    EXPECT_EQ(mdelete("part"), 0);
    std::vector<std::string> names;
    mlist(names);
    EXPECT_EQ(names, std::vector<std::string>{"b"});
    ASSERT_NE(mopen("part", "wb"), nullptr);
    EXPECT_EQ(mcount(), 3) << "a deleted slot is never reused";
    mputs("data", mopen("b", "wb"));
    EXPECT_EQ(mrelease("b"), 0);
    EXPECT_EQ(mlength("b"), 0);
    EXPECT_EQ(mputs("again", mopen("b", "rb")), 5) << "a released file grows from nothing";

    EXPECT_EQ(mopen("x", "r"), nullptr);
    EXPECT_EQ(mopen("", "wb"), nullptr);
    EXPECT_EQ(mopen(std::string(257, 'n').c_str(), "wb"), nullptr);
    EXPECT_NE(mopen(std::string(256, 'n').c_str(), "wb"), nullptr);

    // Saving sets the table aside; restoring lets go of the one in use.
    EXPECT_EQ(mcopy(0), 0);
    EXPECT_EQ(mcount(), 0);
    mopen("other", "wb");
    EXPECT_EQ(mcopy(1), 0);
    EXPECT_EQ(mlength("b"), 6);
    EXPECT_EQ(mlength("other"), 0);
}

TEST_F(MemoryFiles, ReadingAnUnknownNameLoadsTheDiskFile) {
    TempFolder folder("zs_mfile");
    const std::string path = folder.file("disk.bin");
    EXPECT_EQ(mopen(path.c_str(), "rb"), nullptr);
    EXPECT_STREQ(merror(), "mopen() aod_fsze() rc=-101");
    EXPECT_EQ(mcount(), 0);

    const std::string content("disk\0bytes", 10);
    folder.write("disk.bin", content);
    MFILE *f = mopen(path.c_str(), "rb");
    ASSERT_NE(f, nullptr);
    EXPECT_STREQ(merror(), "") << "emptied by each open";
    EXPECT_EQ(std::string(reinterpret_cast<char *>(f->data), static_cast<size_t>(f->length)), content);
    // Once in memory, the name no longer reads the disk file.
    mputs("new", mopen(path.c_str(), "wb"));
    EXPECT_EQ(mopen(path.c_str(), "rb")->length, 4);

    EXPECT_EQ(mopen(folder.path().c_str(), "rb"), nullptr);
    EXPECT_STREQ(merror(), "mopen() fopen()");
    EXPECT_EQ(mcount(), 1) << "the failed load leaves no slot";
}

}  // namespace
