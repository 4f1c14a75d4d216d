#include "engine/parallel_book_search.h"

#include "engine/app_texts.h"
#include "engine/path_text.h"
#include "engine/value_text.h"
#include "engine/workbook_search.h"
#include "byte_source.h"
#include "file_type.h"
#include "result_codes.h"

#include <algorithm>
#include <chrono>
#include <iterator>
#include <new>

namespace zscan {
namespace {

// How often a walk waiting for a book asks the front end about a cancel.
constexpr auto kCancelPoll = std::chrono::milliseconds(20);
// Books queued ahead of the oldest one per worker: enough to keep every
// worker busy behind a long book, few enough to bound the kept hits.
constexpr size_t kQueuedPerWorker = 16;
// Threads reading books ahead: on a share each open waits for the file
// server, and this many waits at once keep two cores searching even at
// several milliseconds an open.  On a local disk they are mostly idle.
constexpr int kReaders = 16;
// The buffers a worker keeps for its next book, at most: a large book's
// buffers go back once it is searched, so that only the budget bounds the
// memory of the books in flight.
constexpr size_t kKeptPerWorker = size_t{16} << 20;
// A package at least this large, taken when no other book waits to be
// searched, is shared out between two workers by its sheets, so that the
// last large book of a search does not leave a core idle.
constexpr size_t kSharedBookBytes = size_t{1} << 20;
constexpr int kSharesOfABook = 2;

}  // namespace

// One searching thread's own state: a matcher and a book of its own, and
// what the share of a book it searches found.
class ParallelBookSearch::Worker : public HitTarget {
public:
    explicit Worker(const SearchContext &walk)
        : matcher_(prepared(walk)),
          search_(*matcher_, walk.charset, walk.texts, walk.link_base_folder, walk.book_passwords),
          kept_limit_(walk.output_excel || walk.exact_hit_limit ? walk.hit_limit : 0) {}

    // Searches share `share` of the book's sheets.
    Found search(const Book &book, int share) {
        found_ = Found{};
        found_.problem = search_.search_read(book.job, book.read_rc, book.bytes, share, book.shares, *this);
        found_.searched = true;
        search_.release_above(kKeptPerWorker);
        return std::move(found_);
    }

    bool record(const HitPlace &place, std::string_view text, MatchedText matched) override {
        if (found_.hits.empty()) {
            found_.link_path = place.link_path;
            found_.folder_path = place.folder_path;
        }
        found_.hits.push_back({place.sheet, std::string(place.sheet_name), std::string(place.cell_name),
                               std::string(text), matched, place.holder, std::string(place.holder_name)});
        // Where the limit is exact no hit past it is ever recorded, so one
        // book need not keep more.
        return kept_limit_ <= 0 || found_.hits.size() <= static_cast<size_t>(kept_limit_);
    }

private:
    // The words were checked before the walk began, so this succeeds.
    static std::unique_ptr<CellMatcher> prepared(const SearchContext &walk) {
        auto matcher = std::make_unique<CellMatcher>();
        std::string bad_word;
        matcher->prepare(walk.charset, walk.search_words, walk.regular_expression, bad_word, walk.folds);
        return matcher;
    }

    std::unique_ptr<CellMatcher> matcher_;
    WorkbookSearch search_;
    int kept_limit_;
    Found found_;
};

ParallelBookSearch::ParallelBookSearch(SearchContext &context, FrontEnd &front_end,
                                       HitRecorder &recorder, int workers)
    : context_(context), front_end_(front_end), recorder_(recorder),
      queue_limit_(kQueuedPerWorker * static_cast<size_t>(workers)), budget_(MemoryBudget::for_this_machine()),
      workers_count_(workers) {
    for (int count = 0; count < workers; ++count) {
        workers_.push_back(std::make_unique<Worker>(context));
    }
    for (int count = 0; count < kReaders; ++count) {
        threads_.emplace_back([this] {
            while (const std::shared_ptr<Book> book = next_to_read()) {
                if (!stopped_) read_ahead(*book);
                book_read(book);
            }
        });
    }
    for (const std::unique_ptr<Worker> &worker : workers_) {
        threads_.emplace_back([this, &worker = *worker] {
            for (;;) {
                const auto [book, share] = next_share();
                if (!book) return;
                book_done(book, stopped_ ? Found{} : worker.search(*book, share));
            }
        });
    }
}

ParallelBookSearch::~ParallelBookSearch() {
    finish();
    {
        std::lock_guard<std::mutex> lock(mutex_);
        closing_ = true;
    }
    book_queued_.notify_all();
    book_ready_.notify_all();
    for (std::thread &thread : threads_) thread.join();
}

std::shared_ptr<ParallelBookSearch::Book> ParallelBookSearch::next_to_read() {
    std::unique_lock<std::mutex> lock(mutex_);
    for (;;) {
        for (const std::shared_ptr<Book> &book : queued_) {
            if (book->stage != Book::WAITING) continue;
            book->stage = Book::READING;
            return book;
        }
        if (closing_) return nullptr;
        book_queued_.wait(lock);
    }
}

std::pair<std::shared_ptr<ParallelBookSearch::Book>, int> ParallelBookSearch::next_share() {
    std::unique_lock<std::mutex> lock(mutex_);
    for (;;) {
        for (const std::shared_ptr<Book> &book : queued_) {
            if (book->stage != Book::READ) continue;
            if (book->shares_taken == 0 && worth_sharing(*book)) book->shares = book->shares_left = kSharesOfABook;
            const int share = book->shares_taken++;
            // A share left over waits for the next worker free.
            if (book->shares_taken == book->shares)
                book->stage = Book::SEARCHING;
            else
                book_ready_.notify_one();
            return {book, share};
        }
        if (closing_) return {nullptr, 0};
        book_ready_.wait(lock);
    }
}

bool ParallelBookSearch::worth_sharing(const Book &book) const {
    // Only a package's reader can pass over the sheets of another share.
    if (workers_count_ < 2 || book.read_rc != 0 || !book.package || book.bytes.size() < kSharedBookBytes) return false;
    for (const std::shared_ptr<Book> &other : queued_)
        if (other.get() != &book && other->stage <= Book::READ) return false;
    return true;
}

void ParallelBookSearch::read_ahead(Book &book) {
    ByteSource file(book.job.path.c_str());
    if (!file.ok()) {
        book.read_rc = OZW_FAILED;
        return;
    }
    // Taken as for a package until its first bytes tell; a book of another
    // kind then gives back what it does not inflate.
    book.budget_taken = MemoryBudget::needed_for(file.size(), true);
    budget_.take(book.budget_taken);
    try {
        book.bytes.resize(static_cast<size_t>(file.size()));
        book.bytes.resize(file.read_at(0, book.bytes.data(), book.bytes.size()));
    } catch (const std::bad_alloc &) {
        book.read_rc = OXLS_ERR_MEMORY;
        return;
    }
    int type = FILE_TYPE_UNKNOWN;
    book.package = book.bytes.size() >= FILE_HEADER_LEN &&
                   orb_file_type(FILE_SOURCE_HEADER, book.bytes.data(), &type) == 0 && type == FILE_TYPE_ZIP;
    const size_t needed = MemoryBudget::needed_for(book.bytes.size(), book.package);
    if (needed < book.budget_taken) {
        budget_.give_back(book.budget_taken - needed);
        book.budget_taken = needed;
    }
}

void ParallelBookSearch::book_read(const std::shared_ptr<Book> &book) {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        book->stage = Book::READ;
    }
    book_ready_.notify_one();
}

void ParallelBookSearch::book_done(const std::shared_ptr<Book> &book, Found &&found) {
    bool wake = false;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        Found &all = book->found;
        if (found.searched) {
            all.searched = true;
            if (all.hits.empty()) {
                all.link_path = std::move(found.link_path);
                all.folder_path = std::move(found.folder_path);
            }
            if (!all.problem) all.problem = std::move(found.problem);
            all.hits.insert(all.hits.end(), std::make_move_iterator(found.hits.begin()),
                            std::make_move_iterator(found.hits.end()));
        }
        if (--book->shares_left > 0) return;
        // A book that cannot be read to its end has no hits, whichever
        // share met the fault; each share's hits are in order within its
        // sheets.
        if (all.problem) all.hits.clear();
        if (book->shares > 1)
            std::stable_sort(all.hits.begin(), all.hits.end(), [](const Hit &a, const Hit &b) { return a.sheet < b.sheet; });
        std::string().swap(book->bytes);
        book->done = true;
        // The walk waits for the oldest book; it is woken once half the
        // queue can be recorded, or all of it, rather than for each book,
        // since a wake costs more than a small book's search.
        size_t ready = 0;
        while (ready < queued_.size() && queued_[ready]->done) ++ready;
        wake = ready > 0 && (ready >= queue_limit_ / 2 || ready == queued_.size());
    }
    budget_.give_back(book->budget_taken);
    if (wake) book_done_.notify_one();
}

void ParallelBookSearch::search_book(const BookJob &job) {
    auto book = std::make_shared<Book>();
    book->job = job;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        queued_.push_back(book);
    }
    book_queued_.notify_one();
    for (;;) {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            if (queued_.empty() || (queued_.size() <= queue_limit_ && !queued_.front()->done)) break;
        }
        record_oldest();
    }
}

void ParallelBookSearch::finish() {
    // A walk ended by a cancel starts nothing more.
    if (front_end_.cancel_requested()) stopped_ = true;
    for (;;) {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            if (queued_.empty()) return;
        }
        record_oldest();
    }
}

void ParallelBookSearch::record_oldest() {
    std::shared_ptr<Book> book;
    {
        std::unique_lock<std::mutex> lock(mutex_);
        while (!queued_.front()->done) {
            // Only this thread talks to the front end; a cancel stops the
            // workers from starting another book.
            if (book_done_.wait_for(lock, kCancelPoll) == std::cv_status::timeout &&
                front_end_.cancel_requested()) {
                stopped_ = true;
            }
        }
        book = std::move(queued_.front());
        queued_.pop_front();
    }
    // Books after the one that ended the search are not recorded, nor
    // those left out after a cancel.
    const Found &found = book->found;
    if (recorder_.search_over() || !found.searched) return;
    for (const Hit &hit : found.hits) {
        const HitPlace place{book->job.path,    hit.sheet_name, hit.cell_name,   found.link_path, found.folder_path,
                             book->job.kind,    hit.holder,     hit.holder_name, hit.sheet};
        if (!recorder_.record(place, hit.text, hit.matched)) break;
    }
    recorder_.book_finished(book->job.path, found.problem);
    if (recorder_.search_over()) stopped_ = true;
}

}  // namespace zscan
