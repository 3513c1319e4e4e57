#include "midi/XrunLog.h"

#include <gtest/gtest.h>

TEST(XrunLog, ReportsWithinTheRangeBothEndsIncluded) {
    XrunLog log;
    EXPECT_FALSE(log.Between(0, 1000));
    log.Add(10);
    for (auto [first, last, found] : std::vector<std::tuple<int, int, bool>>{
             {10, 10, true}, {5, 10, true}, {10, 20, true}, {11, 20, false}, {0, 9, false}}) {
        SCOPED_TRACE(testing::Message() << first << ".." << last);
        EXPECT_EQ(log.Between(first, last), found);
    }
    // Only the latest reports are kept.
    for (std::uint64_t cycle = 100; cycle < 100 + XrunLog::Kept; ++cycle)
        log.Add(cycle);
    EXPECT_FALSE(log.Between(0, 99));
    EXPECT_TRUE(log.Between(100, 100));
}
