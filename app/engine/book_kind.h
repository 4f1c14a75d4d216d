// Which files are books, and which books the file-name keywords let
// through.  Both look at the upper-cased file name.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace zscan {

enum class BookKind { NotABook, Excel2007, Excel2007Macro, Excel2003 };

// The kind told by the end of the upper-cased name: ".XLSX", ".XLSM" or
// ".XLS"; anything else is no book.
BookKind book_kind(std::string_view upper_name);

// With no keywords every book passes; otherwise the upper-cased name must
// hold at least one keyword as a byte substring.  Keywords are compared
// without regard to the letter case of a-z.
bool passes_file_name_keywords(int charset, std::string_view upper_name,
                               const std::vector<std::string> &keywords);

}  // namespace zscan
