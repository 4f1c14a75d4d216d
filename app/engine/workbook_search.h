// The search of one book: opens it read-only through the workbook
// library, tests the display text of every cell of every sheet against the
// search words and records each hit.
#pragma once

#include "engine/cell_matcher.h"
#include "engine/folder_walk.h"
#include "engine/hit_recorder.h"

#include <memory>
#include <string>
#include <vector>

namespace zscan {

class WorkbookSearch : public BookSearch {
public:
    WorkbookSearch(CellMatcher &matcher, HitTarget &hits);
    ~WorkbookSearch() override;

    int search_book(SearchContext &context, BookKind kind) override;

private:
    // Scans the rows of the book's current sheet; false when the hit limit
    // stopped the search.
    bool search_sheet(const XLS_SHEET &sheet, const HitPlace &sheet_place);
    // The display text of a cell into text_; false when it cannot be had.
    bool cell_text(const char *cell_name);
    // Number of leading columns of the row worth testing.
    int trimmed_width(int row, const XLS_ROW &cells);

    CellMatcher &matcher_;
    HitTarget &hits_;
    std::unique_ptr<XLS_BOOK> book_;
    std::vector<char> text_;
};

}  // namespace zscan
