// The settings file: what is written, what is read back, and when the
// settings count as changed.
#include "engine/settings_file.h"

#include "test_folder.h"

#include <gtest/gtest.h>

using namespace zscan;

namespace {

class SettingsFileTest : public ::testing::Test {
protected:
    void SetUp() override { init_search_context(context_); }
    SearchContext context_;
    TempFolder folder_{"zscan_ini"};
    std::string path_ = folder_.file("Z-Scan.ini");
};

// A fold is written only when on, so the file of a user who never folds
// stays as it always was.
TEST_F(SettingsFileTest, WritesTheKeysInByteOrderAndReadsThemBack) {
    context_.target_folder = "/data/books";
    context_.search_words_text = "東京  大阪";
    context_.file_name_keywords_text = "REPORT";
    context_.list_file_path = "/data/words.txt";
    context_.output_excel = true;
    context_.folds.width = true;
    context_.texts.outside_cells = false;
    ASSERT_EQ(save_settings(context_, path_), 0);
    EXPECT_EQ(read_file(path_), "[Z-Scan]\r\nCELLS_ONLY=\"Y\"\r\nDIRECTORY=\"/data/books\"\r\nFILENAMES=\"REPORT\"\r\n"
                                "FOLD_WIDTH=\"Y\"\r\nIS_OUTPUT_EXCEL=\"Y\"\r\n"
                                "IS_REGULAR_EXPRESSION=\"N\"\r\nKEYWORD=\"東京  大阪\"\r\nLIST_PATH=\"/data/words.txt\"\r\n");

    SearchContext loaded;
    init_search_context(loaded);
    load_settings(loaded, path_);
    // Every taken setting read back equal (a change in any of them is
    // told, below); the fold and the cells-only flag read back as written.
    const FieldValues expected = shown_fields(context_);
    const FieldValues got = shown_fields(loaded);
    EXPECT_TRUE(got.folds.width && !got.folds.letter_case && !got.folds.kana);
    EXPECT_TRUE(got.cells_only);
    EXPECT_FALSE(settings_changed(loaded, expected));
    loaded.texts.outside_cells = true;
    EXPECT_TRUE(settings_changed(loaded, expected));
}

TEST_F(SettingsFileTest, FlagsTakeYInEitherCaseAndOverlongValuesKeepTheDefaults) {
    folder_.write("Z-Scan.ini", "[Other]\r\nIS_OUTPUT_EXCEL=\"y\"\r\nIS_REGULAR_EXPRESSION=\"yes\"\r\n"
                                "DIRECTORY=\"" + std::string(kPathMax + 1, 'd') + "\"\r\n" +
                                "KEYWORD=\"" + std::string(kWordsTextMax - 2, 'k') + "\"\r\n" +
                                "FILENAMES=\"" + std::string(kWordsTextMax + 1, 'f') + "\"\r\n");
    load_settings(context_, path_);
    EXPECT_TRUE(context_.output_excel);
    EXPECT_FALSE(context_.regular_expression);
    EXPECT_EQ(context_.target_folder, "");
    // The quoted value is one word of the word reader, quotes included.
    EXPECT_EQ(context_.search_words_text.size(), kWordsTextMax - 2);
    EXPECT_EQ(context_.file_name_keywords_text, "");

    SearchContext untouched;
    init_search_context(untouched);
    load_settings(untouched, path_ + ".missing");
    EXPECT_FALSE(settings_changed(untouched, FieldValues{}));
}

TEST_F(SettingsFileTest, ChangedWhenAnyTakenSettingDiffersFromTheSnapshot) {
    const FieldValues snapshot = shown_fields(context_);
    const auto changed_by = [&](auto change) {
        SearchContext copy;
        init_search_context(copy);
        change(copy);
        return settings_changed(copy, snapshot);
    };
    EXPECT_TRUE(changed_by([](SearchContext &c) { c.target_folder = "x"; }));
    EXPECT_TRUE(changed_by([](SearchContext &c) { c.search_words_text = "x"; }));
    EXPECT_TRUE(changed_by([](SearchContext &c) { c.file_name_keywords_text = "x"; }));
    EXPECT_TRUE(changed_by([](SearchContext &c) { c.list_file_path = "x"; }));
    EXPECT_TRUE(changed_by([](SearchContext &c) { c.output_excel = true; }));
    EXPECT_TRUE(changed_by([](SearchContext &c) { c.regular_expression = true; }));
    EXPECT_TRUE(changed_by([](SearchContext &c) { c.folds.letter_case = true; }));
    EXPECT_TRUE(changed_by([](SearchContext &c) { c.folds.kana = true; }));
    // The working state of a search is no setting.
    EXPECT_FALSE(changed_by([](SearchContext &c) { c.hit_count = 3; c.current_folder = "y"; }));
}

}  // namespace
