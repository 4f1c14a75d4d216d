// Comment parts and drawing parts: the texts of comments (with the cell
// they belong to) and of shapes, handed over for the sheet that owns the
// part.
#include "cell_name.h"
#include "xlsx/xlsx_elements.h"
#include "xlsx/xlsx_parts.h"
#include "xlsx/xml_scanner.h"
#include "xml_text.h"

namespace {

class NotesHandler : public XmlHandler {
public:
    NotesHandler(XlsxReadState &state, int kind, int sheet) : state_(state), kind_(kind), sheet_(sheet) {}

    int start(const XmlTag &tag, const XmlScanner &) override {
        if (opens_note(tag.id)) {
            note_ = SheetNote{};
            if (kind_ == PART_COMMENTS) place(tag.attributes);
        }
        return 0;
    }
    int end(const XmlTag &tag, const XmlScanner &) override {
        if (opens_note(tag.id)) {
            while (!note_.text.empty() && note_.text.back() == '\n') note_.text.pop_back();
            if (!note_.text.empty()) return state_.sink.note(state_.context, sheet_, std::move(note_));
        } else if (tag.id == EL_A_P && kind_ == PART_DRAWING && !note_.text.empty()) {
            note_.text += '\n';   // paragraphs of a shape's text, one per line
        }
        return 0;
    }
    int text(std::string_view raw, bool literal, const XmlScanner &scanner) override {
        bool wanted = kind_ == PART_COMMENTS
                          ? scanner.open_id() == EL_T && scanner.inside(EL_TEXT) && !scanner.inside(EL_RPH)
                          : scanner.open_id() == EL_A_T;
        if (!wanted) return 0;
        if (literal) note_.text.append(raw);
        else xml_decode_text(raw, note_.text);
        return 0;
    }

private:
    // True for the element that holds one note: a comment, or a shape's anchor.
    bool opens_note(int id) const {
        if (kind_ == PART_COMMENTS) return id == EL_COMMENT;
        return id == EL_XDR_TWO_CELL_ANCHOR || id == EL_XDR_ONE_CELL_ANCHOR;
    }

    void place(std::string_view attributes) {
        if (auto pos = ozw_parse_cell_name(xml_attribute(attributes, "ref"))) {
            note_.row = pos->row;
            note_.column = pos->column;
        }
    }

    XlsxReadState &state_;
    int kind_;
    int sheet_;
    SheetNote note_;
};

}  // namespace

int xlsx_parse_notes(XlsxReadState &state, int kind, int sheet_index, std::string_view text) {
    NotesHandler handler(state, kind, sheet_index < 0 ? 0 : sheet_index);
    XmlScanner scanner(xlsx_element_id);
    return scanner.scan(text, handler);
}
