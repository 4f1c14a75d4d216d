#include "cli/progress_line.h"

#include "engine/search_context.h"

#include <cstdio>
#include <sys/ioctl.h>
#include <unistd.h>

namespace zscan {
namespace {

// The line appears after this long, so that a short search never shows it.
constexpr auto kFirstShown = std::chrono::milliseconds(1000);
constexpr auto kRedrawn = std::chrono::milliseconds(200);

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

ProgressLine::ProgressLine(bool shown, const SearchContext &context) : shown_(shown), context_(context) {
    if (shown_) thread_ = std::thread([this] { run(); });
}

ProgressLine::~ProgressLine() { stop(); }

ProgressLine::Pause::Pause(ProgressLine &line) : lock_(line.mutex_) { line.clear(); }

void ProgressLine::set_folder(const std::string &folder) {
    if (!shown_) return;
    std::lock_guard<std::mutex> lock(mutex_);
    folder_ = folder;
}

void ProgressLine::stop() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        stopping_ = true;
        clear();
    }
    wake_.notify_all();
    if (thread_.joinable()) thread_.join();
}

void ProgressLine::run() {
    std::unique_lock<std::mutex> lock(mutex_);
    if (wake_.wait_until(lock, started_ + kFirstShown, [this] { return stopping_; })) return;
    while (!stopping_) {
        draw();
        wake_.wait_for(lock, kRedrawn, [this] { return stopping_; });
    }
}

void ProgressLine::draw() {
    const std::string line = std::to_string(context_.books_searched.load()) + " books searched, " +
                             std::to_string(context_.books_found.load()) + " found, " +
                             std::to_string(context_.hit_count.load()) + " hits  " + folder_;
    std::fprintf(stderr, "\r%s\x1b[K", fitted(line, terminal_columns() - 1).c_str());
    std::fflush(stderr);
    drawn_ = true;
}

void ProgressLine::clear() {
    if (!drawn_) return;
    std::fputs("\r\x1b[K", stderr);
    std::fflush(stderr);
    drawn_ = false;
}

}  // namespace zscan
