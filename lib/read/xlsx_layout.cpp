// Finding the workbook, worksheets, shared strings and styles of a package
// through its relationships.
#include "read/xlsx_layout.h"

#include "read/xml_scanner.h"
#include "read/xml_text.h"

#include <algorithm>
#include <cstdio>

namespace {

constexpr std::string_view kWorkbook = "xl/workbook.xml";

struct Relationship {
    std::string type;     // ends in /officeDocument, /worksheet, ...
    std::string target;
};

bool ends_with(std::string_view text, std::string_view end) {
    return text.size() >= end.size() && text.substr(text.size() - end.size()) == end;
}

int no_id(std::string_view) { return -1; }

class RelationshipHandler : public XmlHandler {
public:
    std::vector<Relationship> relationships;

    int start(const XmlTag &tag, const XmlScanner &) override {
        if (tag.name != "Relationship" && !ends_with(tag.name, ":Relationship")) return 0;
        Relationship rel;
        bool external = false;
        std::string_view rest = tag.attributes, name, value;
        while (xml_next_attribute(rest, name, value)) {
            if (name == "Type") xml_decode_entities(value, rel.type);
            else if (name == "Target") xml_decode_entities(value, rel.target);
            else if (name == "TargetMode") external = value == "External";
        }
        if (!external && !rel.target.empty()) relationships.push_back(std::move(rel));
        return 0;
    }
    int end(const XmlTag &, const XmlScanner &) override { return 0; }
    int text(std::string_view, bool, const XmlScanner &) override { return 0; }
};

// The relationships part of a part: "a/b.xml" -> "a/_rels/b.xml.rels",
// the package itself ("") -> "_rels/.rels".
std::string relationships_part(std::string_view part) {
    size_t slash = part.rfind('/');
    std::string_view folder = slash == std::string_view::npos ? "" : part.substr(0, slash + 1);
    std::string_view file = slash == std::string_view::npos ? part : part.substr(slash + 1);
    return std::string(folder) + "_rels/" + std::string(file) + ".rels";
}

std::vector<Relationship> relationships_of(std::string_view part, const PartTextReader &read) {
    std::string_view text;
    RelationshipHandler handler;
    if (!read(relationships_part(part), text)) return {};
    XmlScanner scanner(no_id);
    scanner.scan(text, handler);
    return handler.relationships;
}

}  // namespace

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
    for (const Relationship &rel : relationships_of("", read))
        if (ends_with(rel.type, "/officeDocument")) workbook = xlsx_resolve_target("", rel.target);
    if (workbook.empty()) return usual;
    auto rename = [&](const std::string &part, const std::string &name) {
        for (size_t i = 0; i < names.size(); ++i)
            if (names[i] == part) usual[i] = name;
    };
    rename(workbook, std::string(kWorkbook));
    int worksheets = 0;
    for (const Relationship &rel : relationships_of(workbook, read)) {
        std::string part = xlsx_resolve_target(workbook, rel.target);
        if (ends_with(rel.type, "/worksheet")) {
            // Numbered so that byte order is relationship order.
            char name[40];
            std::snprintf(name, sizeof name, "xl/worksheets/sheet%06d.xml", ++worksheets);
            rename(part, name);
        } else if (ends_with(rel.type, "/sharedStrings")) {
            rename(part, "xl/sharedStrings.xml");
        } else if (ends_with(rel.type, "/styles")) {
            rename(part, "xl/styles.xml");
        }
    }
    return usual;
}
