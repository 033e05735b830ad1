// The process's memory budget: charges that fit are counted until they go, the rest is refused,
// and a charge handed on is counted once.
#include "app/memory_budget.h"

#include <gtest/gtest.h>

TEST(MemoryBudget, CountsChargesUntilTheyGoAndRefusesWhatWouldPassTheLimit) {
    MemoryBudget budget(100);
    {
        MemoryCharge first(budget, 60);
        EXPECT_TRUE(first.Held());
        EXPECT_FALSE(MemoryCharge(budget, 41).Held());
        EXPECT_FALSE(budget.TryCharge(UINT64_MAX)) << "no overflow past the limit";
        MemoryCharge second(budget, 40);
        EXPECT_TRUE(second.Held());
        EXPECT_EQ(budget.InUse(), 100u);
        // Handed on: the frame that adopts it gives it back, the rest goes with the charge.
        second.Detach(30);
        MemoryCharge frame = MemoryCharge::Adopt(budget, 30);
        second.Reset();
        EXPECT_EQ(budget.InUse(), 90u);
        MemoryCharge moved = std::move(frame);
        EXPECT_FALSE(frame.Held());
    }
    EXPECT_EQ(budget.InUse(), 0u);
    budget.Release(5);
    EXPECT_EQ(budget.InUse(), 0u) << "never below nothing";
}
