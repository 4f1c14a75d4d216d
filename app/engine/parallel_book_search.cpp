#include "engine/parallel_book_search.h"

#include "engine/app_texts.h"
#include "engine/path_text.h"
#include "engine/value_text.h"
#include "engine/workbook_search.h"
#include "platform/platform.h"
#include "result_codes.h"

#include <chrono>
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

}  // namespace

// One searching thread's own state: a matcher and a book of its own, and
// the book whose hits it keeps.
class ParallelBookSearch::Worker : public HitTarget {
public:
    explicit Worker(const SearchContext &walk)
        : matcher_(prepared(walk)),
          search_(*matcher_, walk.charset, walk.texts, walk.link_base_folder, walk.book_passwords),
          kept_limit_(walk.output_excel || walk.exact_hit_limit ? walk.hit_limit : 0) {}

    void search(Book &book) {
        book_ = &book;
        book.problem = search_.search_read(book.job, book.read_rc, book.bytes, *this);
        book.searched = true;
        book_ = nullptr;
        std::string().swap(book.bytes);
        search_.release_above(kKeptPerWorker);
    }

    bool record(const HitPlace &place, std::string_view text, MatchedText matched) override {
        if (book_->hits.empty()) {
            book_->link_path = place.link_path;
            book_->folder_path = place.folder_path;
        }
        book_->hits.push_back({std::string(place.sheet_name), std::string(place.cell_name), std::string(text),
                               matched, place.holder, std::string(place.holder_name)});
        // Where the limit is exact no hit past it is ever recorded, so one
        // book need not keep more.
        return kept_limit_ <= 0 || book_->hits.size() <= static_cast<size_t>(kept_limit_);
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
    Book *book_ = nullptr;
};

ParallelBookSearch::ParallelBookSearch(SearchContext &context, FrontEnd &front_end,
                                       HitRecorder &recorder, int workers)
    : context_(context), front_end_(front_end), recorder_(recorder),
      queue_limit_(kQueuedPerWorker * static_cast<size_t>(workers)), budget_(MemoryBudget::for_this_machine()) {
    for (int count = 0; count < workers; ++count) {
        workers_.push_back(std::make_unique<Worker>(context));
    }
    for (int count = 0; count < kReaders; ++count) {
        threads_.emplace_back([this] {
            while (const std::shared_ptr<Book> book = next_book(Book::WAITING)) {
                if (!stopped_) read_ahead(*book);
                book_read(book);
            }
        });
    }
    for (const std::unique_ptr<Worker> &worker : workers_) {
        threads_.emplace_back([this, &worker = *worker] {
            while (const std::shared_ptr<Book> book = next_book(Book::READ)) {
                if (!stopped_) worker.search(*book);
                budget_.give_back(book->budget_taken);
                book_done(book);
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

std::shared_ptr<ParallelBookSearch::Book> ParallelBookSearch::next_book(Book::Stage stage) {
    std::condition_variable &wakes = stage == Book::WAITING ? book_queued_ : book_ready_;
    std::unique_lock<std::mutex> lock(mutex_);
    for (;;) {
        for (const std::shared_ptr<Book> &book : queued_) {
            if (book->stage != stage) continue;
            book->stage = static_cast<Book::Stage>(stage + 1);
            return book;
        }
        if (closing_) return nullptr;
        wakes.wait(lock);
    }
}

void ParallelBookSearch::read_ahead(Book &book) {
    zplat::File *file = zplat::file_open(book.job.path.c_str(), zplat::FILE_READ);
    const long long length = file ? zplat::file_length(file) : -1;
    if (length < 0) {
        zplat::file_close(file);
        book.read_rc = OZW_FAILED;
        return;
    }
    book.budget_taken = MemoryBudget::needed_for(static_cast<unsigned long long>(length));
    budget_.take(book.budget_taken);
    try {
        book.bytes.resize(static_cast<size_t>(length));
        size_t done = 0;
        while (done < book.bytes.size()) {
            const size_t got = zplat::file_read(file, book.bytes.data() + done, book.bytes.size() - done);
            if (got == 0) break;
            done += got;
        }
        book.bytes.resize(done);
    } catch (const std::bad_alloc &) {
        book.read_rc = OXLS_ERR_MEMORY;
    }
    zplat::file_close(file);
}

void ParallelBookSearch::book_read(const std::shared_ptr<Book> &book) {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        book->stage = Book::READ;
    }
    book_ready_.notify_one();
}

void ParallelBookSearch::book_done(const std::shared_ptr<Book> &book) {
    bool wake = false;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        book->done = true;
        // The walk waits for the oldest book; it is woken once half the
        // queue can be recorded, or all of it, rather than for each book,
        // since a wake costs more than a small book's search.
        size_t ready = 0;
        while (ready < queued_.size() && queued_[ready]->done) ++ready;
        wake = ready > 0 && (ready >= queue_limit_ / 2 || ready == queued_.size());
    }
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
    if (recorder_.search_over() || !book->searched) return;
    for (const Hit &hit : book->hits) {
        const HitPlace place{book->job.path, hit.sheet_name,      hit.cell_name,
                             book->link_path, book->folder_path, book->job.kind,
                             hit.holder,      hit.holder_name};
        if (!recorder_.record(place, hit.text, hit.matched)) break;
    }
    recorder_.book_finished(book->job.path, book->problem);
    if (recorder_.search_over()) stopped_ = true;
}

}  // namespace zscan
