#include "cli/terminal_front_end.h"

#include "engine/search_context.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char **environ;

namespace zscan {
namespace {

volatile std::sig_atomic_t g_signal = 0;

void on_signal(int number) { g_signal = number; }

std::string plural(size_t count, const char *noun) {
    return std::to_string(count) + " " + noun + (count == 1 ? "" : "s");
}

// "12 books searched, 2 could not be read, 1 folder could not be listed".
std::string books_line(const SearchContext &context) {
    size_t books = 0;
    for (const NotSearched &item : context.not_searched) books += item.folder ? 0 : 1;
    const size_t folders = context.not_searched.size() - books;
    std::string line = plural(static_cast<size_t>(context.books_searched.load()), "book") + " searched, " +
                       std::to_string(books) + " could not be read";
    if (folders > 0) line += ", " + plural(folders, "folder") + " could not be listed";
    return line;
}

}  // namespace

TerminalFrontEnd::TerminalFrontEnd(const TerminalOptions &options, const SearchContext &context)
    : options_(options), output_(options.mode, options.null_ends_paths, options.quiet),
      progress_(!options.quiet && isatty(STDERR_FILENO), context) {}

void TerminalFrontEnd::catch_signals() {
    struct sigaction action {};
    action.sa_handler = on_signal;
    // A write to standard output that the signal interrupts goes on.
    action.sa_flags = SA_RESETHAND | SA_RESTART;
    sigemptyset(&action.sa_mask);
    for (int number : {SIGINT, SIGTERM, SIGHUP}) sigaction(number, &action, nullptr);
}

int TerminalFrontEnd::stopping_signal() { return g_signal; }

void TerminalFrontEnd::write_output(const std::string &text) {
    if (text.empty()) return;
    ProgressLine::Pause pause(progress_);
    std::fwrite(text.data(), 1, text.size(), stdout);
    // Seen on a terminal as it comes, and never left behind the progress
    // line.
    if (isatty(STDOUT_FILENO)) std::fflush(stdout);
    // A full or closed standard output stops the search: its answer would
    // be lost.
    if (std::ferror(stdout) && output_errno_ == 0) output_errno_ = errno != 0 ? errno : EIO;
}

void TerminalFrontEnd::write_notice(const std::string &text) {
    ProgressLine::Pause pause(progress_);
    std::fprintf(stderr, "%s\n", text.c_str());
}

void TerminalFrontEnd::set_progress_text(const std::string &text) { progress_.set_folder(text); }

bool TerminalFrontEnd::show_message(const std::string &title, const std::string &text,
                                    MessageIcon icon, bool yes_no, bool default_answer) {
    // The one question is whether to keep a cancelled search's hits; a
    // terminal search always keeps them, so nothing is asked.
    if (yes_no) return default_answer;
    if ((options_.quiet || options_.mode != OutputMode::Lines) && icon == MessageIcon::Information) return true;
    write_notice(title + ": " + text);
    return true;
}

bool TerminalFrontEnd::cancel_requested() { return g_signal != 0 || output_errno_ != 0; }

void TerminalFrontEnd::open_result(const std::string &path, bool excel_book) {
    if (excel_book && output_.shows_result_path()) write_output(path + "\n");
    if (!options_.open_viewer) return;
    std::fflush(stdout);
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

void TerminalFrontEnd::hit_recorded(const RecordedHit &hit) { write_output(output_.hit(hit)); }

void TerminalFrontEnd::book_searched(std::string_view path, int hits) { write_output(output_.book(path, hits)); }

void TerminalFrontEnd::not_searched(const NotSearched &item) {
    if (!options_.no_messages) write_notice("zscan: " + item.path + ": " + reason_text(item));
}

void TerminalFrontEnd::hit_limit_passed(int limit, bool) {
    write_notice("zscan: stopped at the hit limit of " + std::to_string(limit) +
                 " hits; the rest of the folder was not searched (--max-hits N sets the limit, 0 for none)");
}

void TerminalFrontEnd::report_not_searched(const SearchContext &context) {
    // --stats gives the same count in its own line.
    if (!options_.no_messages && !options_.stats) write_notice("zscan: " + books_line(context));
}

std::string TerminalFrontEnd::finish(const SearchContext &context, double seconds) {
    progress_.stop();
    const SearchEnd end = g_signal != 0           ? SearchEnd::Interrupted
                          : context.limit_passed ? SearchEnd::HitLimit
                                                 : SearchEnd::Complete;
    write_output(output_.summary(context, end, seconds));
    if (options_.stats) {
        char elapsed[32];
        std::snprintf(elapsed, sizeof elapsed, "%.2f", seconds);
        const char *how = end == SearchEnd::Interrupted ? "interrupted"
                          : end == SearchEnd::HitLimit  ? "stopped at the hit limit"
                                                        : "complete";
        write_notice("zscan: " + books_line(context) + "; " + plural(static_cast<size_t>(context.hits_recorded), "hit") +
                     " in " + elapsed + " s; " + how);
    }
    if (std::fflush(stdout) != 0 && output_errno_ == 0) output_errno_ = errno != 0 ? errno : EIO;
    return output_errno_ != 0 ? std::strerror(output_errno_) : std::string();
}

}  // namespace zscan
