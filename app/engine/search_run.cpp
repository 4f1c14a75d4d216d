#include "engine/search_run.h"

#include "charset.h"
#include "engine/app_texts.h"
#include "engine/folder_walk.h"
#include "engine/hit_recorder.h"
#include "engine/parallel_book_search.h"
#include "engine/path_text.h"
#include "engine/value_text.h"
#include "engine/word_tables.h"
#include "engine/workbook_search.h"
#include "platform/platform.h"

namespace zscan {
namespace {

// The books of a walk searched one after another on the walking thread.
class SerialBookSearch : public BookSearch {
public:
    SerialBookSearch(CellMatcher &matcher, const SearchContext &context, HitRecorder &recorder)
        : search_(matcher, context.charset, context.texts, context.link_base_folder, context.book_passwords),
          recorder_(recorder) {}

    void search_book(const BookJob &job) override {
        recorder_.book_finished(job.path, search_.search(job, recorder_));
    }

private:
    WorkbookSearch search_;
    HitRecorder &recorder_;
};

}  // namespace

SearchRun::~SearchRun() { release_result_book(); }

void SearchRun::release_result_book() {
    if (context_.result_book) {
        OXLS_close_book(context_.result_book.get(), nullptr);
        context_.result_book.reset();
        zplat::delete_file(system_path(context_.charset, context_.result_book_work_path).c_str());
    }
}

void SearchRun::show_error(std::string_view utf8_template, std::string_view argument) {
    front_end_.show_message(in_charset(context_.charset, text::kTitle),
                            filled(context_.charset, utf8_template, argument), MessageIcon::Error,
                            false, true);
}

void SearchRun::show_error(std::string_view utf8_template, int code) {
    show_error(utf8_template, std::to_string(code));
}

bool SearchRun::prepare() {
    if (context_.search_words_text.empty() && context_.list_file_path.empty()) {
        show_error(text::kNoSearchWords, {});
        return false;
    }
    if (!build_word_tables(context_, front_end_)) return false;
    // Every expression is checked before anything is touched, so that a
    // mistyped one stops the search once instead of failing on each cell.
    std::string bad_word;
    if (!matcher_.prepare(context_.charset, context_.search_words, context_.regular_expression, bad_word,
                          context_.folds)) {
        show_error(text::kInvalidExpression, bad_word);
        return false;
    }
    if (!prepare_output()) return false;
    context_.hit_count = 0;
    context_.limit_passed = false;
    context_.hits_recorded = 0;
    context_.books_found = 0;
    context_.books_searched = 0;
    context_.not_searched.clear();
    context_.write_error.clear();
    return true;
}

bool SearchRun::prepare_output() {
    const int charset = context_.charset;
    const std::string path = result_path(context_);
    context_.result_file_path = path;
    if (!context_.output_excel) {
        zplat::delete_file(system_path(charset, path).c_str());
        return true;
    }

    // A sheet holds 1048576 rows, the first of them the headings.
    if (context_.hit_limit <= 0 || context_.hit_limit > kResultBookHitsMax) context_.hit_limit = kResultBookHitsMax;

    // The book is saved under a name of its own and put in place at the
    // end, so that the result of the last search stays whole until this
    // one is.  Opening the old book for writing (neither changing nor
    // making it) tells one still open in a viewer, which keeps others from
    // writing it, and making the new one's file tells a folder that cannot
    // be written, both before any search work is done.
    context_.result_book_work_path = path + ".partial";
    const auto writable = [charset](const std::string &file, int mode) {
        zplat::File *opened = zplat::file_open(system_path(charset, file).c_str(), mode);
        zplat::file_close(opened);
        return opened != nullptr;
    };
    long long old_size = 0;
    const bool old_book = zplat::file_size(system_path(charset, path).c_str(), &old_size) == 0;
    if ((old_book && !writable(path, 4)) || !writable(context_.result_book_work_path, 2)) {
        show_error(text::kResultBookFileError, path);
        return false;
    }

    auto book = std::make_unique<XLS_BOOK>();
    std::string arguments = charset == CS_UTF8 ? "CHARSET=UTF8 " : "";
    arguments += "BOOK=" + quoted_argument(context_.result_book_work_path);
    int rc = OXLS_open_book(book.get(), arguments.c_str());
    if (rc != 0) {
        if (book->work != nullptr) OXLS_free_book(book.get());
        show_error(text::kResultBookOpenError, rc);
        return false;
    }
    rc = OXLS_put_values(book.get(), in_charset(charset, text::kResultBookHeader).c_str());
    if (rc != 0) {
        OXLS_close_book(book.get(), nullptr);
        show_error(text::kResultBookHeaderError, rc);
        return false;
    }
    context_.result_book = std::move(book);
    return true;
}

void SearchRun::walk() {
    context_.current_folder = context_.target_folder;
    HitRecorder recorder(context_, front_end_);
    if (context_.jobs <= 1) {
        SerialBookSearch books(matcher_, context_, recorder);
        walk_folder(context_, front_end_, books, recorder);
        return;
    }
    ParallelBookSearch books(context_, front_end_, recorder, context_.jobs);
    walk_folder(context_, front_end_, books, recorder);
    books.finish();
}

SearchOutcome SearchRun::finish() {
    const std::string title = in_charset(context_.charset, text::kTitle);
    if (!context_.write_error.empty()) {
        release_result_book();
        show_error(text::kResultFileWriteError, context_.result_file_path + ": " + context_.write_error);
        context_.hit_count = 0;
        return SearchOutcome::Failed;
    }
    if (!context_.not_searched.empty()) front_end_.report_not_searched(context_);
    if (front_end_.cancel_requested() && context_.hit_count > 0) {
        const bool wanted =
            front_end_.show_message(title, in_charset(context_.charset, text::kShowPartialResults),
                                    MessageIcon::Question, true, true);
        if (!wanted) {
            context_.hit_count = 0;
            release_result_book();
            return SearchOutcome::Declined;
        }
    }

    if (context_.output_excel) {
        int rc = OXLS_close_book(context_.result_book.get(), "SAVE");
        if (rc != 0) OXLS_close_book(context_.result_book.get(), nullptr);
        context_.result_book.reset();
        const std::string work_path = system_path(context_.charset, context_.result_book_work_path);
        const std::string final_path = system_path(context_.charset, context_.result_file_path);
        if (rc == 0 && zplat::rename_file(work_path.c_str(), final_path.c_str()) != 0) rc = OXLS_ERR_WRITE;
        if (rc != 0) {
            zplat::delete_file(work_path.c_str());
            context_.hit_count = 0;
            show_error(text::kResultBookSaveError, rc);
            return SearchOutcome::Failed;
        }
    }

    SearchOutcome outcome = SearchOutcome::Found;
    if (context_.hit_count == 0) {
        front_end_.show_message(title, in_charset(context_.charset, text::kNothingFound),
                                MessageIcon::Information, false, true);
        outcome = SearchOutcome::NothingFound;
    } else {
        front_end_.open_result(context_.result_file_path, context_.output_excel);
    }
    context_.hit_count = 0;
    return outcome;
}

std::string result_path(const SearchContext &context) {
    if (!context.result_path_given.empty()) return context.result_path_given;
    const std::string_view name = context.output_excel ? text::kBookResultName : text::kTextResultName;
    return joined_path(context.temp_folder, in_charset(context.charset, name));
}

SearchOutcome run_search(SearchContext &context, FrontEnd &front_end) {
    SearchRun run(context, front_end);
    if (!run.prepare()) return SearchOutcome::Failed;
    run.walk();
    return run.finish();
}

}  // namespace zscan
