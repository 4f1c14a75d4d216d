// One search run: checks the input, builds the word tables, prepares the
// result output, walks the target folder and delivers the result.  A
// window front end runs prepare() and finish() on its own thread and
// walk() on a worker; a terminal runs them one after the other.
#pragma once

#include "engine/cell_matcher.h"
#include "engine/front_end.h"
#include "engine/search_context.h"

namespace zscan {

enum class SearchOutcome {
    Found,          // hits found and handed to the viewer
    NothingFound,   // the search ran and found nothing
    Declined,       // cancelled after some hits; the user did not want them
    Failed,         // input or output error; the front end has shown it
};

class SearchRun {
public:
    SearchRun(SearchContext &context, FrontEnd &front_end)
        : context_(context), front_end_(front_end) {}
    ~SearchRun();
    SearchRun(const SearchRun &) = delete;
    SearchRun &operator=(const SearchRun &) = delete;

    // Checks the input and prepares the output.  False when the search
    // cannot start; the front end has shown why.
    bool prepare();
    // Walks the target folder, recording every hit.
    void walk();
    // Saves and shows the result; after a cancelled walk only when the user
    // wants the partial result.
    SearchOutcome finish();

private:
    bool prepare_output();
    void show_error(std::string_view utf8_template, std::string_view argument);
    void show_error(std::string_view utf8_template, int code);
    void release_result_book();

    SearchContext &context_;
    FrontEnd &front_end_;
    CellMatcher matcher_;
};

// Where the search's result goes: the file or book the user named, else
// the text result file or the result book in the temporary folder.
std::string result_path(const SearchContext &context);

// Runs all three steps on the calling thread.
SearchOutcome run_search(SearchContext &context, FrontEnd &front_end);

}  // namespace zscan
