#include "engine/parallel_book_search.h"

#include "engine/app_texts.h"
#include "engine/path_text.h"
#include "engine/value_text.h"
#include "engine/workbook_search.h"

#include <chrono>

namespace zscan {
namespace {

// How often a walk waiting for a book asks the front end about a cancel.
constexpr auto kCancelPoll = std::chrono::milliseconds(20);
// Books queued ahead of the oldest one per worker: enough to keep every
// worker busy behind a long book, few enough to bound the kept hits.
constexpr size_t kQueuedPerWorker = 16;

}  // namespace

// One searching thread's own state: a context with the paths of the walk,
// a matcher and a book of its own, and the book whose hits it keeps.
class ParallelBookSearch::Worker : public HitTarget {
public:
    explicit Worker(const SearchContext &walk) : matcher_(prepared(walk)), search_(*matcher_, *this, walk.charset) {
        context_.charset = walk.charset;
        context_.temp_folder = walk.temp_folder;
        context_.link_base_folder = walk.link_base_folder;
        output_excel_ = walk.output_excel;
    }

    void search(Book &book) {
        book_ = &book;
        context_.current_file = book.file;
        search_.search_book(context_, book.kind);
        book_ = nullptr;
    }

    bool record(const HitPlace &place, std::string_view text) override {
        if (book_->hits.empty()) {
            book_->link_path = place.link_path;
            book_->folder_path = place.folder_path;
        }
        book_->hits.push_back({std::string(place.sheet_name), std::string(place.cell_name),
                               std::string(text)});
        // A result book takes no hit past the limit, so more of one book
        // are never recorded.
        return !output_excel_ || book_->hits.size() <= static_cast<size_t>(kHitLimit);
    }

private:
    // The words were checked before the walk began, so this succeeds.
    static std::unique_ptr<CellMatcher> prepared(const SearchContext &walk) {
        auto matcher = std::make_unique<CellMatcher>();
        std::string bad_word;
        matcher->prepare(walk.charset, walk.search_words, walk.regular_expression, bad_word);
        return matcher;
    }

    SearchContext context_;
    std::unique_ptr<CellMatcher> matcher_;
    WorkbookSearch search_;
    Book *book_ = nullptr;
    bool output_excel_ = false;
};

ParallelBookSearch::ParallelBookSearch(SearchContext &context, FrontEnd &front_end,
                                       HitRecorder &recorder, int workers)
    : context_(context), front_end_(front_end), recorder_(recorder),
      queue_limit_(kQueuedPerWorker * static_cast<size_t>(workers)) {
    for (int count = 0; count < workers; ++count) {
        workers_.push_back(std::make_unique<Worker>(context));
    }
    for (const std::unique_ptr<Worker> &worker : workers_) {
        threads_.emplace_back([this, &worker = *worker] {
            while (const std::shared_ptr<Book> book = next_book()) {
                if (!stopped_) worker.search(*book);
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
    for (std::thread &thread : threads_) thread.join();
}

std::shared_ptr<ParallelBookSearch::Book> ParallelBookSearch::next_book() {
    std::unique_lock<std::mutex> lock(mutex_);
    book_queued_.wait(lock, [this] { return closing_ || next_unstarted_ < queued_.size(); });
    if (next_unstarted_ >= queued_.size()) return nullptr;
    return queued_[next_unstarted_++];
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

int ParallelBookSearch::search_book(SearchContext &context, BookKind kind) {
    auto book = std::make_shared<Book>();
    book->file = context.current_file;
    book->kind = kind;
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
    context.current_file = book->file;
    return 0;
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
        --next_unstarted_;
    }
    // Books after the one that passed the limit are not recorded.
    if (context_.hit_count > kHitLimit) return;
    context_.current_file = book->file;
    for (const Hit &hit : book->hits) {
        const HitPlace place{hit.sheet_name, hit.cell_name, book->link_path, book->folder_path};
        if (!recorder_.record(place, hit.text)) break;
    }
    if (context_.hit_count > kHitLimit) stopped_ = true;
}

}  // namespace zscan
