// The folder walk: depth first from the context's current folder, each
// folder's entries in name order.  It follows links to folders but enters
// each real folder once, skips hidden entries and everything that is not a
// plain file, picks the books by their name ending, filters them by the
// file-name keywords and hands each one to a book search.  A folder it
// cannot list is reported, never passed over in silence.  It stops before
// the next entry once the user cancels or the recorder says the search is
// over (the hit limit passed, or the result cannot be written).
#pragma once

#include "engine/book_kind.h"
#include "engine/front_end.h"
#include "engine/hit_recorder.h"
#include "engine/search_context.h"

namespace zscan {

// One book the walk found.
struct BookJob {
    std::string path;   // as the walk built it from the target folder
    BookKind kind = BookKind::NotABook;
};

// Searches the books of a walk; their hits, and why a book could not be
// searched, reach the search's recorder in walk order.
class BookSearch {
public:
    virtual ~BookSearch() = default;
    virtual void search_book(const BookJob &job) = 0;
};

void walk_folder(SearchContext &context, FrontEnd &front_end, BookSearch &books, HitRecorder &recorder);

}  // namespace zscan
