// The folder walk over a real folder tree, with a recording book search in
// place of the library.
#include "engine/folder_walk.h"

#include "fake_front_end.h"
#include "test_folder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sys/stat.h>

namespace fs = std::filesystem;
using namespace zscan;

namespace {

struct SearchedBook {
    std::string path;
    BookKind kind;
};

class RecordingBookSearch : public BookSearch {
public:
    int search_book(SearchContext &context, BookKind kind) override {
        searched.push_back({context.current_file, kind});
        context.hit_count += hits_per_book;
        if (after_book) after_book();
        return 0;
    }
    std::vector<SearchedBook> searched;
    int hits_per_book = 0;
    std::function<void()> after_book;
};

class FolderWalkTest : public ::testing::Test {
protected:
    void SetUp() override {
        root_ = fresh_test_folder("zscan_walk");
        init_search_context(context_);
        context_.current_folder = root_.string();
    }
    void TearDown() override { fs::remove_all(root_); }

    void touch(const std::string &relative) {
        const fs::path path = root_ / relative;
        fs::create_directories(path.parent_path());
        std::ofstream(path) << "x";
    }
    std::string at(const std::string &relative) const { return (root_ / relative).string(); }
    std::vector<std::string> searched_paths() const {
        std::vector<std::string> paths;
        for (const SearchedBook &book : books_.searched) paths.push_back(book.path);
        std::sort(paths.begin(), paths.end());
        return paths;
    }
    WalkResult walk() { return walk_folder(context_, front_end_, books_); }

    fs::path root_;
    SearchContext context_;
    FakeFrontEnd front_end_;
    RecordingBookSearch books_;
};

TEST_F(FolderWalkTest, PicksBooksByNameEndingInAnyLetterCase) {
    for (const char *name : {"report.xls", "data.XLSX", "macro.xlsm", "old.xlsb", "notes.txt",
                             "xls", "archive.xls.zip", "O'Brien.xls"}) {
        touch(name);
    }
    // Only plain files are books: a pipe would block the reader for ever.
    ASSERT_EQ(mkfifo(at("pipe.xlsx").c_str(), 0600), 0);
    EXPECT_EQ(walk(), WalkResult::Done);
    EXPECT_EQ(searched_paths(), (std::vector<std::string>{at("O'Brien.xls"), at("data.XLSX"),
                                                          at("macro.xlsm"), at("report.xls")}));
    for (const SearchedBook &book : books_.searched) {
        const BookKind expected = book.path.ends_with("XLSX")   ? BookKind::Excel2007
                                  : book.path.ends_with("xlsm") ? BookKind::Excel2007Macro
                                                                : BookKind::Excel2003;
        EXPECT_EQ(book.kind, expected) << book.path;
    }
}

TEST_F(FolderWalkTest, SkipsHiddenBooksAndHiddenFolders) {
    touch(".hidden.xlsx");
    touch(".secret/inside.xlsx");
    touch("shown/inside.xlsx");
    walk();
    EXPECT_EQ(searched_paths(), std::vector<std::string>{at("shown/inside.xlsx")});
}

TEST_F(FolderWalkTest, DescendsDepthFirstInNameOrderAndShowsEachFolder) {
    for (const char *name : {"b/4.xlsx", "a/deeper/3.xlsx", "a/2.xlsx", "5.xlsx", "a/1.xlsx", "B.xlsx"}) {
        touch(name);
    }
    walk();
    std::vector<std::string> order;
    for (const SearchedBook &book : books_.searched) order.push_back(book.path);
    // By bytes of the name, so capitals come first; a folder's books come
    // where the folder falls in that order.
    EXPECT_EQ(order, (std::vector<std::string>{at("5.xlsx"), at("B.xlsx"), at("a/1.xlsx"), at("a/2.xlsx"),
                                               at("a/deeper/3.xlsx"), at("b/4.xlsx")}));
    EXPECT_TRUE(std::find(front_end_.progress.begin(), front_end_.progress.end(),
                          at("a/deeper")) != front_end_.progress.end());
    EXPECT_EQ(front_end_.progress.front(), root_.string());
    EXPECT_EQ(context_.current_folder, root_.string());
}

TEST_F(FolderWalkTest, FileNameKeywordsIgnoreLetterCase) {
    for (const char *name : {"REPORT_A.xlsx", "sales2016.xls", "summary.xlsx", "my_report.xlsm"}) {
        touch(name);
    }
    context_.file_name_keywords = {"REPORT", "2016"};
    walk();
    EXPECT_EQ(searched_paths(), (std::vector<std::string>{at("REPORT_A.xlsx"), at("my_report.xlsm"),
                                                          at("sales2016.xls")}));
    books_.searched.clear();
    context_.file_name_keywords = {"summ"};
    walk();
    EXPECT_EQ(searched_paths(), std::vector<std::string>{at("summary.xlsx")});
}

TEST_F(FolderWalkTest, CancelStopsBeforeTheNextEntryAtEveryLevel) {
    touch("1.xlsx");
    touch("2.xlsx");
    touch("sub/3.xlsx");
    touch("sub/4.xlsx");
    touch("sub/deep/5.xlsx");
    books_.after_book = [this] { front_end_.cancelled = true; };
    EXPECT_EQ(walk(), WalkResult::Done);
    EXPECT_EQ(books_.searched.size(), 1u);
}

TEST_F(FolderWalkTest, EndsEveryLevelOncePastTheHitLimit) {
    touch("sub/deep/1.xlsx");
    touch("sub/deep/2.xlsx");
    touch("sub/3.xlsx");
    touch("4.xlsx");
    books_.hits_per_book = kHitLimit;
    EXPECT_EQ(walk(), WalkResult::HitLimit);
    // The book that reaches the limit does not end the walk; the next one
    // passes it and nothing after that is searched.
    EXPECT_EQ(books_.searched.size(), 2u);
}

}  // namespace
