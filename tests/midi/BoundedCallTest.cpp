#include "midi/BoundedCall.h"

#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>

using namespace std::chrono_literals;

// A call that returns in time is waited for, and what it raises comes through; one that does
// not is left to finish alone, still owning what it uses, and the caller goes on at the limit.
TEST(BoundedCall, WaitsNoLongerThanTheLimit) {
    auto owned = std::make_shared<std::atomic<int>>(0);
    EXPECT_TRUE(CallBounded([owned] { *owned = 1; }, 1s));
    EXPECT_EQ(*owned, 1);
    EXPECT_THROW(CallBounded([] { throw std::runtime_error("no"); }, 1s), std::runtime_error);

    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(CallBounded(
        [owned] {
            std::this_thread::sleep_for(300ms);
            *owned = 2;
        },
        50ms));
    EXPECT_LT(std::chrono::steady_clock::now() - start, 250ms);
    EXPECT_EQ(owned.use_count(), 2); // the abandoned call still holds it
    while (owned.use_count() > 1)
        std::this_thread::sleep_for(10ms);
    EXPECT_EQ(*owned, 2);
}
