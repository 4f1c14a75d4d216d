// The front end of the zscan command: hits on standard output in the form
// asked for; the progress line, notices and errors on standard error;
// Ctrl+C, SIGTERM and SIGHUP as the cancel command.  It never asks a
// question: a terminal search keeps what it found.
#pragma once

#include "cli/hit_output.h"
#include "cli/progress_line.h"
#include "engine/front_end.h"

#include <string>

namespace zscan {

struct TerminalOptions {
    OutputMode mode = OutputMode::Lines;
    bool null_ends_paths = false;
    bool quiet = false;         // no hits and no progress line
    bool no_messages = false;   // no notices of books or folders not searched
    bool stats = false;         // the summary line at the end, on standard error
    bool open_viewer = false;
};

class TerminalFrontEnd : public FrontEnd {
public:
    TerminalFrontEnd(const TerminalOptions &options, const SearchContext &context);

    // Makes SIGINT, SIGTERM and SIGHUP request the cancel; the same signal
    // again ends the program at once.
    static void catch_signals();
    // The signal that stopped the search, or 0.
    static int stopping_signal();

    void set_progress_text(const std::string &text) override;
    void set_hit_counter_text(const std::string &) override {}
    bool show_message(const std::string &title, const std::string &text, MessageIcon icon,
                      bool yes_no, bool default_answer) override;
    bool cancel_requested() override;
    void open_result(const std::string &path, bool excel_book) override;
    void hit_recorded(const RecordedHit &hit) override;
    void book_searched(std::string_view path, int hits) override;
    void not_searched(const NotSearched &item) override;
    void hit_limit_passed(int limit, bool excel_output) override;
    void report_not_searched(const SearchContext &context) override;

    // The end of the search: the progress line goes, the JSON summary and
    // the --stats line are written.  The system's words when standard
    // output could not be written (a full disk, a closed file), else empty.
    std::string finish(const SearchContext &context, double seconds);

private:
    void write_output(const std::string &text);
    void write_notice(const std::string &text);

    TerminalOptions options_;
    HitOutput output_;
    ProgressLine progress_;
    int output_errno_ = 0;   // why standard output could not be written
};

}  // namespace zscan
