// The search of one book: reads its cells through the workbook library's
// cell reader, tests each cell's display text against the search words
// and records the hits in sheet, row and column order.
#pragma once

#include "engine/book_hits.h"
#include "engine/cell_matcher.h"
#include "engine/folder_walk.h"
#include "engine/hit_recorder.h"
#include "book_cells.h"

namespace zscan {

class WorkbookSearch : public BookSearch {
public:
    // `matcher` is prepared for the words of the search.
    WorkbookSearch(CellMatcher &matcher, HitTarget &hits, int charset);

    int search_book(SearchContext &context, BookKind kind) override;

private:
    HitTarget &hits_;
    BookHits book_hits_;
    BookCellReader reader_;
};

}  // namespace zscan
