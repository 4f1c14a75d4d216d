// The search of one book: reads its cells through the workbook library's
// cell reader, tests each cell's display text against the search words
// and hands the hits over in sheet, row and column order.
#pragma once

#include "engine/book_hits.h"
#include "engine/cell_matcher.h"
#include "engine/folder_walk.h"
#include "engine/hit_recorder.h"
#include "book_cells.h"

#include <optional>
#include <string>
#include <vector>

namespace zscan {

class WorkbookSearch {
public:
    // `matcher` is prepared for the words of the search; texts are in
    // `charset`, and books named by a relative path are linked from
    // `link_base_folder`.  An encrypted book is tried with the default
    // password, then with each of `passwords` (UTF-8).
    WorkbookSearch(CellMatcher &matcher, int charset, std::string link_base_folder,
                   const std::vector<std::string> &passwords);

    // Searches the book, handing its hits to `hits`.  Empty when the book
    // was searched (also when `hits` stopped it), else why it could not be.
    std::optional<NotSearched> search(const BookJob &job, HitTarget &hits);

private:
    int charset_;
    std::string link_base_folder_;
    BookHits book_hits_;
    BookCellReader reader_;
};

}  // namespace zscan
