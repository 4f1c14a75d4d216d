// Relationships between the parts of a package, and packages whose parts
// are not where Excel puts them.  The reader finds the workbook, shared
// strings and styles by their usual names (xl/workbook.xml, ...).  A
// package that keeps its workbook elsewhere is still readable through its
// relationships: the package's relationships name the workbook, and the
// workbook's relationships name its shared strings and styles.  Those parts
// are given the usual names.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

// Reads the text of the part with this name; false when there is none.
using PartTextReader = std::function<bool(std::string_view name, std::string_view &text)>;

// For each of `names`, the usual name it stands for, or an empty string
// when it keeps its own.  All empty when the package already has
// xl/workbook.xml or its relationships name no workbook.
std::vector<std::string> xlsx_usual_names(const std::vector<std::string_view> &names, const PartTextReader &read);

// The part a relationship target refers to, from the part that holds the
// relationship ("" for the package itself): "../x.xml" from
// "xl/worksheets/sheet1.xml" is "xl/x.xml"; "/xl/x.xml" is "xl/x.xml".
std::string xlsx_resolve_target(std::string_view source_part, std::string_view target);

// One relationship of a part: its id, its type (ending in /worksheet,
// /chartsheet, ...) and the part it names, resolved against the part that
// holds it.  External targets are left out.
struct XlsxRelationship {
    std::string id;
    std::string type;
    std::string part;
};

// The relationships of `part` ("" for the package itself), read from its
// relationships part; false when there is no such part.
bool xlsx_relationships(std::string_view part, const PartTextReader &read, std::vector<XlsxRelationship> &out);
