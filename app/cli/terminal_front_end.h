// The front end of the zscan command: hits on standard output, progress,
// notices and questions on standard error, Ctrl+C as the cancel command.
#pragma once

#include "engine/front_end.h"

#include <string>

namespace zscan {

class TerminalFrontEnd : public FrontEnd {
public:
    TerminalFrontEnd(bool quiet, bool open_viewer);

    // Makes Ctrl+C (SIGINT) request the cancel; a second Ctrl+C ends the
    // program at once.
    static void catch_interrupt();

    void set_progress_text(const std::string &text) override;
    void set_hit_counter_text(const std::string &text) override;
    bool show_message(const std::string &title, const std::string &text, MessageIcon icon,
                      bool yes_no, bool default_answer) override;
    bool cancel_requested() override;
    void open_result(const std::string &path, bool excel_book) override;
    void hit_line_written(const std::string &line) override;

    // Removes the progress line from the terminal.
    void clear_progress();

private:
    void draw_progress();

    bool quiet_;
    bool open_viewer_;
    bool progress_shown_;   // standard error is a terminal and not quiet
    bool progress_drawn_ = false;
    std::string progress_text_;
    std::string counter_text_;
};

}  // namespace zscan
