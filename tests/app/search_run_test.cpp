// Whole searches over real books, from the input checks to the delivered
// result, through the fake front end.
#include "engine/search_run.h"

#include "engine/hit_recorder.h"

#include "charset.h"
#include "fake_front_end.h"
#include "test_folder.h"
#include "write_zip_reader.h"
#include "xlsx_test_package.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;
using namespace zscan;

namespace {

const fs::path kSamples = fs::path(ZS_TEST_DATA_DIR) / ".." / ".." / "samples";
const fs::path kData = fs::path(ZS_TEST_DATA_DIR) / ".." / "app" / "data";
const fs::path kManyHits = kData / "many_hits.xlsx";

std::vector<std::string> sorted(std::vector<std::string> lines) {
    std::sort(lines.begin(), lines.end());
    return lines;
}

std::vector<std::string> file_lines(const fs::path &path) {
    std::ifstream in(path);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

// Every case runs with books searched one at a time and several at once:
// what the user sees must not depend on it.
class SearchRunTest : public ::testing::TestWithParam<int> {
protected:
    void SetUp() override {
        fs::create_directories(work_ / "temp");
        init_search_context(context_);
        context_.jobs = GetParam();
        context_.temp_folder = (work_ / "temp").string();
        context_.target_folder = fs::canonical(kSamples).string();
        samples_ = context_.target_folder;
    }

    SearchOutcome search(const std::string &words) {
        context_.search_words_text = words;
        return run_search(context_, front_end_);
    }
    std::string sample_line(const std::string &book, const std::string &rest) const {
        return "[" + samples_ + "/" + book + "]" + rest;
    }
    // The hits of the word 東京 in the sample books, sorted.
    std::vector<std::string> tokyo_hits() const {
        return sorted({sample_line("日本語の表.xlsx", "[売上][A2] 東京"), sample_line("日本語の表.xlsx", "[売上][A6] 東京タワー見学"),
                       sample_line("日本語の表.xlsx", "[メモ][A1] 会議は東京本社で行います。"),
                       sample_line("macro.xlsm", "[Macro][B2] 東京マクロ"), sample_line("sub/legacy.xls", "[旧形式][A1] 東京支店")});
    }
    fs::path text_result() const { return work_ / "temp" / "Z-Scan検索結果.txt"; }
    fs::path book_result() const { return work_ / "temp" / "Z-Scan検索結果.xlsx"; }
    // A folder holding `copies` copies of the many-hits book.
    void use_many_hits_folder(int copies) {
        const fs::path folder = work_ / "many";
        fs::create_directories(folder);
        for (int i = 0; i < copies; ++i) fs::copy_file(kManyHits, folder / ("copy" + std::to_string(i) + ".xlsx"));
        context_.target_folder = folder.string();
    }

    TempFolder folder_{"zscan_run"};
    fs::path work_ = folder_.path();
    std::string samples_;
    SearchContext context_;
    FakeFrontEnd front_end_;
};

TEST_P(SearchRunTest, TextOutputListsEveryHitInTheFileAndToTheFrontEnd) {
    ASSERT_EQ(search("東京"), SearchOutcome::Found);
    EXPECT_EQ(sorted(front_end_.lines), tokyo_hits());
    EXPECT_EQ(file_lines(text_result()), front_end_.lines);
    ASSERT_EQ(front_end_.opened.size(), 1u);
    EXPECT_EQ(front_end_.opened[0], std::make_pair(text_result().string(), false));
    EXPECT_TRUE(front_end_.messages.empty());
    EXPECT_EQ(context_.hit_count, 0);
}

TEST_P(SearchRunTest, TrailingEmptyCellsOfARowAreNotTested) {
    // Row 1: text in A, formatted empty cells in B and C.  Row 2: text in A
    // and C, nothing in B, formatted empty cells in D and E.  An expression
    // that matches the empty text shows which cells were tested.
    const fs::path folder = work_ / "blank";
    fs::create_directories(folder);
    fs::copy_file(kData / "blank_cells.xlsx", folder / "blank.xlsx");
    context_.target_folder = folder.string();
    context_.regular_expression = true;
    ASSERT_EQ(search(".*"), SearchOutcome::Found);
    std::vector<std::string> cells;
    for (const std::string &line : front_end_.lines) cells.push_back(line.substr(line.find("][Trim][") + 8));
    EXPECT_EQ(cells, (std::vector<std::string>{"A1] only", "B1] ", "C1] ", "A2] x", "B2] ", "C2] y"}));
}

// The first invalid word is named, once.
TEST_P(SearchRunTest, AnInvalidExpressionIsReportedOnceAndNothingIsTouched) {
    std::ofstream(text_result()) << "old result\n";
    context_.regular_expression = true;
    EXPECT_EQ(search("ok (broken [z-a]"), SearchOutcome::Failed);
    ASSERT_EQ(front_end_.messages.size(), 1u);
    EXPECT_EQ(front_end_.messages[0].text, "検索内容((broken)は正規表現として不正です。");
    EXPECT_EQ(front_end_.messages[0].icon, MessageIcon::Error);
    EXPECT_EQ(file_lines(text_result()), std::vector<std::string>{"old result"});
    EXPECT_TRUE(front_end_.progress.empty());
}

TEST_P(SearchRunTest, InputErrorsStopBeforeTheWalk) {
    EXPECT_EQ(search(""), SearchOutcome::Failed);
    ASSERT_EQ(front_end_.messages.size(), 1u);
    EXPECT_EQ(front_end_.messages[0].text, "検索内容が指定されていません。");
    EXPECT_EQ(front_end_.titles[0], "Z-Scan");

    for (const fs::path &list : {work_ / "no-such-list.txt", work_ / "temp"}) {
        front_end_.messages.clear();
        context_.list_file_path = list.string();
        EXPECT_EQ(search("x"), SearchOutcome::Failed);
        ASSERT_EQ(front_end_.messages.size(), 1u);
        EXPECT_EQ(front_end_.messages[0].text,
                  "検索内容リストファイル(" + context_.list_file_path + ")オープンエラー");
    }
    EXPECT_TRUE(front_end_.progress.empty());
}

TEST_P(SearchRunTest, NothingFoundIsToldAndTheResultBookKeepsItsHeaderRow) {
    EXPECT_EQ(search("no-such-text"), SearchOutcome::NothingFound);
    ASSERT_EQ(front_end_.messages.size(), 1u);
    EXPECT_EQ(front_end_.messages[0].text, "検索対象が見つかりませんでした。");
    EXPECT_EQ(front_end_.messages[0].icon, MessageIcon::Information);
    EXPECT_TRUE(front_end_.opened.empty());

    context_.output_excel = true;
    EXPECT_EQ(search("no-such-text"), SearchOutcome::NothingFound);
    xlsx_test::OpenBook result(book_result().string(), "READ");
    ASSERT_EQ(result.rc(), 0);
    EXPECT_EQ(result.get()->sheets[0].row_count, 1);
    EXPECT_EQ(result.text(0, "D1"), "パス(フォルダリンク)");
}

TEST_P(SearchRunTest, CancelAfterHitsAsksWhetherToShowThemAndFinishesTheBooksBeingRead) {
    context_.search_words_text = "東京 apple";
    FakeFrontEnd whole;
    ASSERT_EQ(run_search(context_, whole), SearchOutcome::Found);
    const auto book_of = [](const std::string &line) { return line.substr(0, line.find(']')); };

    struct CancelOnFirstHit : FakeFrontEnd {
        void hit_recorded(const RecordedHit &hit) override {
            FakeFrontEnd::hit_recorded(hit);
            cancelled = true;
        }
    } front_end;
    front_end.answer = false;
    EXPECT_EQ(run_search(context_, front_end), SearchOutcome::Declined);
    ASSERT_EQ(front_end.messages.size(), 1u);
    EXPECT_EQ(front_end.messages[0].text, "途中までの検索結果を表示しますか？");
    EXPECT_TRUE(front_end.messages[0].yes_no);
    EXPECT_TRUE(front_end.opened.empty());
    EXPECT_EQ(context_.hit_count, 0);
    // The hits kept are those of the whole search up to a book's end: the
    // books being read are finished, and none after them is begun.  One
    // book at a time, that is the first book alone.
    const std::vector<std::string> &kept = front_end.lines;
    ASSERT_FALSE(kept.empty());
    ASSERT_LE(kept.size(), whole.lines.size());
    EXPECT_TRUE(std::equal(kept.begin(), kept.end(), whole.lines.begin()));
    if (kept.size() < whole.lines.size()) {
        EXPECT_NE(book_of(whole.lines[kept.size()]), book_of(kept.back()));
    }
    if (GetParam() == 1) {
        EXPECT_EQ(book_of(kept.back()), book_of(kept.front()));
    }
}

// The rows and links of the result book are checked end to end through
// the same search by end_to_end.py; here what the window is told.
TEST_P(SearchRunTest, ExcelOutputOpensTheResultBookAndCountsItsHits) {
    context_.output_excel = true;
    ASSERT_EQ(search("東京"), SearchOutcome::Found);
    ASSERT_EQ(front_end_.opened.size(), 1u);
    EXPECT_EQ(front_end_.opened[0], std::make_pair(book_result().string(), true));
    EXPECT_EQ(front_end_.counter, "5件");
    EXPECT_EQ(front_end_.lines, std::vector<std::string>(5, "")) << "a result book's hits have no text line";
}

// In Shift-JIS, as the window searches, where a character's second byte
// may be a backslash (表).  Texts of ASCII alone take the same path in
// either character set: those that could be typed into a number, a date
// or a live formula are checked in zscan's UTF-8 result book by
// end_to_end.py.
TEST_P(SearchRunTest, ResultRowsHoldTheShiftJisHitTextsExactly) {
    std::string long_text = "xx";
    for (int i = 0; i < 600; ++i) long_text += "あ";
    // Texts as found and as the cell must hold them: none may write into
    // another cell or lose its row.  The cut at 1000 bytes keeps whole
    // characters: 499 of two bytes after the first two.
    const size_t kept_chars = 499;
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"qq\" A.幅=\"3", ""}, {"qq\" 12=\"x", ""}, {"\"表\"", ""}, {"a=b <&> \x01\t\n end", ""},
        {"表\\n\\\\c", ""}, {"", ""}, {long_text, long_text.substr(0, 2 + kept_chars * 3)},
    };
    context_.charset = CS_SJIS;
    context_.output_excel = true;
    context_.search_words_text = "x";
    const std::string path = orb_convert(CS_UTF8, CS_SJIS, "/books/say \"hi\" 表.xlsx");
    {
        SearchRun run(context_, front_end_);
        ASSERT_TRUE(run.prepare());
        HitRecorder recorder(context_, front_end_);
        for (const auto &[found, held] : cases) {
            const std::string text = orb_convert(CS_UTF8, CS_SJIS, found);
            ASSERT_TRUE(recorder.record({path, "001", "B7", path, "/books"}, text, MatchedText::Display));
        }
        ASSERT_EQ(run.finish(), SearchOutcome::Found);
    }
    xlsx_test::OpenBook result(book_result().string(), "READ");
    ASSERT_EQ(result.rc(), 0);
    EXPECT_EQ(result.get()->sheets[0].row_count, static_cast<int>(cases.size()) + 1) << "the header and a row a hit";
    for (size_t i = 0; i < cases.size(); ++i) {
        const std::string row = std::to_string(i + 2);
        const auto &[found, held] = cases[i];
        EXPECT_EQ(result.text(0, "A" + row), held.empty() ? found : held) << found;
        EXPECT_EQ(result.text(0, "C" + row), "001");
        EXPECT_EQ(result.text(0, "D" + row), "/books/say \"hi\" 表.xlsx");
    }
    const ZipEntries parts = read_zip(book_result().string());
    const std::string *sheet = find_entry(parts, "xl/worksheets/sheet1.xml");
    ASSERT_NE(sheet, nullptr);
    EXPECT_EQ(sheet->find("width=\"3."), std::string::npos) << "no text sets a column's width";
}

TEST_P(SearchRunTest, TheHitLimitEndsTheWalkAfterTheBookThatPassesIt) {
    use_many_hits_folder(2);
    ASSERT_EQ(search("hit"), SearchOutcome::Found);
    // Text output: the whole first book is written, the second is never
    // opened, and no message is shown.
    EXPECT_EQ(front_end_.lines.size(), 10001u);
    EXPECT_EQ(file_lines(text_result()).size(), 10001u);
    EXPECT_TRUE(front_end_.messages.empty());

    // Excel output stops at the limit, and the front end is told.
    context_.output_excel = true;
    ASSERT_EQ(search("hit"), SearchOutcome::Found);
    EXPECT_EQ(front_end_.limits, (std::vector<int>{10000, 10000}));
    EXPECT_EQ(front_end_.counter, "10001件");
    xlsx_test::OpenBook result(book_result().string(), "READ");
    ASSERT_EQ(result.rc(), 0);
    EXPECT_EQ(result.get()->sheets[0].row_count, 10001);
    EXPECT_EQ(result.text(0, "A10001"), "hit 10000");
    EXPECT_EQ(result.text(0, "B10001"), "A10000");
}

// A large package searched alone is shared out between workers by its
// sheets; its hits still come sheet by sheet, in each sheet's order.
TEST_P(SearchRunTest, ALargeBookSearchedAloneKeepsItsSheetsInOrder) {
    const std::vector<std::string> names = {"S1", "S2", "S3"};
    xlsx_test::Parts parts = {{"[Content_Types].xml", xlsx_test::kContentTypes},
                              {"xl/workbook.xml", xlsx_test::workbook_xml(names)}};
    std::vector<std::string> expected;
    const fs::path folder = work_ / "large";
    fs::create_directories(folder);
    for (size_t sheet = 0; sheet < names.size(); ++sheet) {
        std::string rows;
        for (int row = 1; row <= 6000; ++row) {
            const bool needle = row % 1000 == 7;
            rows += xlsx_test::text_row(row, {needle ? "needle " + std::to_string(row) : "filler text of the row",
                                              "more filler text"});
            if (needle)
                expected.push_back("[" + (folder / "big.xlsx").string() + "][" + names[sheet] + "][A" +
                                   std::to_string(row) + "] needle " + std::to_string(row));
        }
        parts.push_back({"xl/worksheets/sheet" + std::to_string(sheet + 1) + ".xml", xlsx_test::sheet_xml(rows)});
    }
    // Stored, so that the file is large enough to be shared out.
    ASSERT_TRUE(xlsx_test::write_package((folder / "big.xlsx").string(), parts, 0));
    ASSERT_GT(fs::file_size(folder / "big.xlsx"), 1u << 20);
    context_.target_folder = folder.string();
    ASSERT_EQ(search("needle"), SearchOutcome::Found);
    EXPECT_EQ(front_end_.lines, expected);
}

// A word search passes number cells, and shared strings without the word,
// over without reading their names; a cell or row without a name must
// still follow the cell before it, and formulas searched are still seen.
TEST_P(SearchRunTest, CellsWithoutNamesFollowCellsTheSearchPassedOver) {
    const auto text = [](const std::string &t) { return "<c t=\"inlineStr\"><is><t>" + t + "</t></is></c>"; };
    const std::string rows = "<row r=\"2\"><c r=\"D2\"><v>12</v></c>" + text("needle a") + "</row>" +
                             "<row r=\"3\"><c r=\"B5\"><v>7</v></c></row><row>" + text("needle b") + "</row>" +
                             "<row r=\"9\"><c r=\"C9\"><v>1</v></c><c r=\"?\"><v>2</v></c>" + text("needle c") + "</row>" +
                             "<row r=\"12\"><c r=\"B12\" t=\"s\"><v>0</v></c><c t=\"s\"><v>1</v></c>" +
                             "<c r=\"F12\" t=\"s\"><f>T(\"needle\")</f><v>0</v></c></row>";
    const fs::path folder = work_ / "unnamed";
    fs::create_directories(folder);
    const fs::path book = folder / "unnamed.xlsx";
    ASSERT_TRUE(xlsx_test::write_package(
        book.string(), {{"[Content_Types].xml", xlsx_test::kContentTypes},
                        {"xl/workbook.xml", xlsx_test::workbook_xml({"S"})},
                        {"xl/sharedStrings.xml", "<sst><si><t>other</t></si><si><t>needle d</t></si></sst>"},
                        {"xl/worksheets/sheet1.xml", xlsx_test::sheet_xml(rows)}}));
    context_.target_folder = folder.string();
    const std::string place = "[" + book.string() + "][S]";
    const std::vector<std::string> cells = {place + "[E2] needle a", place + "[A6] needle b", place + "[D9] needle c",
                                            place + "[C12] needle d"};
    ASSERT_EQ(search("needle"), SearchOutcome::Found);
    EXPECT_EQ(front_end_.lines, cells);
    front_end_.lines.clear();
    context_.texts.formulas = true;
    ASSERT_EQ(search("needle"), SearchOutcome::Found);
    EXPECT_EQ(front_end_.lines.size(), cells.size() + 1);
    EXPECT_NE(std::find(front_end_.lines.begin(), front_end_.lines.end(), place + "[F12 数式] =T(\"needle\")"),
              front_end_.lines.end());
}

TEST_P(SearchRunTest, AResultBookThatCannotBeWrittenStopsTheSearch) {
    context_.output_excel = true;
    context_.temp_folder = (work_ / "no-such-folder").string();
    EXPECT_EQ(search("東京"), SearchOutcome::Failed);
    ASSERT_EQ(front_end_.messages.size(), 1u);
    EXPECT_EQ(front_end_.messages[0].text,
              "Z-Scan検索結果Excelブック(" + context_.temp_folder +
                  "/Z-Scan検索結果.xlsx)オープンエラー。\r\nブックを開いている場合は閉じてください。");
    EXPECT_TRUE(front_end_.progress.empty());
}

INSTANTIATE_TEST_SUITE_P(Jobs, SearchRunTest, ::testing::Values(1, 3),
                         [](const ::testing::TestParamInfo<int> &info) {
                             return "jobs" + std::to_string(info.param);
                         });

}  // namespace
