#include "engine/book_kind.h"

#include "engine/path_text.h"

namespace zscan {

BookKind book_kind(std::string_view upper_name) {
    if (upper_name.ends_with(".XLSX")) return BookKind::Excel2007;
    if (upper_name.ends_with(".XLSM")) return BookKind::Excel2007Macro;
    if (upper_name.ends_with(".XLS")) return BookKind::Excel2003;
    return BookKind::NotABook;
}

bool passes_file_name_keywords(int charset, std::string_view upper_name,
                               const std::vector<std::string> &keywords) {
    if (keywords.empty()) return true;
    for (const std::string &keyword : keywords) {
        if (upper_name.find(upper_ascii(charset, keyword)) != std::string_view::npos) return true;
    }
    return false;
}

}  // namespace zscan
