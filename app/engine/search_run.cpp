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

SearchRun::~SearchRun() { release_result_book(); }

void SearchRun::release_result_book() {
    if (context_.result_book) {
        OXLS_close_book(context_.result_book.get(), nullptr);
        context_.result_book.reset();
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
    if (!matcher_.prepare(context_.charset, context_.search_words, context_.regular_expression,
                          bad_word)) {
        show_error(text::kInvalidExpression, bad_word);
        return false;
    }
    if (!prepare_output()) return false;
    context_.hit_count = 0;
    return true;
}

bool SearchRun::prepare_output() {
    const int charset = context_.charset;
    if (!context_.output_excel) {
        context_.result_file_path =
            joined_path(context_.temp_folder, in_charset(charset, text::kTextResultName));
        zplat::delete_file(context_.result_file_path.c_str());
        return true;
    }

    const std::string path =
        joined_path(context_.temp_folder, in_charset(charset, text::kBookResultName));
    context_.result_file_path = path;
    // Creating the file first tells a book still open in a viewer (which
    // keeps others from writing it) before any search work is done.
    zplat::File *probe = zplat::file_open(path.c_str(), 2);
    if (probe == nullptr) {
        show_error(text::kResultBookFileError, path);
        return false;
    }
    zplat::file_close(probe);

    auto book = std::make_unique<XLS_BOOK>();
    std::string arguments = charset == CS_UTF8 ? "CHARSET=UTF8 " : "";
    arguments += "BOOK=" + quoted_argument(path);
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
        WorkbookSearch books(matcher_, recorder, context_.charset);
        walk_folder(context_, front_end_, books);
        return;
    }
    ParallelBookSearch books(context_, front_end_, recorder, context_.jobs);
    walk_folder(context_, front_end_, books);
    books.finish();
}

SearchOutcome SearchRun::finish() {
    const std::string title = in_charset(context_.charset, text::kTitle);
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
        const int rc = OXLS_close_book(context_.result_book.get(), "SAVE");
        if (rc != 0) {
            release_result_book();
            context_.hit_count = 0;
            show_error(text::kResultBookSaveError, rc);
            return SearchOutcome::Failed;
        }
        context_.result_book.reset();
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

SearchOutcome run_search(SearchContext &context, FrontEnd &front_end) {
    SearchRun run(context, front_end);
    if (!run.prepare()) return SearchOutcome::Failed;
    run.walk();
    return run.finish();
}

}  // namespace zscan
