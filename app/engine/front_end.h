// What the engine needs from the program that shows it: a window, a
// terminal, or a test double.  Texts are in the context's character set.
#pragma once

#include "engine/hit_place.h"
#include "engine/not_searched.h"

#include <string>

namespace zscan {

struct SearchContext;

enum class MessageIcon { Error, Question, Information, Exclamation };

class FrontEnd {
public:
    virtual ~FrontEnd() = default;

    // The folder the walk is in.
    virtual void set_progress_text(const std::string &text) = 0;
    // The hit counter ("%d件").
    virtual void set_hit_counter_text(const std::string &text) = 0;
    // Shows a message titled `title`.  For a question (`yes_no`) returns
    // true on Yes; a front end that cannot ask returns `default_answer`.
    // Plain messages return true.
    virtual bool show_message(const std::string &title, const std::string &text,
                              MessageIcon icon, bool yes_no, bool default_answer) = 0;
    // True once the user has asked to cancel the running search.
    virtual bool cancel_requested() = 0;
    // Shows the finished result file or result book.
    virtual void open_result(const std::string &path, bool excel_book) = 0;
    // A hit as it is recorded, in walk order; with text output its line
    // has just been appended to the result file.
    virtual void hit_recorded(const RecordedHit &hit) = 0;
    // A book searched to its end (or to the hit limit) and its hits, in
    // walk order.
    virtual void book_searched(std::string_view, int) {}
    // A book or folder that could not be searched, as the walk meets it.
    virtual void not_searched(const NotSearched &item) = 0;
    // The hit count passed `limit`: the search stops.
    virtual void hit_limit_passed(int limit, bool excel_output) = 0;
    // At the end of a search in which some books or folders could not be
    // searched (the context's not_searched), before the result is shown.
    virtual void report_not_searched(const SearchContext &context) = 0;
};

}  // namespace zscan
