// A hit as the search hands it on: where it was found and which of the
// cell's texts the word was found in.
#pragma once

#include "engine/book_kind.h"

#include <string>
#include <string_view>

namespace zscan {

// Which text of a cell a word was found in: its display text, the text a
// spreadsheet program shows under its number format, or a date's form
// 2016/3/25.
enum class MatchedText { Display, Shown, Date };

// What holds the text a word was found in: the cell itself, the cell's
// formula as written, or a text outside the cells.  Hits at one cell come
// in this order.
enum class TextHolder { Cell, Formula, Comment, ThreadedComment, Shape, TextBox, ChartShape };

// The texts a search tests besides the cells' own.
struct TextsSearched {
    bool outside_cells = true;   // comments, threaded comments and the texts of shapes
    bool formulas = false;       // each cell's formula as written (=SUM(A1:A3))
};

// Where a hit was found, in the context's character set.
struct HitPlace {
    std::string_view book_path;     // as the walk built it
    std::string_view sheet_name;
    std::string_view cell_name;
    std::string_view link_path;     // the book's absolute path
    std::string_view folder_path;   // the absolute path of the book's folder
    BookKind kind = BookKind::Excel2007;
    TextHolder holder = TextHolder::Cell;
    std::string_view holder_name = {};   // a shape's name; empty when the book gives none
    int sheet = 0;                       // the sheet's index in the book
};

// The place as a hit line and the result book show it, in `charset`: the
// cell, then what holds the text when it is not the cell ("B3 コメント",
// "D10 図形 \"角丸四角形 3\"").
std::string place_text(int charset, const HitPlace &place);
// The holder as a JSON record names it ("comment", "text_box", ...).
std::string_view holder_key(TextHolder holder);

// A hit as it was recorded: its place, the text shown for it, and the line
// written for it to the text result.
struct RecordedHit {
    const HitPlace &place;
    std::string_view text;
    MatchedText matched;
    std::string_view line;
};

}  // namespace zscan
