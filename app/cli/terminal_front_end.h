// The front end of the zscan command: hits on standard output; progress,
// notices and errors on standard error; Ctrl+C, SIGTERM and SIGHUP as the
// cancel command.  It never asks a question: a terminal search keeps what
// it found.
#pragma once

#include "engine/front_end.h"

#include <string>

namespace zscan {

class TerminalFrontEnd : public FrontEnd {
public:
    // `quiet`: no hits and no progress.  `no_messages`: no notices of books
    // or folders that could not be searched.
    TerminalFrontEnd(bool quiet, bool no_messages, bool open_viewer);

    // Makes SIGINT, SIGTERM and SIGHUP request the cancel; the same signal
    // again ends the program at once.
    static void catch_signals();
    // The signal that stopped the search, or 0.
    static int stopping_signal();

    void set_progress_text(const std::string &text) override;
    void set_hit_counter_text(const std::string &text) override;
    bool show_message(const std::string &title, const std::string &text, MessageIcon icon,
                      bool yes_no, bool default_answer) override;
    bool cancel_requested() override;
    void open_result(const std::string &path, bool excel_book) override;
    void hit_line_written(const std::string &line) override;
    void not_searched(const NotSearched &item) override;
    void hit_limit_passed(int limit, bool excel_output) override;
    void report_not_searched(const SearchContext &context) override;

    // Removes the progress line from the terminal.
    void clear_progress();
    // Flushes standard output; the system's words when it cannot be
    // written (a full disk, a closed file), else empty.
    std::string output_error();

private:
    void draw_progress();

    bool quiet_;
    bool no_messages_;
    bool open_viewer_;
    bool progress_shown_;   // standard error is a terminal and not quiet
    bool progress_drawn_ = false;
    int output_errno_ = 0;   // why standard output could not be written
    std::string progress_text_;
    std::string counter_text_;
};

// "encrypted with a password", "damaged: ..." and the like.
std::string reason_text(const NotSearched &item);

}  // namespace zscan
