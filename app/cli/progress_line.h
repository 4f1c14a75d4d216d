// The one updating line a long search shows on a terminal: books searched,
// books the walk has found so far, hits, and the folder being walked.  It
// appears once a search has run about a second, is redrawn a few times a
// second by a thread of its own, and is cleared before anything else is
// written to the terminal and at the end.
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>

namespace zscan {

struct SearchContext;

class ProgressLine {
public:
    // Draws on standard error when `shown`; otherwise does nothing.
    ProgressLine(bool shown, const SearchContext &context);
    ~ProgressLine();
    ProgressLine(const ProgressLine &) = delete;
    ProgressLine &operator=(const ProgressLine &) = delete;

    void set_folder(const std::string &folder);

    // Holds the terminal for other output: the line is cleared first and
    // redrawn at the next tick.
    class Pause {
    public:
        explicit Pause(ProgressLine &line);

    private:
        std::unique_lock<std::mutex> lock_;
    };

    // Clears the line for good.
    void stop();

private:
    void run();
    void draw();
    void clear();

    const bool shown_;
    const SearchContext &context_;
    const std::chrono::steady_clock::time_point started_ = std::chrono::steady_clock::now();
    std::mutex mutex_;   // guards the terminal, folder_, drawn_ and stopping_
    std::condition_variable wake_;
    std::string folder_;
    bool drawn_ = false;
    bool stopping_ = false;
    std::thread thread_;
};

}  // namespace zscan
