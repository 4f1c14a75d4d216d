// The texts outside the cells as both readers hand them to a sink: the
// comments, threaded comments and shapes of packages, the notes and
// text objects of Excel 97-2003 books, each at its cell with what holds
// it; and none for a sink that does not ask for them.
#include "book_cells.h"
#include "xls_test_books.h"
#include "xlsx_test_package.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Records each note as "sheet row,column holder name|text".
class NoteRecorder : public BookSink {
public:
    explicit NoteRecorder(bool wanted = true) : wanted_(wanted) {}
    int cell(const ReadContext &, const BookCell &) override {
        ++cells;
        return 0;
    }
    bool wants_notes() const override { return wanted_; }
    int note(const ReadContext &, int sheet, SheetNote &&note) override {
        static const char *const holders[] = {"comment", "threaded", "shape", "textbox", "chart"};
        seen.push_back(std::to_string(sheet) + " " + std::to_string(note.row) + "," + std::to_string(note.column) +
                       " " + holders[static_cast<int>(note.holder)] + " " + note.name + "|" + note.text);
        return 0;
    }
    std::vector<std::string> seen;
    int cells = 0;

private:
    bool wanted_;
};

// Reads the book of one cell with a sink that asks for notes, which must
// be `expected`, and with one that does not, which must get none.
void expect_notes(const std::string &path, const std::vector<std::string> &expected) {
    for (const bool wanted : {true, false}) {
        SCOPED_TRACE(wanted ? "notes asked for" : "notes not asked for");
        NoteRecorder recorder(wanted);
        EXPECT_EQ(BookCellReader().read(path.c_str(), recorder), 0);
        EXPECT_EQ(recorder.seen, wanted ? expected : std::vector<std::string>{});
        EXPECT_EQ(recorder.cells, 1);
    }
}

// ---- packages ----------------------------------------------------------------

const std::string &kRel = xlsx_test::kRelType;
const auto rels = xlsx_test::rels_part;

std::string shape(const std::string &name, const std::string &body, const std::string &shape_props = "") {
    return "<xdr:sp><xdr:nvSpPr><xdr:cNvPr id=\"2\" name=\"" + name + "\"/><xdr:cNvSpPr" + shape_props +
           "/></xdr:nvSpPr><xdr:txBody><a:bodyPr/>" + body + "</xdr:txBody></xdr:sp>";
}

std::string anchor(int column, int row, const std::string &inside) {
    return "<xdr:twoCellAnchor><xdr:from><xdr:col>" + std::to_string(column) + "</xdr:col><xdr:colOff>5</xdr:colOff>"
           "<xdr:row>" + std::to_string(row) + "</xdr:row></xdr:from><xdr:to><xdr:col>40</xdr:col><xdr:row>40"
           "</xdr:row></xdr:to>" + inside + "<xdr:clientData/></xdr:twoCellAnchor>";
}

std::string drawing(const std::string &anchors) {
    return "<xdr:wsDr xmlns:xdr=\"x\" xmlns:a=\"a\" xmlns:r=\"r\">" + anchors + "</xdr:wsDr>";
}

const std::string kChartFrame =
    "<xdr:graphicFrame><a:graphic><a:graphicData><c:chart xmlns:c=\"c\" r:id=\"rIdC\"/></a:graphicData></a:graphic>"
    "</xdr:graphicFrame>";

// A package of the sheets S1 (worksheet) and S2 (chart sheet) whose parts
// are named by `sheet1_rels` and `sheet2_rels`, with `parts` besides.
std::string package(TempFolder &folder, const std::string &name, const std::string &sheet1_rels,
                    const std::string &sheet2_rels, xlsx_test::Parts parts) {
    parts.insert(parts.end(), {
        {"[Content_Types].xml", xlsx_test::kContentTypes},
        {"xl/workbook.xml", xlsx_test::workbook_xml({"S1", "S2"})},
        {"xl/_rels/workbook.xml.rels", rels({{"rId1", kRel + "worksheet", "worksheets/sheet1.xml"},
                                              {"rId2", kRel + "chartsheet", "chartsheets/sheet1.xml"}})},
        {"xl/worksheets/sheet1.xml", xlsx_test::sheet_xml(xlsx_test::text_row(1, {"cell"}))},
        {"xl/worksheets/_rels/sheet1.xml.rels", sheet1_rels},
        {"xl/chartsheets/sheet1.xml", "<chartsheet/>"},
        {"xl/chartsheets/_rels/sheet1.xml.rels", sheet2_rels},
    });
    const std::string path = folder.file(name);
    EXPECT_TRUE(xlsx_test::write_package(path, parts));
    return path;
}

TEST(PackageNotes, EachTextAtItsCellWithWhatHoldsIt) {
    TempFolder folder;
    struct Case {
        const char *what;
        std::string sheet1_rels, sheet2_rels;
        xlsx_test::Parts parts;
        std::vector<std::string> expected;
    };
    const std::string comments_rel = kRel + "comments";
    const std::string threaded_rel = "http://schemas.microsoft.com/office/2017/10/relationships/threadedComment";
    const Case cases[] = {
        // Shapes at their anchors and a group's shapes at the group's are
        // found end to end by outside_cells_end_to_end.py.
        {"a text box's runs joined, empty paragraphs and breaks kept as line feeds; a shape without text is none",
         rels({{"rId1", kRel + "drawing", "../drawings/drawing1.xml"}}), rels({}),
         {{"xl/drawings/drawing1.xml",
           drawing(anchor(3, 9, shape("TextBox 1", "<a:p><a:r><a:t>a&amp;</a:t></a:r><a:r><a:t>b</a:t></a:r></a:p>"
                                                   "<a:p/><a:p><a:r><a:t>c</a:t></a:r><a:br/><a:r><a:t>d</a:t></a:r></a:p>",
                                      " txBox=\"1\"")) +
                   anchor(7, 7, shape("empty", "<a:p/>")))}},
         {"0 9,3 textbox TextBox 1|a&b\n\nc\nd"}},
        {"a comment's runs without their readings; a threaded comment once, its copy left out",
         rels({{"rId1", comments_rel, "../comments1.xml"}, {"rId2", threaded_rel, "../threadedComments/t1.xml"}}),
         rels({}),
         {{"xl/comments1.xml",
           "<comments><commentList><comment ref=\"B3\"><text><r><t>note</t></r><rPh><t>ノート</t></rPh><r><t> here</t>"
           "</r></text></comment><comment ref=\"C5\"><text><t>[Threaded comment] copy</t></text></comment>"
           "<comment ref=\"nowhere\"><text><t>lost</t></text></comment></commentList></comments>"},
          {"xl/threadedComments/t1.xml",
           "<ThreadedComments><threadedComment ref=\"C5\" id=\"1\"><text>first</text></threadedComment>"
           "<threadedComment ref=\"C5\" parentId=\"1\"><text>reply</text></threadedComment></ThreadedComments>"}},
         {"0 4,2 threaded |first", "0 4,2 threaded |reply", "0 2,1 comment |note here"}},
        // A chart sheet's shapes at A1 are found by outside_cells_end_to_end.py.
        {"shapes over a chart at the chart's cell; the Fallback copy of chart and shape is passed over",
         rels({{"rId1", kRel + "drawing", "../drawings/drawing1.xml"}}), rels({}),
         {{"xl/drawings/drawing1.xml",
           drawing("<mc:AlternateContent><mc:Choice>" + anchor(7, 1, kChartFrame) + "</mc:Choice><mc:Fallback>" +
                   anchor(8, 8, kChartFrame + shape("copy", "<a:p><a:r><a:t>copy</a:t></a:r></a:p>")) +
                   "</mc:Fallback></mc:AlternateContent>")},
          {"xl/drawings/_rels/drawing1.xml.rels", rels({{"rIdC", kRel + "chart", "../charts/chart1.xml"}})},
          {"xl/charts/_rels/chart1.xml.rels", rels({{"rId1", kRel + "chartUserShapes", "../drawings/drawing3.xml"}})},
          {"xl/drawings/drawing3.xml",
           "<c:userShapes xmlns:cdr=\"d\"><cdr:relSizeAnchor><cdr:from><cdr:x>0.5</cdr:x></cdr:from><cdr:sp><cdr:nvSpPr>"
           "<cdr:cNvPr name=\"Over\"/></cdr:nvSpPr><cdr:txBody><a:p><a:r><a:t>over chart</a:t></a:r></a:p>"
           "</cdr:txBody></cdr:sp></cdr:relSizeAnchor></c:userShapes>"}},
         {"0 1,7 chart Over|over chart"}},
        {"a drawing that is not well-formed gives the shapes before the fault; a part two sheets name is read once",
         rels({{"rId1", kRel + "drawing", "../drawings/drawing1.xml"}}),
         rels({{"rId1", kRel + "drawing", "../drawings/drawing1.xml"}}),
         {{"xl/drawings/drawing1.xml",
           drawing(anchor(0, 0, shape("ok", "<a:p><a:r><a:t>kept</a:t></a:r></a:p>"))) + "</a:p></xdr:wsDr>"}},
         {"0 0,0 shape ok|kept"}},
    };
    int n = 0;
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        expect_notes(package(folder, "book" + std::to_string(++n) + ".xlsx", c.sheet1_rels, c.sheet2_rels, c.parts),
                     c.expected);
    }
}

// ---- Excel 97-2003 books ---------------------------------------------------------

using namespace xlstest;

// An OfficeArt record: version and instance, type, then its bytes.
std::string art(uint16_t version_instance, uint16_t type, const std::string &body) {
    return le16(version_instance) + le16(type) + le32(static_cast<uint32_t>(body.size())) + body;
}

// The drawing record of one shape: its type, its name when given, and its
// client anchor's top-left cell.
std::string shape_drawing(uint16_t shape_type, const std::u16string &name, int column, int row) {
    std::string shape = art(static_cast<uint16_t>(shape_type << 4 | 2), 0xF00A, le32(1025) + le32(0));
    if (!name.empty()) {
        // A geometry array first, then the name: taken from the end.
        const std::string name_bytes = utf16le(name) + le16(0);
        shape += art(2 << 4 | 3, 0xF00B, le16(0xC145) + le32(4) + le16(0xC380) +
                                             le32(static_cast<uint32_t>(name_bytes.size())) + "\1\2\3\4\5\6\7\10\11\12" +
                                             name_bytes);
    }
    shape += art(0, 0xF010, le16(0) + le16(column) + le16(0) + le16(row) + le16(0) + le16(column + 2) + le16(0) +
                                le16(row + 2) + le16(0));
    return record(0x00EC, art(0xF, 0xF004, shape));
}

std::string obj(uint16_t kind, uint16_t id) {
    return record(0x005D, le16(0x15) + le16(0x12) + le16(kind) + le16(id) + std::string(14, '\0') + le32(0));
}

// TXO and its text, in 16-bit characters, or in two pieces (8-bit, then
// 16-bit) when `split`; then the formatting runs.
std::string text_object(const std::u16string &text, bool split = false) {
    std::string records = record(0x01B6, le16(0x12) + le16(0) + std::string(6, '\0') +
                                             le16(static_cast<uint16_t>(text.size())) + le16(16) + le32(0));
    if (split) {
        records += continue_record(std::string(1, '\0') + "ab") + continue_record("\1" + utf16le(text.substr(2)));
    } else {
        records += continue_record("\1" + utf16le(text));
    }
    return records + continue_record(std::string(16, '\0'));
}

std::string note(int row, int column, uint16_t id) {
    return record(0x001C, le16(row) + le16(column) + le16(0) + le16(id) + le16(1) + std::string(1, '\0') + "a");
}

TEST(XlsNotes, NotesTextBoxesAndShapesAtTheirCells) {
    struct Case {
        const char *what;
        std::string records;
        std::vector<std::string> expected;
    };
    const Case cases[] = {
        {"a note at its NOTE record's cell, its text from the TXO of its object",
         shape_drawing(202, u"", 5, 5) + obj(0x19, 7) + text_object(u"メモ\r") + note(2, 1, 7) + note(3, 3, 99),
         {"0 2,1 comment |メモ"}},
        {"a text box named in its properties, a shape drawn as a text box, text in two pieces",
         shape_drawing(1, u"箱 1", 3, 9) + obj(6, 2) + text_object(u"ab箱") + shape_drawing(202, u"", 1, 1) +
             obj(0x1E, 3) + text_object(u"abcd", true),
         {"0 9,3 textbox 箱 1|ab箱", "0 1,1 textbox |abcd"}},
        {"a shape inside an embedded chart stands at the chart's anchor",
         shape_drawing(0, u"", 7, 1) + obj(5, 1) + bof(0x0020) + shape_drawing(1, u"over", 30, 30) + obj(0x1E, 2) +
             text_object(u"over chart") + eof() + shape_drawing(1, u"", 2, 2) + obj(0x1E, 3) + text_object(u"after"),
         {"0 1,7 chart over|over chart", "0 2,2 shape |after"}},
        {"records cut short or claiming more than they hold are passed over",
         record(0x00EC, art(0, 0xF010, "\1\2")) + record(0x00EC, le16(0x33) + le16(0xF00B) + le32(0xFFFFFFF0)) +
             obj(0x1E, 1) + record(0x01B6, le16(0)) + continue_record("\1abc") + record(0x005D, "\x15") + note(1, 1, 1),
         {}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        TempFile file("notes.xls", compound_file({{u"Workbook", workbook("", {"S"}, {label16(0, 0, u"cell") + c.records})}}));
        expect_notes(file.path(), c.expected);
    }
}

}  // namespace
