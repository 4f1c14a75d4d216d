// Relationships of parts, and finding the workbook, shared strings and
// styles of a package through them.
#include "xlsx/xlsx_layout.h"

#include "xlsx/xml_scanner.h"
#include "xml_text.h"

#include <algorithm>

namespace {

constexpr std::string_view kWorkbook = "xl/workbook.xml";

bool ends_with(std::string_view text, std::string_view end) {
    return text.size() >= end.size() && text.substr(text.size() - end.size()) == end;
}

int no_id(std::string_view) { return -1; }

class RelationshipHandler : public XmlHandler {
public:
    explicit RelationshipHandler(std::string_view source) : source_(source) {}
    std::vector<XlsxRelationship> relationships;

    int start(const XmlTag &tag, const XmlScanner &) override {
        if (tag.name != "Relationship" && !ends_with(tag.name, ":Relationship")) return 0;
        XlsxRelationship rel;
        std::string target;
        bool external = false;
        std::string_view rest = tag.attributes, name, value;
        while (xml_next_attribute(rest, name, value)) {
            if (name == "Id") xml_decode_entities(value, rel.id);
            else if (name == "Type") xml_decode_entities(value, rel.type);
            else if (name == "Target") xml_decode_entities(value, target);
            else if (name == "TargetMode") external = value == "External";
        }
        if (external || target.empty()) return 0;
        rel.part = xlsx_resolve_target(source_, target);
        relationships.push_back(std::move(rel));
        return 0;
    }
    int end(const XmlTag &, const XmlScanner &) override { return 0; }
    int text(std::string_view, bool, const XmlScanner &) override { return 0; }

private:
    std::string_view source_;
};

// The relationships part of a part: "a/b.xml" -> "a/_rels/b.xml.rels",
// the package itself ("") -> "_rels/.rels".
std::string relationships_part(std::string_view part) {
    size_t slash = part.rfind('/');
    std::string_view folder = slash == std::string_view::npos ? "" : part.substr(0, slash + 1);
    std::string_view file = slash == std::string_view::npos ? part : part.substr(slash + 1);
    return std::string(folder) + "_rels/" + std::string(file) + ".rels";
}

std::vector<XlsxRelationship> relationships_of(std::string_view part, const PartTextReader &read) {
    std::vector<XlsxRelationship> relationships;
    xlsx_relationships(part, read, relationships);
    return relationships;
}

}  // namespace

bool xlsx_relationships(std::string_view part, const PartTextReader &read, std::vector<XlsxRelationship> &out) {
    std::string_view text;
    out.clear();
    if (!read(relationships_part(part), text)) return false;
    RelationshipHandler handler(part);
    XmlScanner scanner(no_id);
    scanner.scan(text, handler);
    out = std::move(handler.relationships);
    return true;
}

std::string xlsx_resolve_target(std::string_view source_part, std::string_view target) {
    std::string path;
    if (!target.empty() && target[0] == '/') {
        path = std::string(target.substr(1));
    } else {
        size_t slash = source_part.rfind('/');
        path = std::string(slash == std::string_view::npos ? "" : source_part.substr(0, slash + 1));
        path += target;
    }
    // Fold "." and ".." steps.
    std::vector<std::string> steps;
    size_t from = 0;
    while (from <= path.size()) {
        size_t to = std::min(path.find('/', from), path.size());
        std::string step = path.substr(from, to - from);
        if (step == "..") {
            if (!steps.empty()) steps.pop_back();
        } else if (!step.empty() && step != ".") {
            steps.push_back(step);
        }
        from = to + 1;
    }
    std::string resolved;
    for (const std::string &step : steps) resolved += (resolved.empty() ? "" : "/") + step;
    return resolved;
}

std::vector<std::string> xlsx_usual_names(const std::vector<std::string_view> &names, const PartTextReader &read) {
    std::vector<std::string> usual(names.size());
    if (std::find(names.begin(), names.end(), kWorkbook) != names.end()) return usual;
    std::string workbook;
    for (const XlsxRelationship &rel : relationships_of("", read))
        if (ends_with(rel.type, "/officeDocument")) workbook = rel.part;
    if (workbook.empty()) return usual;
    auto rename = [&](const std::string &part, const std::string &name) {
        for (size_t i = 0; i < names.size(); ++i)
            if (names[i] == part) usual[i] = name;
    };
    rename(workbook, std::string(kWorkbook));
    for (const XlsxRelationship &rel : relationships_of(workbook, read)) {
        if (ends_with(rel.type, "/sharedStrings")) rename(rel.part, "xl/sharedStrings.xml");
        else if (ends_with(rel.type, "/styles")) rename(rel.part, "xl/styles.xml");
    }
    return usual;
}
