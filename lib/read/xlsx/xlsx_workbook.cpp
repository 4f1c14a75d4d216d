// The workbook part: the list of sheets, in the order the book shows them.
#include "xlsx/xlsx_elements.h"
#include "xlsx/xlsx_parts.h"
#include "xlsx/xml_scanner.h"
#include "xml_text.h"

namespace {

class WorkbookHandler : public XmlHandler {
public:
    explicit WorkbookHandler(XlsxReadState &state) : state_(state) {}

    int start(const XmlTag &tag, const XmlScanner &) override {
        if (tag.id == EL_WORKBOOK_PR) return date_origin(tag.attributes);
        if (tag.id != EL_SHEET) return 0;
        std::string_view rest = tag.attributes, name, value;
        bool has_id = false;
        name_.clear();
        relationship_id_.clear();
        while (xml_next_attribute(rest, name, value)) {
            if (name == "name") xml_decode_entities(value, name_);
            else if (name == "sheetId") has_id = true;
            else if (is_relationship_id(name)) xml_decode_entities(value, relationship_id_);
        }
        // Sheets without an id or with an unusable name are not listed.
        if (!has_id || name_.empty() || name_.size() > XLS_SHEET_LEN) return 0;
        std::vector<std::string> &names = state_.context.sheet_names;
        names.push_back(name_);
        auto &ids = state_.sheet_relationship_ids;
        ids.resize(names.size());
        ids.back() = relationship_id_;
        return 0;
    }
    int end(const XmlTag &, const XmlScanner &) override { return 0; }
    int text(std::string_view, bool, const XmlScanner &) override { return 0; }

private:
    // The relationship id attribute: "id" in the relationships namespace,
    // whatever prefix the book gives that namespace ("r:id" as a rule).
    static bool is_relationship_id(std::string_view name) {
        return name.size() > 3 && name.substr(name.size() - 3) == ":id";
    }

    // Dates counted from 1904-01-01 are 1462 days later in the 1900 system.
    int date_origin(std::string_view rest) {
        std::string_view name, value;
        while (xml_next_attribute(rest, name, value))
            if (name == "date1904") state_.context.date_origin_days = value == "1" || value == "true" ? 1462 : 0;
        return 0;
    }

    XlsxReadState &state_;
    std::string name_;
    std::string relationship_id_;
};

}  // namespace

int xlsx_parse_workbook(XlsxReadState &state, std::string_view text) {
    WorkbookHandler handler(state);
    XmlScanner scanner(xlsx_element_id);
    return scanner.scan(text, handler);
}
