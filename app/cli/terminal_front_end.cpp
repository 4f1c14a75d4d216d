#include "cli/terminal_front_end.h"

#include <csignal>
#include <cstdio>
#include <spawn.h>
#include <sys/ioctl.h>
#include <sys/wait.h>
#include <unistd.h>

extern char **environ;

namespace zscan {
namespace {

volatile std::sig_atomic_t g_interrupted = 0;

void on_interrupt(int) { g_interrupted = 1; }

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

TerminalFrontEnd::TerminalFrontEnd(bool quiet, bool open_viewer)
    : quiet_(quiet), open_viewer_(open_viewer), progress_shown_(!quiet && isatty(STDERR_FILENO)) {}

void TerminalFrontEnd::catch_interrupt() {
    struct sigaction action {};
    action.sa_handler = on_interrupt;
    action.sa_flags = SA_RESETHAND;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
}

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
    if (quiet_ && icon == MessageIcon::Information) return true;
    clear_progress();
    std::fprintf(stderr, "%s: %s", title.c_str(), text.c_str());
    if (!yes_no) {
        std::fputc('\n', stderr);
        return true;
    }
    if (!isatty(STDIN_FILENO) || !isatty(STDERR_FILENO)) {
        std::fprintf(stderr, " %s\n", default_answer ? "y" : "n");
        return default_answer;
    }
    std::fputs(default_answer ? " [Y/n] " : " [y/N] ", stderr);
    std::fflush(stderr);
    char answer[64] = {};
    if (std::fgets(answer, sizeof answer, stdin) == nullptr) return default_answer;
    if (answer[0] == 'y' || answer[0] == 'Y') return true;
    if (answer[0] == 'n' || answer[0] == 'N') return false;
    return default_answer;
}

bool TerminalFrontEnd::cancel_requested() { return g_interrupted != 0; }

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
    if (progress_shown_) {
        std::fflush(stdout);
        draw_progress();
    }
}

}  // namespace zscan
