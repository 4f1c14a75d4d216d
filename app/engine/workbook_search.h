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
    // `charset`, `texts` says which are tested besides the cells', and
    // books named by a relative path are linked from `link_base_folder`.
    // An encrypted book is tried with the default password, then with each
    // of `passwords` (UTF-8).
    WorkbookSearch(CellMatcher &matcher, int charset, TextsSearched texts, std::string link_base_folder,
                   const std::vector<std::string> &passwords);

    // Searches the book, handing its hits to `hits`.  Empty when the book
    // was searched (also when `hits` stopped it), else why it could not be.
    std::optional<NotSearched> search(const BookJob &job, HitTarget &hits);
    // The same for a book whose file was read whole beforehand: `read_rc`
    // is that read's result, `bytes` what it read.  Only the sheets of
    // share `share` of `shares` are searched (every `shares`-th sheet from
    // `share` on), so that several workers can search one large book.
    std::optional<NotSearched> search_read(const BookJob &job, int read_rc, std::string_view bytes, int share,
                                           int shares, HitTarget &hits);
    // Gives back each buffer the reader keeps that holds more than `most`
    // bytes.
    void release_above(size_t most) { reader_.release_above(most); }

private:
    // Hands the hits of the book just read, with result `rc`, to `hits`.
    std::optional<NotSearched> record_hits(const BookJob &job, int rc, HitTarget &hits);

    int charset_;
    std::string link_base_folder_;
    BookHits book_hits_;
    BookCellReader reader_;
};

}  // namespace zscan
