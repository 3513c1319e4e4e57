#include "midi/JackSendState.h"

#include "tests/midi/FakeJackWatch.h"

#include <gtest/gtest.h>

using namespace rtbackend;

// A message sent in cycle 100 is known to have left once the count reaches 108 (settle cycles
// plus the cycles by which an xrun report arrives), without an xrun from 100 to 108.
TEST(JackSendState, FollowsTheCyclesXrunsAndConnection) {
    using enum SendState;
    struct Case {
        bool gone, mindDrops;
        std::uint64_t count;
        std::vector<std::uint64_t> xruns;
        bool connected;
        SendState expected;
        bool asksConnection;
    } cases[] = {
        {true, true, 200, {}, true, Failed, false},
        {true, false, 200, {}, true, Failed, false},
        {false, false, 100, {100}, true, Done, true},
        {false, false, 100, {}, false, Failed, true},
        {false, true, 107, {}, true, Pending, false},
        {false, true, 108, {}, true, Done, true},
        {false, true, 108, {}, false, Failed, true},
        {false, true, 108, {100}, true, Dropped, true},
        {false, true, 300, {108}, true, Dropped, true},
        {false, true, 300, {99, 109}, true, Done, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.count << " gone " << c.gone << " mind " << c.mindDrops
                                        << " connected " << c.connected);
        auto state = std::make_shared<FakeJackWatch::State>();
        state->gone = c.gone;
        state->count = c.count;
        state->xruns = c.xruns;
        FakeJackWatch watch(state);
        int asked = 0;
        EXPECT_EQ(JackSendState(watch, 100, c.mindDrops,
                                [&] {
                                    ++asked;
                                    return c.connected;
                                }),
                  c.expected);
        EXPECT_EQ(asked > 0, c.asksConnection);
    }
}
