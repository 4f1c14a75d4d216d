// The memory the books being searched at once may take together.  A book is
// held back while the books in flight would pass the budget, so that the
// memory a search takes stays bounded whatever the number of jobs; a book
// larger than the whole budget is still searched, alone.
#pragma once

#include <condition_variable>
#include <cstddef>
#include <mutex>

namespace zscan {

class MemoryBudget {
public:
    explicit MemoryBudget(size_t bytes) : bytes_(bytes) {}

    // A quarter of the machine's memory, at most 256 MB.
    static size_t for_this_machine();
    // The memory searching a book file of `file_bytes` bytes takes, at most:
    // its bytes, and a package's parts inflated, or another book's stream
    // and texts, with room for the texts read from them.
    static size_t needed_for(unsigned long long file_bytes, bool package);

    // Waits until `bytes` more fit in the budget, or nothing is held.
    void take(size_t bytes);
    void give_back(size_t bytes);

private:
    const size_t bytes_;
    size_t held_ = 0;
    std::mutex mutex_;
    std::condition_variable given_back_;
};

}  // namespace zscan
