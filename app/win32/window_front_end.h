// The engine's front end in the main window: progress and hit counter in
// the two read-only fields, messages in message boxes titled by the engine,
// the cancel flag of the window, the books and folders it could not search
// told by their number with their list on offer, and the result in Notepad
// or Excel.
#pragma once

#include "engine/front_end.h"

namespace zscan {

class MainWindow;

class WindowFrontEnd : public FrontEnd {
public:
    explicit WindowFrontEnd(MainWindow &window) : window_(window) {}

    void set_progress_text(const std::string &text) override;
    void set_hit_counter_text(const std::string &text) override;
    bool show_message(const std::string &title, const std::string &text, MessageIcon icon,
                      bool yes_no, bool default_answer) override;
    bool cancel_requested() override;
    void open_result(const std::string &path, bool excel_book) override;
    void hit_recorded(const RecordedHit &) override {}
    void not_searched(const NotSearched &) override {}
    void hit_limit_passed(int limit, bool excel_output) override;
    void report_not_searched(const SearchContext &context) override;

private:
    MainWindow &window_;
};

}  // namespace zscan
