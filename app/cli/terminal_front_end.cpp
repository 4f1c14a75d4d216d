#include "cli/terminal_front_end.h"

#include "engine/search_context.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <spawn.h>
#include <sys/ioctl.h>
#include <sys/wait.h>
#include <unistd.h>

extern char **environ;

namespace zscan {
namespace {

volatile std::sig_atomic_t g_signal = 0;

void on_signal(int number) { g_signal = number; }

size_t terminal_columns() {
    winsize size{};
    if (ioctl(STDERR_FILENO, TIOCGWINSZ, &size) == 0 && size.ws_col > 0) return size.ws_col;
    return 80;
}

// The head of a UTF-8 text that fits in `columns` terminal columns,
// counting every non-ASCII character as two columns wide.
std::string fitted(const std::string &text, size_t columns) {
    size_t used = 0;
    size_t end = 0;
    while (end < text.size()) {
        const auto lead = static_cast<unsigned char>(text[end]);
        const size_t length = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : 2;
        const size_t width = lead < 0x80 ? 1 : 2;
        if (used + width > columns || end + length > text.size()) break;
        used += width;
        end += length;
    }
    return text.substr(0, end);
}

}  // namespace

std::string reason_text(const NotSearched &item) {
    std::string reason;
    switch (item.reason) {
    case SkipReason::Encrypted: reason = "encrypted with a password"; break;
    case SkipReason::NotABook: reason = "not a book this program reads"; break;
    case SkipReason::Damaged: reason = "damaged"; break;
    case SkipReason::PermissionDenied: return "permission denied";
    case SkipReason::PathTooLong: return "path too long";
    case SkipReason::Unreadable: return item.detail.empty() ? "cannot be read" : item.detail;
    }
    return item.detail.empty() ? reason : reason + ": " + item.detail;
}

TerminalFrontEnd::TerminalFrontEnd(bool quiet, bool no_messages, bool open_viewer)
    : quiet_(quiet), no_messages_(no_messages), open_viewer_(open_viewer),
      progress_shown_(!quiet && isatty(STDERR_FILENO)) {}

void TerminalFrontEnd::catch_signals() {
    struct sigaction action {};
    action.sa_handler = on_signal;
    // A write to standard output that the signal interrupts goes on.
    action.sa_flags = SA_RESETHAND | SA_RESTART;
    sigemptyset(&action.sa_mask);
    for (int number : {SIGINT, SIGTERM, SIGHUP}) sigaction(number, &action, nullptr);
}

int TerminalFrontEnd::stopping_signal() { return g_signal; }

void TerminalFrontEnd::draw_progress() {
    std::string line = counter_text_.empty() ? progress_text_ : counter_text_ + " " + progress_text_;
    line = fitted(line, terminal_columns() - 1);
    std::fprintf(stderr, "\r%s\x1b[K", line.c_str());
    std::fflush(stderr);
    progress_drawn_ = true;
}

void TerminalFrontEnd::clear_progress() {
    if (!progress_drawn_) return;
    std::fputs("\r\x1b[K", stderr);
    std::fflush(stderr);
    progress_drawn_ = false;
}

void TerminalFrontEnd::set_progress_text(const std::string &text) {
    progress_text_ = text;
    if (progress_shown_) draw_progress();
}

void TerminalFrontEnd::set_hit_counter_text(const std::string &text) {
    counter_text_ = text;
    if (progress_shown_) draw_progress();
}

bool TerminalFrontEnd::show_message(const std::string &title, const std::string &text,
                                    MessageIcon icon, bool yes_no, bool default_answer) {
    // The one question is whether to keep a cancelled search's hits; a
    // terminal search always keeps them, so nothing is asked.
    if (yes_no) return default_answer;
    if (quiet_ && icon == MessageIcon::Information) return true;
    clear_progress();
    std::fprintf(stderr, "%s: %s\n", title.c_str(), text.c_str());
    return true;
}

bool TerminalFrontEnd::cancel_requested() { return g_signal != 0 || output_errno_ != 0; }

void TerminalFrontEnd::open_result(const std::string &path, bool excel_book) {
    clear_progress();
    if (excel_book && !quiet_) std::printf("%s\n", path.c_str());
    std::fflush(stdout);
    if (!open_viewer_) return;
    // The desktop's viewer for the file; a missing one is not an error.
    const char *viewer = "xdg-open";
    char *const arguments[] = {const_cast<char *>(viewer), const_cast<char *>(path.c_str()),
                               nullptr};
    pid_t child = 0;
    if (posix_spawnp(&child, viewer, nullptr, nullptr, arguments, environ) == 0) {
        int status = 0;
        waitpid(child, &status, 0);
    }
}

void TerminalFrontEnd::hit_line_written(const std::string &line) {
    if (quiet_) return;
    clear_progress();
    std::fwrite(line.data(), 1, line.size(), stdout);
    std::fputc('\n', stdout);
    // A full or closed standard output stops the search: its answer would
    // be lost.
    if (std::ferror(stdout) && output_errno_ == 0) output_errno_ = errno != 0 ? errno : EIO;
    if (progress_shown_) {
        std::fflush(stdout);
        draw_progress();
    }
}

void TerminalFrontEnd::not_searched(const NotSearched &item) {
    if (no_messages_) return;
    clear_progress();
    std::fprintf(stderr, "zscan: %s: %s\n", item.path.c_str(), reason_text(item).c_str());
    if (progress_shown_) draw_progress();
}

void TerminalFrontEnd::hit_limit_passed(int limit, bool) {
    clear_progress();
    std::fprintf(stderr, "zscan: stopped at the hit limit of %d hits; the rest of the folder was not searched "
                         "(--max-hits N sets the limit, 0 for none)\n", limit);
}

void TerminalFrontEnd::report_not_searched(const SearchContext &context) {
    if (no_messages_) return;
    clear_progress();
    size_t books = 0;
    for (const NotSearched &item : context.not_searched) books += item.folder ? 0 : 1;
    const size_t folders = context.not_searched.size() - books;
    std::fprintf(stderr, "zscan: %d book%s searched, %zu could not be read", context.books_searched,
                 context.books_searched == 1 ? "" : "s", books);
    if (folders > 0) std::fprintf(stderr, ", %zu folder%s could not be listed", folders, folders == 1 ? "" : "s");
    std::fputc('\n', stderr);
}

std::string TerminalFrontEnd::output_error() {
    if (std::fflush(stdout) != 0 && output_errno_ == 0) output_errno_ = errno != 0 ? errno : EIO;
    return output_errno_ != 0 ? std::strerror(output_errno_) : std::string();
}

}  // namespace zscan
