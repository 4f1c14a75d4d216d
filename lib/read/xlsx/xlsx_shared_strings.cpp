// The shared-strings part: one string per <si>, made of its <t> texts in
// order (plain or in rich-text runs).  Phonetic readings (<rPh>) are not
// part of the text.  A string longer than the longest cell text
// (XLS_CELL_UTF8_LEN bytes) is refused: no real book holds one, and a
// hostile one referred to by every cell would multiply the work of reading
// the book.
#include "messages.h"
#include "result_codes.h"
#include "xlsx/xlsx_elements.h"
#include "xlsx/xlsx_parts.h"
#include "xlsx/xml_plain_tag.h"
#include "xlsx/xml_scanner.h"
#include "xml_text.h"

namespace {

class SharedStringsHandler : public XmlHandler {
public:
    SharedStringsHandler(SharedStrings &strings, XLS_BOOK *report, std::string_view part, XmlScanner &scanner)
        : strings_(strings), report_(report), part_(part), scanner_(scanner) {}

    // What stopped the plain reading of the strings, when a string failed.
    int failure() const { return failure_; }

    int start(const XmlTag &tag, const XmlScanner &) override {
        if (tag.id == EL_SI) text_.clear();
        return 0;
    }
    int end(const XmlTag &tag, const XmlScanner &) override {
        if (tag.id != EL_SI) return 0;
        if (int rc = strings_.add(text_)) return rc;
        // The strings after one the scan had to read are mostly plain again.
        scanner_.skip_to(read_plain_strings(tag.end));
        return 0;
    }
    int text(std::string_view raw, bool literal, const XmlScanner &scanner) override {
        if (scanner.open_id() != EL_T || !scanner.inside(EL_SI) || scanner.inside(EL_RPH)) return 0;
        return append(raw, literal);
    }

private:
    int append(std::string_view raw, bool literal) {
        if (literal) text_.append(raw);
        else xml_decode_text(raw, text_);
        if (text_.size() > XLS_CELL_UTF8_LEN)
            return ozw_set_error(report_, OZW_LIMIT_REACHED, OXLS_03009, XLS_CELL_UTF8_LEN, "ozw_put_sst() XLS_CELL_UTF8_LEN");
        return 0;
    }

    // Reads the <si> elements from `at` on for as long as they have the
    // plain shape producers write: <t> texts, <r> runs of an <rPr> and a
    // <t>, <rPh> readings and empty elements such as <phoneticPr/>, with no
    // prefixes, comments or CDATA.  Each string is taken exactly as the
    // general scan takes it.  Returns where the general scan goes on: the
    // first markup of another shape (a string is then left whole to it);
    // the end of the text when a string failed.
    size_t read_plain_strings(size_t at) {
        XmlPlainTag tag;
        for (;;) {
            const size_t lt = xml_next_tag(part_, at);
            if (lt == std::string_view::npos) return at;
            if (!xml_plain_tag(part_, lt, tag) || tag.closing || tag.name != "si") return lt;
            text_.clear();
            int rc = 0;
            const size_t end = tag.empty ? tag.end : read_plain_children(tag.end, "si", true, rc);
            if (rc == 0 && end != std::string_view::npos) rc = strings_.add(text_);
            if (rc) {
                failure_ = rc;   // the scan ends here with this result
                return part_.size();
            }
            if (end == std::string_view::npos) return lt;
            at = end;
        }
    }

    // The children of an <si>, <r>, <rPr> or <rPh> from `at` up to its end
    // tag `</name>`: <t> texts, joined into text_ when `kept` (outside a
    // phonetic reading), runs and readings in a string, font properties in
    // a run, and empty elements.  The offset after the end tag, or npos
    // when the content has another shape.
    size_t read_plain_children(size_t at, std::string_view name, bool kept, int &rc) {
        XmlPlainTag tag;
        for (;;) {
            const size_t lt = xml_next_tag(part_, at);
            if (lt == std::string_view::npos || !xml_plain_tag(part_, lt, tag)) return std::string_view::npos;
            if (tag.closing) return tag.name == name ? tag.end : std::string_view::npos;
            if (tag.name == "si") return std::string_view::npos;
            if (tag.empty) {
                at = tag.end;
            } else if (tag.name == "t") {
                at = read_plain_text(tag, kept, rc);
            } else if (name == "si" && (tag.name == "r" || tag.name == "rPh")) {
                at = read_plain_children(tag.end, tag.name, tag.name == "r", rc);
            } else if (name == "r" && tag.name == "rPr") {
                at = read_plain_children(tag.end, tag.name, kept, rc);
            } else {
                return std::string_view::npos;
            }
            if (at == std::string_view::npos || rc) return std::string_view::npos;
        }
    }

    // A <t> holding text alone, joined into text_ when `kept`.
    size_t read_plain_text(const XmlPlainTag &tag, bool kept, int &rc) {
        std::string_view content;
        const size_t end = xml_plain_element_text(part_, tag, content);
        if (end != std::string_view::npos && kept) rc = append(content, false);
        return end;
    }

    SharedStrings &strings_;
    XLS_BOOK *report_;
    std::string_view part_;
    XmlScanner &scanner_;
    std::string text_;
    int failure_ = 0;
};

}  // namespace

int xlsx_parse_shared_strings(XlsxReadState &state, std::string_view text) {
    XmlScanner scanner(xlsx_element_id);
    SharedStringsHandler handler(state.context.shared_strings, state.report, text, scanner);
    const int rc = scanner.scan(text, handler);
    return rc ? rc : handler.failure();
}
