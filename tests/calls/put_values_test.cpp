// Values strings: cells and properties applied item by item, the errors of
// bad items, and values that hold double quotes.
#include "oxls.h"
#include "write_test_book.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

class WritePutValues : public ::testing::Test {
protected:
    XLS_SHEET &sheet(int index = 0) { return book.get()->sheets[index]; }
    const XLS_CELL &cell(int row, int column, int sheet_index = 0) {
        return sheet(sheet_index).rows[row].cells[column];
    }
    std::string text(int row, int column, int sheet_index = 0) {
        const XLS_CELL &c = cell(row, column, sheet_index);
        EXPECT_EQ(c.type, XLS_CELL_SHARED_STRING);
        return c.type == XLS_CELL_SHARED_STRING ? book.get()->sst[c.number].text : "";
    }
    std::string message() { return OXLS_error_mesg(book.get()); }
    WriteTestBook book;
};

TEST_F(WritePutValues, HitRowsKeepQuotesAndReservedCharacters) {
    const struct {
        const char *values;
        std::vector<std::string> texts;   // what columns A on of its row hold
    } rows[] = {
        {"A2=\"say \"hi\" & <go>\" B2=\"B3\" C2=\"売上\" D2=\"/data/a b.xlsx\"", {"say \"hi\" & <go>", "B3", "売上", "/data/a b.xlsx"}},
        {"A3=\"ends with \"\" B3=\"\"quoted\"\" C3=\"a\"\"b\" D3=\"x=\"y\"\"", {"ends with \"", "\"quoted\"", "a\"b", "x=\"y\""}},
        {"A4=plain B4=\"two words\";", {"plain", "two words"}},
        // A text cut inside a multi-byte character still ends at its quote.
        {"A5=\"cut\xE3\x81\" B5=\"B3\"", {"cut\xE3\x81", "B3"}},
    };
    for (int row = 1; const auto &r : rows) {
        ASSERT_EQ(OXLS_put_values(book.get(), r.values), 0) << message();
        for (size_t column = 0; column < r.texts.size(); ++column)
            EXPECT_EQ(text(row, static_cast<int>(column)), r.texts[column]) << r.values;
        ++row;
    }
}

TEST_F(WritePutValues, KeywordsIgnoreCaseButNotWidth) {
    ASSERT_EQ(OXLS_put_values(book.get(), "a.width=5 B.幅=5 c.WiDtH=7.5"), 0) << message();
    EXPECT_DOUBLE_EQ(sheet().column_widths[0], 5.625);
    EXPECT_DOUBLE_EQ(sheet().column_widths[1], 5.625);
    EXPECT_DOUBLE_EQ(sheet().column_widths[2], 8.125);
    EXPECT_EQ(OXLS_put_values(book.get(), "ａ.幅=5"), -3);
}

TEST_F(WritePutValues, BadItemsAreRefusedWithTheirMessage) {
    struct Case {
        const char *values;
        int code;
        const char *text;
    } cases[] = {
        {"A1:D1=x", -3, "OXLS-02100 セル範囲指定(RANGE)は使用できません(\"A1:D1\")。"},
        {"A1:D1.FOO=x", -3, "OXLS-02200 サポート外のキーワードです(\"FOO\")。"},
        {"HELLO=x", -3, "OXLS-02200 サポート外のキーワードです(\"HELLO\")。"},
        {"A.ZOOM=50", -3, "OXLS-02200 サポート外のキーワードです(\"A.ZOOM\")。"},
        {"A1 \"x\"", -3, "OXLS-02303 引数列のイコール(=)部分が不正です(\"\"x\"\")。"},
        {"A1", -3, "OXLS-02300 セル指定値が不正です(\"A1\")。"},
        {"A1=", -3, "OXLS-02300 セル指定値が不正です(\"A1\")。"},
        {"A.B.C.D.E.F.G=1", -3, "OXLS-02211 ドット(.)で区切られたキーワードが多すぎます(\"A.B.C.D.E.F.G\")。"},
        {"A1.配置=斜め", -1, "OXLS-02405 配置(ALIGN)の指定内容が不正です(\"斜め\")。"},
        {"A1.フォント.スタイル=太字", -1, "OXLS-02403 フォント(FONT)の指定内容が不正です(\"太字\")。"},
        {"A1.フォント=強調", -3, "OXLS-02403 フォント(FONT)の指定内容が不正です(\"属性\")。"},
        {"A.幅=wide", -1, "OXLS-02300 セル指定値が不正です(\"wide\")。"},
        {"HELLO.幅=5", -3, "OXLS-02200 サポート外のキーワードです(\"HELLO.幅\")。"},
        {"1A.幅=5", -3, "OXLS-02305 変数名の形式が不正です(\"1A\")。"},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(OXLS_put_values(book.get(), c.values), c.code) << c.values;
        EXPECT_EQ(OXLS_error_code(book.get()), c.code) << c.values;
        EXPECT_EQ(message(), c.text) << c.values;
    }
}

TEST_F(WritePutValues, ProcessingStopsAtTheFirstBadItem) {
    EXPECT_EQ(OXLS_put_values(book.get(), "A1=kept B1.配置=nowhere C1=never"), -1);
    EXPECT_EQ(text(0, 0), "kept");
    EXPECT_EQ(book.get()->sst_count, 1);
    EXPECT_EQ(OXLS_put_values(book.get(), nullptr), 0);
    EXPECT_EQ(OXLS_error_code(book.get()), 0);
}

TEST_F(WritePutValues, OversizedRangesAreRefusedBeforeFillingMemory) {
    EXPECT_EQ(OXLS_put_values(book.get(), "A1:XFD1048576.配置=中"), -909);
    EXPECT_EQ(book.get()->sheets[0].row_count, 0);
}

TEST_F(WritePutValues, SheetPrefixAppliesToItsItemOnly) {
    ASSERT_EQ(ozw_add_sheet(book.get(), "Sheet1"), 0);
    ASSERT_EQ(ozw_add_sheet(book.get(), "明細"), 1);
    ASSERT_EQ(OXLS_put_values(book.get(), "明細!B2=there A1=here"), 0) << message();
    EXPECT_EQ(text(1, 1, 1), "there");
    EXPECT_EQ(text(0, 0, 0), "here");
}

TEST_F(WritePutValues, PutCellRefusesBadNamesAndOverlongValues) {
    EXPECT_EQ(OXLS_put_cell(book.get(), "A0", "x", 0), -3);
    EXPECT_EQ(message(), "OXLS-02300 セル指定値が不正です(\"A0\")。");
    std::string huge(65535, 'x');
    EXPECT_EQ(OXLS_put_cell(book.get(), "A1", huge.c_str(), 0), -909);
    EXPECT_EQ(message(), "OXLS-03009 バッファサイズ(\"65534\")オーバー(\"XLS_CELL_LEN\")。");
    huge.pop_back();
    EXPECT_EQ(OXLS_put_cell(book.get(), "A1", huge.c_str(), 0), 0);
    EXPECT_EQ(text(0, 0).size(), 32766u);
}

}  // namespace
