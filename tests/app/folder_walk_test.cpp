// The folder walk over real folder trees, with a recording book search in
// place of the library: which files are books, the order, keywords, cancel
// and the hit limit; and what a file system can do to the walk: folders it
// may not list, links that lead back up the tree, entries that vanish or
// change while the walk runs, names that are no valid text, and trees
// deeper and paths longer than the walk's path fields.
#include "engine/folder_walk.h"
#include "engine/workbook_search.h"

#include "charset.h"
#include "fake_front_end.h"
#include "oxls.h"
#include "test_folder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <sys/stat.h>
#include <unistd.h>

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
        init_search_context(context_);
        context_.current_folder = root_.string();
    }
    void TearDown() override {
        std::error_code ignored;
        for (const fs::path &folder : locked_) fs::permissions(folder, fs::perms::owner_all, ignored);
    }

    fs::path touch(const fs::path &relative, const std::string &content = "x") {
        const fs::path path = root_ / relative;
        fs::create_directories(path.parent_path());
        std::ofstream(path, std::ios::binary) << content;
        return path;
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
    WalkResult walk() { return walk_folder(context_, front_end_, books_); }

    TempFolder folder_{"zscan_walk"};
    fs::path root_ = folder_.path();
    std::vector<fs::path> locked_;
    SearchContext context_;
    FakeFrontEnd front_end_;
    RecordingBookSearch books_;
};

TEST_F(FolderWalkTest, PicksVisibleBooksByNameDepthFirstInByteOrder) {
    for (const char *name : {"b/4.xlsx", "a/deeper/3.XLSX", "a/2.xlsm", "5.xls", "a/1.xlsx", "B.xlsx", "old.xlsb",
                             "notes.txt", "xls", "archive.xls.zip", ".hidden.xlsx", ".secret/inside.xlsx"}) {
        touch(name);
    }
    // Only plain files are books: a pipe would block the reader for ever.
    ASSERT_EQ(mkfifo(at("pipe.xlsx").c_str(), 0600), 0);
    EXPECT_EQ(walk(), WalkResult::Done);
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
    EXPECT_EQ(walk(), WalkResult::Done);
    EXPECT_EQ(books_.searched.size(), 1u) << "cancel stops before the next entry";

    books_ = RecordingBookSearch{};
    front_end_.cancelled = false;
    books_.hits_per_book = kHitLimit;
    EXPECT_EQ(walk(), WalkResult::HitLimit);
    // The book that reaches the limit does not end the walk; the next one
    // passes it and nothing after that is searched.
    EXPECT_EQ(books_.searched.size(), 2u);
}

TEST_F(FolderWalkTest, PassesOverFoldersItCannotListAndGoesOn) {
    const fs::path before = touch("a.xlsx");
    const fs::path inside = touch("locked/b.xlsx");
    const fs::path after = touch("z/c.xlsx");
    fs::permissions(root_ / "locked", fs::perms::none);
    locked_.push_back(root_ / "locked");
    // A privileged user may list the folder anyway; the walk must go on
    // past it in either case.
    const bool listable = access((root_ / "locked").c_str(), R_OK | X_OK) == 0;

    EXPECT_EQ(walk(), WalkResult::Done);
    std::vector<std::string> expected{before.string(), after.string()};
    if (listable) expected.push_back(inside.string());
    EXPECT_EQ(searched_paths(), sorted(expected));
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

    EXPECT_EQ(walk(), WalkResult::Done);
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
    EXPECT_EQ(walk(), WalkResult::Done);
    ASSERT_GE(books_.searched.size(), 1u);
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
        EXPECT_EQ(walk(), WalkResult::Done);
        EXPECT_EQ(searched_paths(), sorted(expected));
    }
}

TEST_F(FolderWalkTest, SkipsPathsLongerThanTheFieldAndSurvivesVeryDeepTrees) {
    // Books whose paths are exactly as long as the field, and one byte
    // longer.
    const std::string base = root_.string() + "/";
    ASSERT_LT(base.size() + 10, kPathMax);
    const std::string fits(kPathMax - base.size() - 5, 'f');
    const std::string too_long(kPathMax - base.size() - 4, 'g');
    const fs::path fitting = touch(fits + ".xlsx");
    touch(too_long + ".xlsx");
    ASSERT_EQ(fitting.string().size(), kPathMax);

    // A chain of folders far deeper than any path the field can hold.
    fs::path deep = root_;
    std::vector<std::string> reachable;
    for (int level = 0; level < 1500; ++level) {
        deep /= "d";
        if (level % 100 == 0) {
            const fs::path book = touch(fs::relative(deep, root_) / "b.xls");
            if (book.string().size() <= kPathMax) reachable.push_back(book.string());
        }
    }
    fs::create_directories(deep);

    EXPECT_EQ(walk(), WalkResult::Done);
    reachable.push_back(fitting.string());
    EXPECT_EQ(searched_paths(), sorted(reachable));
}

// The real book search over books that are truncated, overwritten or
// removed between the moment the walk lists them and the moment they are
// read.  Every one is refused without harm and the intact book still gives
// its hit.
class ChangingBookSearch : public BookSearch {
public:
    explicit ChangingBookSearch(BookSearch &inner) : inner_(inner) {}
    int search_book(SearchContext &context, BookKind kind) override {
        const fs::path path = context.current_file;
        const std::string name = path.filename().string();
        std::error_code ignored;
        if (name.rfind("truncated", 0) == 0) fs::resize_file(path, fs::file_size(path) / 2, ignored);
        if (name.rfind("garbled", 0) == 0) std::ofstream(path, std::ios::binary) << std::string(3000, '\xD0');
        if (name.rfind("emptied", 0) == 0) fs::resize_file(path, 0, ignored);
        if (name.rfind("removed", 0) == 0) fs::remove(path, ignored);
        const int rc = inner_.search_book(context, kind);
        results.emplace_back(name, rc);
        return rc;
    }
    std::vector<std::pair<std::string, int>> results;

private:
    BookSearch &inner_;
};

TEST_F(FolderWalkTest, BooksThatChangeBeforeTheyAreReadAreRefusedCleanly) {
    // A small book made by the library's own writer.
    const fs::path made = root_ / "made.xlsx";
    {
        XLS_BOOK book{};
        const std::string open = "CHARSET=UTF8 EXCEL=\"" + made.string() + "\"";
        ASSERT_EQ(OXLS_open_book(&book, open.c_str()), 0);
        ASSERT_EQ(OXLS_open_sheet(&book, "SHEET_NAME=S"), 0);
        ASSERT_EQ(OXLS_put_values(&book, "A1=\"needle\" B2=\"hay\""), 0);
        ASSERT_EQ(OXLS_close_book(&book, "SAVE"), 0);
    }
    std::ifstream in(made, std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    in.close();
    fs::remove(made);
    ASSERT_GT(bytes.size(), 100u);
    for (const char *name : {"intact.xlsx", "truncated.xlsx", "garbled.xlsx", "emptied.xlsx", "removed.xlsx",
                             "garbled.xls", "truncated.xls", "removed.xls"}) {
        touch(name, bytes);
    }

    context_.result_file_path = (root_ / "result.txt").string();
    context_.temp_folder = root_.string();
    CellMatcher matcher;
    std::string bad_word;
    ASSERT_TRUE(matcher.prepare(context_.charset, {"needle"}, false, bad_word));
    HitRecorder recorder(context_, front_end_);
    WorkbookSearch search(matcher, recorder, context_.charset);
    ChangingBookSearch changing(search);

    EXPECT_EQ(walk_folder(context_, front_end_, changing), WalkResult::Done);
    ASSERT_EQ(changing.results.size(), 8u);
    for (const auto &[name, rc] : changing.results) EXPECT_EQ(rc, name == "intact.xlsx" ? 0 : -1) << name;
    EXPECT_EQ(context_.hit_count, 1);
}

}  // namespace
