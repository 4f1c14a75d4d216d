// The budget of the books searched at once: a book waits while the others
// hold too much, and a book larger than the whole budget still goes, alone.
#include "engine/memory_budget.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

using zscan::MemoryBudget;

namespace {

// Whether a take of `bytes` on another thread is still waiting after a
// while; the take is let through by giving back `held` before returning.
bool take_waits(MemoryBudget &budget, size_t bytes, size_t held) {
    std::atomic<bool> taken{false};
    std::thread taker([&] {
        budget.take(bytes);
        taken = true;
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    const bool waited = !taken;
    budget.give_back(held);
    taker.join();
    return waited;
}

}  // namespace

TEST(MemoryBudgetTest, HoldsABookBackOnlyWhileTheOthersFillTheBudget) {
    MemoryBudget budget(100);
    budget.take(60);
    EXPECT_TRUE(take_waits(budget, 50, 60)) << "60 + 50 passes a budget of 100";
    budget.take(40);  // the 50 taken above and these 40 fit
    budget.give_back(90);

    budget.take(500);  // larger than the budget, with nothing else held
    EXPECT_TRUE(take_waits(budget, 1, 500)) << "nothing goes beside a book larger than the budget";
    budget.give_back(1);
    budget.take(100);  // everything was given back
}
