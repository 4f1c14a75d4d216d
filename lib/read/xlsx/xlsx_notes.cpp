// Comment parts, threaded comment parts and drawing parts: the texts of
// comments (with the cell they belong to) and of shapes (with the cell
// under their top-left corner), handed over for the sheet that owns the
// part.  These parts are looked up by their elements' local names with a
// table of their own, so that the worksheets' lookup does not grow.
//
// A part that is not well-formed gives the texts met before the fault and
// is passed over: the book's cells are what it is read for.
#include "cell_name.h"
#include "result_codes.h"
#include "xlsx/xlsx_parts.h"
#include "xlsx/xml_scanner.h"
#include "xml_text.h"

#include <algorithm>
#include <new>

namespace {

enum NoteElement {
    N_ANCHOR = 1,   // a shape's anchor in a drawing, or over a chart
    N_FROM, N_COL, N_ROW, N_SP, N_CNVPR, N_CNVSPPR, N_TX_BODY, N_P, N_BR, N_T,
    N_CHART, N_FALLBACK, N_COMMENT, N_THREADED_COMMENT, N_TEXT, N_RPH,
};

struct NoteName {
    std::string_view name;
    int id;
};

constexpr NoteName kNoteElements[] = {
    {"twoCellAnchor", N_ANCHOR}, {"oneCellAnchor", N_ANCHOR}, {"absoluteAnchor", N_ANCHOR},
    {"relSizeAnchor", N_ANCHOR}, {"absSizeAnchor", N_ANCHOR}, {"from", N_FROM}, {"col", N_COL},
    {"row", N_ROW}, {"sp", N_SP}, {"cNvPr", N_CNVPR}, {"cNvSpPr", N_CNVSPPR}, {"txBody", N_TX_BODY},
    {"p", N_P}, {"br", N_BR}, {"t", N_T}, {"chart", N_CHART}, {"Fallback", N_FALLBACK},
    {"comment", N_COMMENT}, {"threadedComment", N_THREADED_COMMENT}, {"text", N_TEXT}, {"rPh", N_RPH},
};

int note_element_id(std::string_view name) {
    const size_t colon = name.rfind(':');
    if (colon != std::string_view::npos) name.remove_prefix(colon + 1);
    for (const NoteName &e : kNoteElements)
        if (e.name == name) return e.id;
    return -1;
}

// What the handlers share: the sink's result, kept apart from the
// scanner's own faults.
class NoteHandler : public XmlHandler {
public:
    NoteHandler(XlsxReadState &state, int sheet) : state_(state), sheet_(sheet) {}

    // Scans the part; 0, out of memory, or what the sink returned.
    int run(std::string_view text) {
        XmlScanner scanner(note_element_id);
        const int rc = scanner.scan(text, *this);
        if (sink_rc_ != 0) return sink_rc_;
        return rc == OXLS_ERR_MEMORY ? rc : 0;
    }

protected:
    // Hands the note over unless its text is empty once trailing line
    // feeds are dropped.
    int hand_over(SheetNote &note) {
        while (!note.text.empty() && note.text.back() == '\n') note.text.pop_back();
        if (note.text.empty()) return 0;
        sink_rc_ = state_.sink.note(state_.context, sheet_, std::move(note));
        return sink_rc_;
    }
    static void append_text(std::string_view raw, bool literal, std::string &out) {
        if (literal) out.append(raw);
        else xml_decode_text(raw, out);
    }

    XlsxReadState &state_;
    int sheet_;

private:
    int sink_rc_ = 0;
};

// Comments and threaded comments: one note per comment element, at the
// cell its ref names.  A legacy comment on a cell that has a threaded
// comment is the threaded one's copy for older programs and is left out.
class CommentsHandler : public NoteHandler {
public:
    CommentsHandler(XlsxReadState &state, int sheet, bool threaded, std::vector<CellPos> &threaded_cells)
        : NoteHandler(state, sheet), threaded_(threaded), threaded_cells_(threaded_cells) {}

    int start(const XmlTag &tag, const XmlScanner &) override {
        if (tag.id != opening()) return 0;
        note_ = SheetNote{};
        note_.holder = threaded_ ? NoteHolder::ThreadedComment : NoteHolder::Comment;
        const std::optional<CellPos> cell = ozw_parse_cell_name(xml_attribute(tag.attributes, "ref"));
        in_comment_ = cell.has_value();
        if (!cell) return 0;
        note_.row = cell->row;
        note_.column = cell->column;
        if (threaded_) {
            threaded_cells_.push_back(*cell);
        } else {
            in_comment_ = std::find(threaded_cells_.begin(), threaded_cells_.end(), *cell) == threaded_cells_.end();
        }
        return 0;
    }
    int end(const XmlTag &tag, const XmlScanner &) override {
        if (tag.id != opening() || !in_comment_) return 0;
        in_comment_ = false;
        return hand_over(note_);
    }
    int text(std::string_view raw, bool literal, const XmlScanner &scanner) override {
        if (!in_comment_) return 0;
        // A legacy comment's text is in the <t> of its <text> (rich text
        // runs), never in phonetic runs; a threaded one's is <text> itself.
        const bool wanted = threaded_ ? scanner.open_id() == N_TEXT
                                      : scanner.open_id() == N_T && scanner.inside(N_TEXT) && !scanner.inside(N_RPH);
        if (wanted) append_text(raw, literal, note_.text);
        return 0;
    }

private:
    int opening() const { return threaded_ ? N_THREADED_COMMENT : N_COMMENT; }

    bool threaded_;
    std::vector<CellPos> &threaded_cells_;
    bool in_comment_ = false;
    SheetNote note_;
};

// A drawing part: each shape with a text body (in a group too) is one
// note, the runs of a paragraph joined and paragraphs joined by line
// feeds; charts shown in it are listed with their anchors.  The second
// of AlternateContent's choices (its Fallback) repeats the first and is
// passed over.
class DrawingHandler : public NoteHandler {
public:
    DrawingHandler(XlsxReadState &state, int sheet, const XlsxDrawingPlace &place, std::vector<XlsxChartFrame> &charts)
        : NoteHandler(state, sheet), place_(place), charts_(charts) {}

    int start(const XmlTag &tag, const XmlScanner &scanner) override {
        switch (tag.id) {
        case N_ANCHOR:
            anchor_ = CellPos{};
            break;
        case N_SP:
            in_shape_ = !scanner.inside(N_FALLBACK);
            shape_ = SheetNote{};
            shape_.holder = place_.over_chart ? NoteHolder::ChartShape : NoteHolder::Shape;
            break;
        case N_CNVPR:
            if (in_shape_ && shape_.name.empty())
                xml_decode_entities(xml_attribute(tag.attributes, "name"), shape_.name);
            break;
        case N_CNVSPPR:
            if (in_shape_ && !place_.over_chart && xml_attribute(tag.attributes, "txBox") == "1")
                shape_.holder = NoteHolder::TextBox;
            break;
        case N_CHART:
            if (!scanner.inside(N_FALLBACK)) {
                std::string_view id = xml_attribute(tag.attributes, "r:id");
                charts_.push_back({std::string(id), place()});
            }
            break;
        default: break;
        }
        return 0;
    }
    int end(const XmlTag &tag, const XmlScanner &scanner) override {
        if (!in_shape_) return 0;
        if ((tag.id == N_P || tag.id == N_BR) && scanner.inside(N_TX_BODY) && !shape_.text.empty()) {
            shape_.text += '\n';
        } else if (tag.id == N_SP) {
            in_shape_ = false;
            const CellPos cell = place();
            shape_.row = cell.row;
            shape_.column = cell.column;
            return hand_over(shape_);
        }
        return 0;
    }
    int text(std::string_view raw, bool literal, const XmlScanner &scanner) override {
        const int open = scanner.open_id();
        if (in_shape_ && open == N_T && scanner.inside(N_TX_BODY)) {
            append_text(raw, literal, shape_.text);
        } else if ((open == N_COL || open == N_ROW) && scanner.open_id(1) == N_FROM) {
            long long n = 0;
            const bool row = open == N_ROW;
            if (xml_unsigned(raw, row ? XLSX_ROW_LIMIT - 1 : XLSX_COLUMN_LIMIT - 1, n))
                (row ? anchor_.row : anchor_.column) = static_cast<int>(n);
        }
        return 0;
    }

private:
    CellPos place() const { return place_.fixed ? *place_.fixed : anchor_; }

    const XlsxDrawingPlace &place_;
    std::vector<XlsxChartFrame> &charts_;
    CellPos anchor_;
    bool in_shape_ = false;
    SheetNote shape_;
};

template <typename Parse>
int guarded(Parse parse) {
    try {
        return parse();
    } catch (const std::bad_alloc &) {
        return OXLS_ERR_MEMORY;
    }
}

}  // namespace

int xlsx_parse_comments(XlsxReadState &state, int sheet, std::string_view text, bool threaded,
                        std::vector<CellPos> &threaded_cells) {
    return guarded([&] { return CommentsHandler(state, sheet, threaded, threaded_cells).run(text); });
}

int xlsx_parse_drawing(XlsxReadState &state, int sheet, std::string_view text, const XlsxDrawingPlace &place,
                       std::vector<XlsxChartFrame> &charts) {
    return guarded([&] { return DrawingHandler(state, sheet, place, charts).run(text); });
}
