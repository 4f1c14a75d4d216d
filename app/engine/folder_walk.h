// The folder walk: depth first from the context's current folder, each
// folder's entries in name order.  It follows links to folders but enters
// each real folder once, skips hidden entries and everything that is not a
// plain file, picks the books by their name ending, filters them by the
// file-name keywords and hands each one to a book search.  It stops before the next entry once
// the user cancels, and ends every level once more hits than the limit
// have been found.
#pragma once

#include "engine/book_kind.h"
#include "engine/front_end.h"
#include "engine/search_context.h"

namespace zscan {

// Searches the book named by the context's current file.
class BookSearch {
public:
    virtual ~BookSearch() = default;
    // 0 when the book was searched (also when the hit limit stopped it),
    // -1 when it could not be opened.
    virtual int search_book(SearchContext &context, BookKind kind) = 0;
};

enum class WalkResult { Done, HitLimit };

WalkResult walk_folder(SearchContext &context, FrontEnd &front_end, BookSearch &books);

}  // namespace zscan
