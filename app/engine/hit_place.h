// A hit as the search hands it on: where it was found and which of the
// cell's texts the word was found in.
#pragma once

#include "engine/book_kind.h"

#include <string_view>

namespace zscan {

// Which text of a cell a word was found in: its display text, the text a
// spreadsheet program shows under its number format, or a date's form
// 2016/3/25.
enum class MatchedText { Display, Shown, Date };

// Where a hit was found, in the context's character set.
struct HitPlace {
    std::string_view book_path;     // as the walk built it
    std::string_view sheet_name;
    std::string_view cell_name;
    std::string_view link_path;     // the book's absolute path
    std::string_view folder_path;   // the absolute path of the book's folder
    BookKind kind = BookKind::Excel2007;
};

// A hit as it was recorded: its place, the text shown for it, and the line
// written for it to the text result.
struct RecordedHit {
    const HitPlace &place;
    std::string_view text;
    MatchedText matched;
    std::string_view line;
};

}  // namespace zscan
