#include "engine/memory_budget.h"

#include "platform/platform.h"

#include <algorithm>

namespace zscan {
namespace {

constexpr size_t kMostBudget = size_t{256} << 20;
// A package's sheets inflate to about ten times the bytes they take in the
// zip; the texts and the hits read from them take a little more.  Another
// book (a compound file) is read from its bytes, its workbook stream copied
// at most once, and its texts take less than the stream.
constexpr unsigned long long kPackageTimes = 12;
constexpr unsigned long long kOtherTimes = 3;

}  // namespace

size_t MemoryBudget::for_this_machine() {
    const unsigned long long memory = zplat::physical_memory();
    return memory == 0 ? kMostBudget : static_cast<size_t>(std::min<unsigned long long>(kMostBudget, memory / 4));
}

size_t MemoryBudget::needed_for(unsigned long long file_bytes, bool package) {
    const unsigned long long times = package ? kPackageTimes : kOtherTimes;
    return static_cast<size_t>(std::min<unsigned long long>(file_bytes * times, SIZE_MAX / 2));
}

void MemoryBudget::take(size_t bytes) {
    std::unique_lock<std::mutex> lock(mutex_);
    given_back_.wait(lock, [&] { return held_ == 0 || held_ + bytes <= bytes_; });
    held_ += bytes;
}

void MemoryBudget::give_back(size_t bytes) {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        held_ -= std::min(held_, bytes);
    }
    given_back_.notify_all();
}

}  // namespace zscan
