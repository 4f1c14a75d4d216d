// Several books searched at once.  The walk hands the books over in its
// order; reading threads read their files ahead, whole, as far as the
// memory budget lets them, so that waiting on a slow share does not idle
// the cores; worker threads search the books read, each with its own
// matcher and its own book, and keep their hits.  The hits of each book are then recorded on
// the walking thread in walk order, so that the lines, the result book and
// the hit limit come out exactly as when the books are searched one after
// another.  Once the user cancels or the limit is passed, no further book
// is started; the books being read are finished and, when they come before
// the stop, recorded.
#pragma once

#include "engine/folder_walk.h"
#include "engine/hit_recorder.h"
#include "engine/memory_budget.h"

#include <atomic>
#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace zscan {

class ParallelBookSearch : public BookSearch {
public:
    // `workers` threads search books from the walk of `context`; their
    // hits go to `recorder`.  The context's words have been checked.
    ParallelBookSearch(SearchContext &context, FrontEnd &front_end, HitRecorder &recorder,
                       int workers);
    // Records every book handed over and not yet recorded, then ends the
    // workers.
    ~ParallelBookSearch() override;
    ParallelBookSearch(const ParallelBookSearch &) = delete;
    ParallelBookSearch &operator=(const ParallelBookSearch &) = delete;

    // Queues the book.  Records the books ahead of it that are done, and
    // waits for the oldest one while too many are queued.
    void search_book(const BookJob &job) override;
    // Records every queued book in walk order once it is done.
    void finish();

private:
    struct Hit {
        int sheet;
        std::string sheet_name;
        std::string cell_name;
        std::string text;
        MatchedText matched;
        TextHolder holder;
        std::string holder_name;
    };
    // What searching a book, or a share of its sheets, found.
    struct Found {
        bool searched = false;   // false for a book left out once the search stopped
        std::string link_path;
        std::string folder_path;
        std::vector<Hit> hits;
        std::optional<NotSearched> problem;
    };
    struct Book {
        enum Stage { WAITING, READING, READ, SEARCHING };
        BookJob job;
        Stage stage = WAITING;   // guarded by mutex_
        bool done = false;
        // A large package taken last is searched by several workers, each
        // taking a share of its sheets; guarded by mutex_.
        int shares = 1;
        int shares_taken = 0;
        int shares_left = 1;
        Found found;             // the shares' findings together; guarded by mutex_
        // The file's bytes read ahead, the read's result, whether they are a
        // package, and the memory taken from the budget for the book's
        // search.
        std::string bytes;
        int read_rc = 0;
        bool package = false;
        size_t budget_taken = 0;
    };
    class Worker;

    // Waits until the oldest queued book is done, then records it.
    void record_oldest();
    // Takes the first book to read in walk order; null once the search is
    // over.
    std::shared_ptr<Book> next_to_read();
    // Takes a share of the first book read and not yet taken whole: the
    // book and the share's number.
    std::pair<std::shared_ptr<Book>, int> next_share();
    // Whether the book, about to be searched, is shared out: a large
    // package with nothing else waiting to be searched.  Under mutex_.
    bool worth_sharing(const Book &book) const;
    // Reads the book's file whole, after taking its share of the budget.
    void read_ahead(Book &book);
    void book_read(const std::shared_ptr<Book> &book);
    // Adds what a share found to the book's findings; the book is done
    // with its last share.
    void book_done(const std::shared_ptr<Book> &book, Found &&found);

    SearchContext &context_;
    FrontEnd &front_end_;
    HitRecorder &recorder_;
    size_t queue_limit_;

    std::mutex mutex_;
    std::condition_variable book_queued_;   // reading threads wait for a book to read
    std::condition_variable book_ready_;    // workers wait for a book read
    std::condition_variable book_done_;     // the walk waits for the oldest book
    std::deque<std::shared_ptr<Book>> queued_;   // walk order; guarded by mutex_
    bool closing_ = false;                       // guarded by mutex_
    std::atomic<bool> stopped_{false};           // cancelled or past the hit limit
    MemoryBudget budget_;
    const int workers_count_;

    std::vector<std::unique_ptr<Worker>> workers_;
    std::vector<std::thread> threads_;   // the readers and the workers
};

}  // namespace zscan
