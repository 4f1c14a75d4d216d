#include "win32/window_front_end.h"

#include "charset.h"
#include "engine/app_texts.h"
#include "win32/main_window.h"
#include "win32/not_searched_list.h"
#include "win32/result_viewers.h"
#include "win32/window_texts.h"

#include <windows.h>

#include <cstdio>

namespace zscan {

void WindowFrontEnd::set_progress_text(const std::string &text) {
    window_.set_progress_text(text.c_str());
}

void WindowFrontEnd::set_hit_counter_text(const std::string &text) {
    window_.set_hit_counter_text(text.c_str());
}

bool WindowFrontEnd::show_message(const std::string &title, const std::string &text,
                                  MessageIcon icon, bool yes_no, bool) {
    // Errors stay on top of everything; the question whether to show a
    // cancelled search's partial result has no owner window.
    HWND owner = window_.handle();
    UINT style = yes_no ? MB_YESNO : MB_OK;
    switch (icon) {
    case MessageIcon::Error: style |= MB_ICONERROR | MB_TOPMOST; break;
    case MessageIcon::Question: style |= MB_ICONQUESTION; owner = nullptr; break;
    case MessageIcon::Information: style |= MB_ICONINFORMATION; break;
    case MessageIcon::Exclamation: style |= MB_ICONEXCLAMATION; break;
    }
    const int answer = MessageBoxA(owner, text.c_str(), title.c_str(), style);
    return !yes_no || answer == IDYES;
}

void WindowFrontEnd::hit_limit_passed(int limit, bool excel_output) {
    // Only a result book says so; the text output ends without a word.
    if (!excel_output) return;
    show_message(in_charset(CS_SJIS, text::kTitle), filled(CS_SJIS, text::kHitLimitReached, limit),
                 MessageIcon::Exclamation, false, true);
}

void WindowFrontEnd::report_not_searched(const SearchContext &context) {
    // The list is offered only when it could be written.
    const std::string list = write_not_searched_list(context);
    char count[160];
    std::snprintf(count, sizeof count, window_texts::kNotSearched, static_cast<int>(context.not_searched.size()));
    std::string text = count;
    if (!list.empty()) text += window_texts::kShowNotSearchedList;
    const UINT style = list.empty() ? MB_OK | MB_ICONINFORMATION : MB_YESNO | MB_ICONQUESTION;
    if (MessageBoxA(window_.handle(), text.c_str(), "Z-Scan", style) == IDYES) show_in_notepad(list);
}

bool WindowFrontEnd::cancel_requested() { return window_.cancel_requested(); }

void WindowFrontEnd::open_result(const std::string &path, bool excel_book) {
    if (excel_book) {
        open_result_book(path, window_);
    } else {
        open_in_notepad(path, window_);
    }
}

}  // namespace zscan
