// The folder walk over real folder trees, with a recording book search in
// place of the library: which files are books, the order, keywords, cancel
// and the hit limit; and what a file system can do to the walk: folders it
// may not list, links that lead back up the tree, entries that vanish or
// change while the walk runs, names that are no valid text, and trees
// deeper and paths longer than the system takes.
#include "engine/folder_walk.h"
#include "engine/workbook_search.h"

#include "charset.h"
#include "fake_front_end.h"
#include "test_folder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;
using namespace zscan;

namespace {

struct SearchedBook {
    std::string path;
    BookKind kind;
};

// Records the books handed over; each makes `hits_per_book` hits.
class RecordingBookSearch : public BookSearch {
public:
    explicit RecordingBookSearch(HitRecorder &recorder) : recorder_(recorder) {}
    void search_book(const BookJob &job) override {
        searched.push_back({job.path, job.kind});
        for (int hit = 0; hit < hits_per_book; ++hit) {
            if (!recorder_.record(HitPlace{job.path, "S", "A1", job.path, job.path}, "x", MatchedText::Display)) break;
        }
        recorder_.book_finished(job.path, std::nullopt);
        if (after_book) after_book();
    }
    std::vector<SearchedBook> searched;
    int hits_per_book = 0;
    std::function<void()> after_book;

private:
    HitRecorder &recorder_;
};

class FolderWalkTest : public ::testing::Test {
protected:
    void SetUp() override {
        init_search_context(context_);
        context_.current_folder = root_.string();
        context_.result_file_path = (root_ / ".result.txt").string();
    }
    void TearDown() override {
        std::error_code ignored;
        for (const fs::path &folder : locked_) fs::permissions(folder, fs::perms::owner_all, ignored);
    }

    fs::path touch(const fs::path &relative, const std::string &content = "x") {
        return folder_.write(relative.string(), content);
    }
    std::string at(const std::string &relative) const { return (root_ / relative).string(); }
    std::vector<std::string> searched_in_order() const {
        std::vector<std::string> paths;
        for (const SearchedBook &book : books_.searched) paths.push_back(book.path);
        return paths;
    }
    std::vector<std::string> searched_paths() const { return sorted(searched_in_order()); }
    static std::vector<std::string> sorted(std::vector<std::string> paths) {
        std::sort(paths.begin(), paths.end());
        return paths;
    }
    void walk() { walk_folder(context_, front_end_, books_, recorder_); }
    std::vector<std::string> reported(SkipReason reason) const {
        std::vector<std::string> paths;
        for (const NotSearched &item : context_.not_searched) {
            if (item.reason == reason) paths.push_back(item.path);
        }
        return paths;
    }

    TempFolder folder_{"zscan_walk"};
    fs::path root_ = folder_.path();
    std::vector<fs::path> locked_;
    SearchContext context_;
    FakeFrontEnd front_end_;
    HitRecorder recorder_{context_, front_end_};
    RecordingBookSearch books_{recorder_};
};

TEST_F(FolderWalkTest, PicksVisibleBooksByNameDepthFirstInByteOrder) {
    for (const char *name : {"b/4.xlsx", "a/deeper/3.XLSX", "a/2.xlsm", "5.xls", "a/1.xlsx", "B.xlsx", "old.xlsb",
                             "notes.txt", "xls", "archive.xls.zip", ".hidden.xlsx", ".secret/inside.xlsx"}) {
        touch(name);
    }
    walk();
    // By bytes of the name, so capitals come first; a folder's books come
    // where the folder falls in that order.
    EXPECT_EQ(searched_in_order(), (std::vector<std::string>{at("5.xls"), at("B.xlsx"), at("a/1.xlsx"), at("a/2.xlsm"),
                                                             at("a/deeper/3.XLSX"), at("b/4.xlsx")}));
    for (const SearchedBook &book : books_.searched) {
        const BookKind expected = book.path.ends_with("xlsm") ? BookKind::Excel2007Macro
                                  : book.path.ends_with("xls") ? BookKind::Excel2003
                                                               : BookKind::Excel2007;
        EXPECT_EQ(book.kind, expected) << book.path;
    }
    EXPECT_NE(std::find(front_end_.progress.begin(), front_end_.progress.end(), at("a/deeper")),
              front_end_.progress.end());
    EXPECT_EQ(context_.current_folder, root_.string());

    // File-name keywords match the name in any letter case.
    books_.searched.clear();
    context_.file_name_keywords = {"XLSM", "b"};
    walk();
    EXPECT_EQ(searched_paths(), (std::vector<std::string>{at("B.xlsx"), at("a/2.xlsm")}));
}

TEST_F(FolderWalkTest, CancelAndTheHitLimitEndEveryLevel) {
    for (const char *name : {"1.xlsx", "2.xlsx", "sub/3.xlsx", "sub/deep/4.xlsx"}) touch(name);
    books_.after_book = [this] { front_end_.cancelled = true; };
    walk();
    EXPECT_EQ(searched_in_order(), std::vector<std::string>{at("1.xlsx")}) << "cancel stops before the next entry";

    // The book that reaches the limit does not end the walk; the next one
    // passes it and nothing after that is searched, in this folder or
    // below.
    books_.searched.clear();
    books_.after_book = nullptr;
    front_end_ = FakeFrontEnd{};
    context_.hit_limit = 3;
    books_.hits_per_book = 2;
    walk();
    EXPECT_EQ(searched_in_order(), (std::vector<std::string>{at("1.xlsx"), at("2.xlsx")}));
    EXPECT_TRUE(context_.limit_passed);
    EXPECT_EQ(front_end_.limits, std::vector<int>{3});
}

TEST_F(FolderWalkTest, ReportsFoldersItCannotListAndGoesOn) {
    const fs::path before = touch("a.xlsx");
    const fs::path inside = touch("locked/b.xlsx");
    const fs::path after = touch("z/c.xlsx");
    fs::permissions(root_ / "locked", fs::perms::none);
    locked_.push_back(root_ / "locked");
    // A privileged user may list the folder anyway; the walk must go on
    // past it in either case, and say so when it could not.
    const bool listable = access((root_ / "locked").c_str(), R_OK | X_OK) == 0;

    walk();
    std::vector<std::string> expected{before.string(), after.string()};
    if (listable) expected.push_back(inside.string());
    EXPECT_EQ(searched_paths(), sorted(expected));
    EXPECT_EQ(reported(SkipReason::PermissionDenied),
              listable ? std::vector<std::string>{} : std::vector<std::string>{at("locked")});
    EXPECT_EQ(front_end_.skipped.size(), context_.not_searched.size());
    EXPECT_EQ(context_.current_folder, root_.string());
}

TEST_F(FolderWalkTest, FollowsFolderLinksButEntersEachRealFolderOnce) {
    const fs::path book = touch("sub/book.xlsx");
    fs::create_directory_symlink(root_, root_ / "sub" / "up");
    fs::create_directory_symlink(root_ / "sub", root_ / "sub" / "self");
    fs::create_directory_symlink(root_ / "sub" / "up", root_ / "chain");
    // Two links to one folder the listing would not show: searched once,
    // through the first link in name order.
    touch(".store/kept.xlsx");
    fs::create_directory_symlink(root_ / ".store", root_ / "link1");
    fs::create_directory_symlink(root_ / ".store", root_ / "link2");
    // Links to files are books like any other; a dangling link is no file.
    fs::create_symlink(book, root_ / "linked.xlsx");
    fs::create_symlink(root_ / "missing.xlsx", root_ / "dangling.xlsx");

    walk();
    EXPECT_EQ(searched_in_order(), (std::vector<std::string>{(root_ / "link1" / "kept.xlsx").string(),
                                                        (root_ / "linked.xlsx").string(), book.string()}));
}

TEST_F(FolderWalkTest, SurvivesEntriesThatVanishWhileTheWalkRuns) {
    for (const char *name : {"a/1.xlsx", "a/2.xlsx", "a/deep/3.xlsx", "b/4.xlsx", "b/c/5.xlsx", "6.xlsx"}) touch(name);
    // After the first book, everything else in the tree disappears: the
    // folder being listed included.
    books_.after_book = [&] {
        if (books_.searched.size() != 1) return;
        for (const auto &entry : fs::directory_iterator(root_)) fs::remove_all(entry.path());
    };
    walk();
    EXPECT_EQ(searched_in_order(), std::vector<std::string>{at("6.xlsx")});
    EXPECT_EQ(context_.current_folder, root_.string());
}

TEST_F(FolderWalkTest, TakesNamesThatAreNoValidTextInAnyCharacterSet) {
    // A lone Shift-JIS lead byte, bytes that are no UTF-8, and a UTF-8
    // name cut inside a character; a folder with such a name too.
    const std::vector<std::string> names{"\x82.xlsx", "\xff\xfe\x80.XLS", "\xe6\x97.xlsm", "\x81\\.xlsx"};
    std::vector<std::string> expected;
    for (const std::string &name : names) expected.push_back(touch(name).string());
    expected.push_back(touch(fs::path("\xfc\x81\xff") / "in.xlsx").string());

    for (int charset : {CS_UTF8, CS_SJIS}) {
        SCOPED_TRACE(charset);
        context_.charset = charset;
        books_.searched.clear();
        walk();
        EXPECT_EQ(searched_paths(), sorted(expected));
    }
}

// Makes `levels` nested folders named `name` below `base` one level at a
// time, as far below as the system lets a folder be made whatever the
// length of its whole path; gives the deepest folder's path.
std::string make_deep_folders(const fs::path &base, const std::string &name, int levels) {
    int folder = open(base.c_str(), O_RDONLY | O_DIRECTORY);
    std::string path = base.string();
    for (int level = 0; level < levels && folder >= 0; ++level) {
        mkdirat(folder, name.c_str(), 0700);
        const int inner = openat(folder, name.c_str(), O_RDONLY | O_DIRECTORY);
        close(folder);
        folder = inner;
        path += "/" + name;
    }
    if (folder >= 0) close(folder);
    return path;
}

// Removes the entry `name` of the folder `parent` with all it holds, one
// level at a time, where a path would be too long for the system.
void remove_tree_at(int parent, const char *name) {
    const int folder = openat(parent, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW);
    if (folder >= 0) {
        DIR *listing = fdopendir(folder);
        while (dirent *entry = readdir(listing)) {
            if (std::strcmp(entry->d_name, ".") == 0 || std::strcmp(entry->d_name, "..") == 0) continue;
            if (unlinkat(folder, entry->d_name, 0) != 0) remove_tree_at(folder, entry->d_name);
        }
        closedir(listing);
    }
    unlinkat(parent, name, AT_REMOVEDIR);
}

TEST_F(FolderWalkTest, SearchesPathsAsLongAsTheSystemTakesAndReportsLonger) {
    // A book whose path is far longer than 256 bytes, in Japanese.
    std::string japanese;
    for (int i = 0; i < 80; ++i) japanese += "日";
    const fs::path long_book = touch(fs::path(japanese) / (japanese + ".xlsx"));
    ASSERT_GT(long_book.string().size(), 480u);

    // A chain of folders deeper than any path the system takes: its books
    // are searched down to the system's limit, and the folder past it is
    // reported, once.
    std::vector<std::string> reachable{long_book.string()};
    std::string deep = make_deep_folders(root_, "d", 1);
    for (int step = 0; step < 50; ++step) {
        const std::string book = deep + "/b.xls";
        std::ofstream(book) << "x";
        if (book.size() <= 4095) reachable.push_back(book);
        deep = make_deep_folders(deep, std::string(40, 'd'), 2);
    }
    walk();
    remove_tree_at(AT_FDCWD, (root_ / "d").c_str());
    EXPECT_EQ(searched_paths(), sorted(reachable));
    ASSERT_EQ(reported(SkipReason::PathTooLong).size(), 1u);
    EXPECT_GT(reported(SkipReason::PathTooLong)[0].size(), 4095u);
}

// The real book search over books removed between the moment the walk
// lists them and the moment they are read: each is reported unreadable
// and the intact book still gives its hit.  (Books damaged before they
// are read are reported by end_to_end.py.)
class RemovingBookSearch : public BookSearch {
public:
    RemovingBookSearch(WorkbookSearch &inner, HitRecorder &recorder) : inner_(inner), recorder_(recorder) {}
    void search_book(const BookJob &job) override {
        if (fs::path(job.path).filename().string().rfind("removed", 0) == 0) fs::remove(job.path);
        recorder_.book_finished(job.path, inner_.search(job, recorder_));
    }

private:
    WorkbookSearch &inner_;
    HitRecorder &recorder_;
};

TEST_F(FolderWalkTest, BooksRemovedBeforeTheyAreReadAreReportedUnreadable) {
    // A sample book with the word "pineapple" in one cell.
    const std::string bytes = read_file(fs::path(ZS_TEST_DATA_DIR) / ".." / ".." / "samples" / "english.xlsx");
    ASSERT_GT(bytes.size(), 100u);
    for (const char *name : {"intact.xlsx", "removed.xlsx", "removed.xls"}) touch(name, bytes);

    CellMatcher matcher;
    std::string bad_word;
    ASSERT_TRUE(matcher.prepare(context_.charset, {"pineapple"}, false, bad_word));
    WorkbookSearch search(matcher, context_.charset, TextsSearched{}, context_.link_base_folder, {});
    RemovingBookSearch removing(search, recorder_);

    walk_folder(context_, front_end_, removing, recorder_);
    EXPECT_EQ(context_.hit_count, 1);
    EXPECT_EQ(context_.books_searched, 1);
    EXPECT_EQ(reported(SkipReason::Unreadable), (std::vector<std::string>{at("removed.xls"), at("removed.xlsx")}));
}

}  // namespace
