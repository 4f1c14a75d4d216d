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
#include "xlsx/xml_scanner.h"
#include "xml_text.h"

namespace {

class SharedStringsHandler : public XmlHandler {
public:
    SharedStringsHandler(SharedStrings &strings, XLS_BOOK *report) : strings_(strings), report_(report) {}

    int start(const XmlTag &tag, const XmlScanner &) override {
        if (tag.id == EL_SI) text_.clear();
        return 0;
    }
    int end(const XmlTag &tag, const XmlScanner &) override {
        if (tag.id != EL_SI) return 0;
        return strings_.add(text_);
    }
    int text(std::string_view raw, bool literal, const XmlScanner &scanner) override {
        if (scanner.open_id() != EL_T || !scanner.inside(EL_SI) || scanner.inside(EL_RPH)) return 0;
        if (literal) text_.append(raw);
        else xml_decode_text(raw, text_);
        if (text_.size() > XLS_CELL_UTF8_LEN)
            return ozw_set_error(report_, OZW_LIMIT_REACHED, OXLS_03009, XLS_CELL_UTF8_LEN, "ozw_put_sst() XLS_CELL_UTF8_LEN");
        return 0;
    }

private:
    SharedStrings &strings_;
    XLS_BOOK *report_;
    std::string text_;
};

}  // namespace

int xlsx_parse_shared_strings(XlsxReadState &state, std::string_view text) {
    SharedStringsHandler handler(state.context.shared_strings, state.report);
    XmlScanner scanner(xlsx_element_id);
    return scanner.scan(text, handler);
}
