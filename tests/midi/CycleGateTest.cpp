#include "midi/CycleGate.h"

#include "tests/midi/FakeJackWatch.h"

#include <gtest/gtest.h>

using namespace rtbackend;

namespace {

struct Gate {
    std::shared_ptr<FakeJackWatch::State> state = std::make_shared<FakeJackWatch::State>();
    std::shared_ptr<ServerHealth> health = std::make_shared<ServerHealth>();
    CycleGate gate{std::make_unique<FakeJackWatch>(state), health};
};

} // namespace

// Sends wait for the settle cycles after the latest connection; a connection made while the
// count went back never moves the wait earlier.
TEST(CycleGate, SendsWaitUntilEveryConnectionIsInTheGraph) {
    Gate g;
    EXPECT_TRUE(g.gate.WaitUntilOpen());
    g.state->count = 10;
    g.gate.Connected();
    g.state->count = 5;
    g.gate.Connected();
    g.state->count = 14;
    EXPECT_TRUE(g.gate.WaitUntilOpen());
    EXPECT_EQ(g.state->waits, (std::vector<std::uint64_t>{0, 14}));
    EXPECT_FALSE(g.health->unanswering);
}

// A wait that runs out marks the server as not answering; after that nothing is waited for,
// and the watcher is kept rather than destroyed with the gate.
TEST(CycleGate, StalledServerIsNotAskedAgain) {
    std::weak_ptr<FakeJackWatch::State> watched;
    for (bool stall : {false, true}) {
        SCOPED_TRACE(stall);
        {
            Gate g;
            watched = g.state;
            g.state->count = 3;
            EXPECT_EQ(g.gate.WaitFor(stall ? 4 : 3), !stall);
            EXPECT_EQ(g.health->unanswering, stall);
            EXPECT_EQ(g.gate.WaitFor(0), !stall);
            EXPECT_EQ(g.state->waits.size(), stall ? 1u : 2u);
        }
        EXPECT_EQ(watched.expired(), !stall);
    }
}
