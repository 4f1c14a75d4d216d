// Building the word tables: the list file, the typed words and the
// file-name keywords, split into words and phrases.
#include "engine/word_tables.h"

#include "charset.h"
#include "engine/search_words.h"
#include "fake_front_end.h"
#include "platform/platform.h"
#include "test_folder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;
using namespace zscan;

namespace {

using Words = std::vector<std::string>;

class WordTablesTest : public ::testing::Test {
protected:
    void SetUp() override {
        init_search_context(context_);
    }

    void write_list(const std::string &content) {
        std::ofstream(list_, std::ios::binary) << content;
        context_.list_file_path = list_.string();
    }
    bool take(const std::string &words, const std::string &keywords = "") {
        FieldValues fields = shown_fields(context_);
        fields.search_words = words;
        fields.file_name_keywords = keywords;
        return take_fields(context_, fields);
    }
    bool build() { return build_word_tables(context_, front_end_); }

    SearchContext context_;
    FakeFrontEnd front_end_;
    TempFolder folder_{"zscan_list"};
    fs::path list_ = folder_.path() / "words.txt";
};

TEST_F(WordTablesTest, TypedWordsSplitAtBlanksQuotesAndEquals) {
    // A phrase is one word without its quotes, "" in it one quote; an
    // apostrophe is a letter; an empty phrase is no word.
    ASSERT_TRUE(take("a=b \"New York\" it's \"say \"\"hi\"\"\" x\"y z\" \"\" end;"));
    ASSERT_TRUE(build());
    EXPECT_EQ(context_.search_words, (Words{"a", "=", "b", "New York", "it's", "say \"hi\"", "x", "y z", "end"}));

    ASSERT_TRUE(take("   "));
    ASSERT_TRUE(build());
    EXPECT_TRUE(context_.search_words.empty());
}

TEST_F(WordTablesTest, ListFileWordsComeFirstAndTenFileNameKeywordsAreKept) {
    write_list("first\tsecond\r\nthird\n\nfourth");
    ASSERT_TRUE(take("typed", "k1 k2 k3 k4 k5 k6 k7 k8 k9 k10 k11 k12"));
    ASSERT_TRUE(build());
    EXPECT_EQ(context_.search_words, (Words{"first", "second", "third", "fourth", "typed"}));
    ASSERT_EQ(context_.file_name_keywords.size(), kFileNameKeywordMax);
    EXPECT_EQ(context_.file_name_keywords.back(), "k10");
}

TEST_F(WordTablesTest, FullWidthSpacesSeparateTypedWordsButNotListFileWords) {
    const std::string wide_space = "\xE3\x80\x80";   // U+3000 in UTF-8
    write_list("東京" + wide_space + "大阪\n");
    ASSERT_TRUE(take("Ａ" + wide_space + "Ｂ", "report" + wide_space + "2016"));
    ASSERT_TRUE(build());
    EXPECT_EQ(context_.search_words, (Words{"東京" + wide_space + "大阪", "Ａ", "Ｂ"}));
    EXPECT_EQ(context_.search_words_text, "Ａ   Ｂ");
    EXPECT_EQ(context_.file_name_keywords, (Words{"report", "2016"}));
}

TEST_F(WordTablesTest, ShiftJisTextIsFoldedCharacterByCharacter) {
    context_.charset = CS_SJIS;
    // 0x81 0x40 is the full-width space.  In 0x95 0x81 0x40 the 0x81 is the
    // trail byte of a kanji, so no space is there.
    ASSERT_TRUE(take("\x95\x81\x40 x\x81\x40y"));
    EXPECT_EQ(context_.search_words_text, "\x95\x81\x40 x  y");
    ASSERT_TRUE(build());
    EXPECT_EQ(context_.search_words, (Words{"\x95\x81\x40", "x", "y"}));
}

// The window reads list files into Shift-JIS: whatever encoding the
// user's editor chose, the words come out the same.  (zscan's UTF-8 side
// is run end to end.)
TEST_F(WordTablesTest, ListFilesInEveryEditorEncodingGiveTheSameShiftJisWords) {
    context_.charset = CS_SJIS;
    const std::string utf8 = "東京 ｶﾀｶﾅ\r\nＡ①";
    auto utf16 = [&](bool little_endian) {
        std::u16string units;
        zplat::to_utf16(65001, utf8, units);
        std::string bytes = little_endian ? "\xFF\xFE" : "\xFE\xFF";
        for (char16_t unit : units) {
            const char low = static_cast<char>(unit & 0xFF), high = static_cast<char>(unit >> 8);
            bytes += little_endian ? std::string{low, high} : std::string{high, low};
        }
        return bytes;
    };
    const Words expected{orb_convert(CS_UTF8, CS_SJIS, "東京"), orb_convert(CS_UTF8, CS_SJIS, "ｶﾀｶﾅ"),
                         orb_convert(CS_UTF8, CS_SJIS, "Ａ①")};
    for (const std::string &bytes : {"\xEF\xBB\xBF" + utf8, utf8, utf16(true), utf16(false),
                                     orb_convert(CS_UTF8, CS_SJIS, utf8)}) {
        write_list(bytes);
        ASSERT_TRUE(build());
        EXPECT_EQ(context_.search_words, expected) << bytes;
    }
}

TEST_F(WordTablesTest, AnOverlongListFileWordIsAnErrorAsATypedOneIs) {
    write_list("before " + std::string(kSearchWordMax + 1, 'x') + " lost\nnext line\n");
    EXPECT_FALSE(build());
    ASSERT_EQ(front_end_.messages.size(), 1u);
    EXPECT_EQ(front_end_.messages[0].text,
              "検索内容リストファイル(" + list_.string() + ")に4000バイトを超える検索内容があります。");
    write_list(std::string(kSearchWordMax, 'x'));
    EXPECT_TRUE(build());
}

TEST_F(WordTablesTest, OverlongFieldsAreRefusedWhole) {
    ASSERT_TRUE(take("keep"));
    EXPECT_FALSE(take(std::string(kWordsTextMax + 1, 'x')));
    EXPECT_EQ(context_.search_words_text, "keep");
    FieldValues fields = shown_fields(context_);
    fields.target_folder = std::string(kPathMax + 1, 'd');
    EXPECT_FALSE(take_fields(context_, fields));
    fields.target_folder = std::string(kPathMax, 'd');
    EXPECT_TRUE(take_fields(context_, fields));
}

}  // namespace
