// Parsing single package parts into the read context and, through the
// table sink, a book record: shared strings, worksheets (values, positions,
// bounds, namespaces), styles, the sheet list and notes.
#include "book_record.h"
#include "book_table_sink.h"
#include "result_codes.h"
#include "xlsx/xlsx_parts.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <tuple>
#include <vector>

namespace {

class XlsxParts : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(ozw_init_book(book(), BOOK_KIND_XLSX), 0);
        context_.book_kind = BOOK_KIND_XLSX;
        context_.styles = ozw_styles(book());
        context_.styles->xfs.clear();   // as the package reader starts
    }
    void TearDown() override { ozw_release_book(book()); }

    XLS_BOOK *book() { return book_.get(); }

    // Parses a worksheet into a new sheet; returns the parser's result.
    int worksheet(const std::string &xml) {
        context_.sheet_names.push_back("S");
        return xlsx_parse_worksheet(state_, static_cast<int>(context_.sheet_names.size()) - 1, xml);
    }
    XLS_SHEET &sheet(int i = 0) { return book()->sheets[i]; }
    const XLS_CELL *cell(int row, int column, int s = 0) {
        XLS_SHEET &sh = sheet(s);
        if (row >= sh.row_count || column >= sh.rows[row].cell_count) return nullptr;
        const XLS_CELL *c = &sh.rows[row].cells[column];
        return c->type < 0 && c->style == 0 ? nullptr : c;
    }
    std::string text(int row, int column) {
        const XLS_CELL *c = cell(row, column);
        return c && c->text ? c->text : "";
    }
    std::vector<std::string> shared_strings() const {
        std::vector<std::string> strings;
        for (size_t i = 0; i < context_.shared_strings.size(); ++i) strings.emplace_back(context_.shared_strings[i]);
        return strings;
    }

    std::unique_ptr<XLS_BOOK> book_ = std::make_unique<XLS_BOOK>();
    ReadContext context_;
    BookTableSink sink_{book_.get()};
    XlsxReadState state_{context_, sink_, book_.get(), {}};
};

TEST_F(XlsxParts, SharedStringsJoinRunsAndLeaveOutPhoneticReadings) {
    const char *xml =
        // An entity-expansion bomb: its entities are never defined for the
        // reader, so the references stay as written and nothing grows.
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?><!DOCTYPE x [<!ENTITY a \"aaaa\"><!ENTITY b \"&a;&a;&a;\">]>"
        "<sst xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\" count=\"999999999\" uniqueCount=\"2000000000\">"
        "<si><t>plain</t></si>"
        "<si><r><rPr><b/></rPr><t>ab</t></r><r><t xml:space=\"preserve\"> cd</t></r></si>"
        "<si><t>東京</t><rPh sb=\"0\" eb=\"2\"><t>トウキョウ</t></rPh><phoneticPr fontId=\"1\"/></si>"
        "<si/><si><t/></si>"
        "<si><t>a&amp;b_x000D_c&#10;</t></si>"
        "<si><t><![CDATA[<raw>&amp;]]></t></si>"
        "<x:si><x:t>prefixed</x:t></x:si><si><t>&b;</t></si>"
        "<si><r><rPr><t>in</t></rPr><t>run</t></r></si>"   // a text inside font properties is still kept
        "</sst>";
    ASSERT_EQ(xlsx_parse_shared_strings(state_, xml), 0);
    // One string per <si>, whatever the count attributes say.
    EXPECT_EQ(shared_strings(),
              (std::vector<std::string>{"plain", "ab cd", "東京", "", "", "a&b\rc\n", "<raw>&amp;", "prefixed", "&b;",
                                        "inrun"}));
}

// Strings after the first are read by the plain reader, which keeps the
// bound the general scan keeps on the first.
TEST_F(XlsxParts, SharedStringsAfterTheFirstKeepTheBoundOfACellText) {
    const std::string longest(XLS_CELL_UTF8_LEN, 'a');
    const std::string first = "<sst><si><t>x</t></si>";
    EXPECT_EQ(xlsx_parse_shared_strings(state_, first + "<si><t>" + longest + "</t></si></sst>"), 0);
    EXPECT_EQ(xlsx_parse_shared_strings(state_, first + "<si><r><t>" + longest + "</t></r><r><t>b</t></r></si></sst>"),
              OZW_LIMIT_REACHED);
    EXPECT_EQ(context_.shared_strings.size(), 3u);
}

TEST_F(XlsxParts, CellValuesByType) {
    const char *xml =
        "<worksheet><sheetData><row r=\"2\">"
        "<c r=\"B2\" t=\"s\"><v>3</v></c>"
        "<c t=\"str\"><f>A1&amp;\"x\"</f><v>ab</v></c>"
        "<c><v>12</v></c>"
        "<c><v>12.50</v></c>"
        "<c><v>1E+20</v></c>"
        "<c t=\"e\"><f>1/0</f><v>#DIV/0!</v></c>"
        "<c t=\"b\"><v>1</v></c><c t=\"b\"><v>0</v></c>"
        "<c t=\"inlineStr\"><is><r><t>in</t></r><r><t>line</t></r><rPh><t>yomi</t></rPh></is></c>"
        "<c><f>SUM(A1)</f></c>"
        "<c t=\"n\"><v>-0.125</v></c>"
        "<c><v>1.5E-5</v></c>"
        "<c><v>abc</v></c>"
        "<c t=\"s\"><v/></c>"
        "<c t=\"str\"><f>\"\"</f><v></v></c>"
        "</row></sheetData></worksheet>";
    ASSERT_EQ(worksheet(xml), 0);
    ASSERT_NE(cell(1, 1), nullptr);
    EXPECT_EQ(cell(1, 1)->type, XLS_CELL_SHARED_STRING);
    EXPECT_EQ(cell(1, 1)->number, 3) << "t=s refers to the fourth shared string";
    // The digits after the point are kept; a value without a point is a
    // whole number; a value that is no number stays findable as text; a
    // formula yielding an empty text is an empty text.
    const struct {
        int column, type;
        const char *text;
    } expected[] = {{2, XLS_CELL_TEXT, "ab"}, {3, XLS_CELL_INTEGER, "12"}, {4, XLS_CELL_DECIMAL, "12.50"},
                    {5, XLS_CELL_INTEGER, "1"}, {6, XLS_CELL_TEXT, "#DIV/0!"}, {7, XLS_CELL_TEXT, "TRUE"},
                    {8, XLS_CELL_TEXT, "FALSE"}, {9, XLS_CELL_TEXT, "inline"}, {10, XLS_CELL_FORMULA, ""},
                    {11, XLS_CELL_DECIMAL, "-0.125"}, {12, XLS_CELL_DECIMAL, "0.000015"}, {13, XLS_CELL_TEXT, "abc"},
                    {15, XLS_CELL_TEXT, ""}};
    for (const auto &e : expected) {
        ASSERT_NE(cell(1, e.column), nullptr) << e.column;
        EXPECT_EQ(cell(1, e.column)->type, e.type) << e.column;
        EXPECT_EQ(text(1, e.column), e.text) << e.column;
    }
    EXPECT_STREQ(cell(1, 2)->formula, "A1&\"x\"");
    EXPECT_STREQ(cell(1, 2)->extra, "t=\"str\"") << "kept so that a saved book says t=\"str\" again";
    EXPECT_STREQ(cell(1, 10)->formula, "SUM(A1)");
    EXPECT_EQ(cell(1, 14), nullptr) << "an empty shared-string value is no cell";
}

TEST_F(XlsxParts, CellsWithoutNamesFollowThePreviousCellAndRow) {
    const char *xml =
        "<worksheet><sheetData>"
        "<row><c><v>1</v></c><c><v>2</v></c></row>"
        "<row r=\"4\"><c r=\"C4\"><v>3</v></c><c><v>4</v></c></row>"
        "<row><c><v>5</v></c></row>"
        "</sheetData></worksheet>";
    ASSERT_EQ(worksheet(xml), 0);
    for (const auto &[row, column, value] : {std::tuple{0, 0, "1"}, {0, 1, "2"}, {3, 2, "3"}, {3, 3, "4"}, {4, 0, "5"}})
        EXPECT_EQ(text(row, column), value) << row << "," << column;
    EXPECT_EQ(sheet().row_count, 5);
}

TEST_F(XlsxParts, FarAwayCellsInEveryRowExhaustTheAllowance) {
    // Ten thousand rows of a few bytes, each naming a cell at column XFD,
    // would ask for 160 million cell records: the read is refused early.
    std::string xml = "<worksheet><sheetData>";
    for (int r = 1; r <= 10000; ++r) xml += "<row r=\"" + std::to_string(r) + "\"><c r=\"XFD" + std::to_string(r) + "\"><v>1</v></c></row>";
    xml += "</sheetData></worksheet>";
    EXPECT_EQ(worksheet(xml), -2);
    EXPECT_LT(sheet().row_count, 400);
}

TEST_F(XlsxParts, StylesTakeOnlyTheMainListsAndTypeDateCells) {
    const char *styles =
        "<styleSheet><numFmts count=\"2\"><numFmt numFmtId=\"164\" formatCode=\"yyyy&quot;年&quot;m&quot;月&quot;d&quot;日&quot;\"/>"
        "<numFmt numFmtId=\"165\" formatCode='0.00%'/></numFmts>"
        "<fonts count=\"2\"><font><sz val=\"11\"/></font><font><b/></font></fonts>"
        "<cellStyleXfs count=\"1\"><xf numFmtId=\"0\" fontId=\"0\"/></cellStyleXfs>"
        "<cellXfs count=\"4\"><xf numFmtId=\"0\" fontId=\"0\" xfId=\"0\"/><xf numFmtId=\"14\" fontId=\"1\" applyNumberFormat=\"1\"/>"
        "<xf xfId=\"0\" numFmtId=\"164\"/><xf numFmtId=\"22\"/></cellXfs>"
        "<dxfs count=\"1\"><dxf><font><b/></font><numFmt numFmtId=\"166\" formatCode=\"0\"/><fill><patternFill/></fill></dxf></dxfs>"
        "</styleSheet>";
    book()->flags[OXLS_FLAG_KEEP_STYLES] = 0;
    StyleTables *tables = ozw_styles(book());
    tables->fonts.clear();
    tables->number_formats.clear();
    ASSERT_EQ(xlsx_parse_styles(state_, styles), 0);
    // The cell-style list, the initial formats and the differential styles
    // hold no cell formats, number formats or fonts of the book.
    EXPECT_EQ(tables->xfs.size(), 4u);
    ASSERT_EQ(tables->number_formats.size(), 2u);
    EXPECT_EQ(tables->number_formats[0].code, "yyyy\"年\"m\"月\"d\"日\"");
    EXPECT_EQ(tables->fonts.size(), 2u);

    ASSERT_EQ(worksheet("<worksheet><sheetData><row r=\"1\"><c r=\"A1\" s=\"1\"><v>42454</v></c>"
                        "<c r=\"B1\" s=\"2\"><v>42454</v></c><c r=\"C1\" s=\"3\"><v>42454.5</v></c>"
                        "<c r=\"D1\" s=\"99\"><v>42454</v></c><c r=\"E1\" s=\"2\"/></row></sheetData></worksheet>"),
              0);
    EXPECT_EQ(cell(0, 0)->type, XLS_CELL_DATE);
    EXPECT_EQ(cell(0, 1)->type, XLS_CELL_DATE);
    EXPECT_EQ(cell(0, 2)->type, XLS_CELL_DATE_TIME);
    EXPECT_EQ(cell(0, 3)->type, XLS_CELL_INTEGER) << "a style outside the table leaves a number";
    ASSERT_NE(cell(0, 4), nullptr) << "a styled empty cell keeps its style";
    EXPECT_EQ(cell(0, 4)->type, XLS_CELL_EMPTY);
    EXPECT_EQ(cell(0, 4)->style, 2u);
}

TEST_F(XlsxParts, DatesOfBooksCountingFrom1904MoveToThe1900System) {
    ASSERT_EQ(xlsx_parse_workbook(state_, "<workbook><workbookPr date1904=\"1\"/><sheets/></workbook>"), 0);
    ASSERT_EQ(xlsx_parse_styles(state_, "<styleSheet><cellXfs><xf numFmtId=\"0\"/><xf numFmtId=\"14\"/>"
                                        "<xf numFmtId=\"21\"/></cellXfs></styleSheet>"),
              0);
    ASSERT_EQ(worksheet("<worksheet><sheetData><row r=\"1\"><c r=\"A1\" s=\"1\"><v>0</v></c>"
                        "<c r=\"B1\" s=\"2\"><v>0.5</v></c><c r=\"C1\"><v>7</v></c>"
                        "<c r=\"D1\" t=\"d\"><v>2016-03-25</v></c></row></sheetData></worksheet>"),
              0);
    EXPECT_EQ(cell(0, 0)->number, 1462) << "1904-01-01";
    EXPECT_EQ(cell(0, 1)->number, 0) << "a time of day alone stays";
    EXPECT_EQ(text(0, 2), "7") << "plain numbers stay";
    EXPECT_EQ(cell(0, 3)->type, XLS_CELL_DATE);
    EXPECT_EQ(cell(0, 3)->number, 42454) << "written dates carry their own calendar date";
}

}  // namespace
