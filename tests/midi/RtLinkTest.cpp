#include "midi/RtLink.h"

#include "tests/midi/FakeRtLink.h"

#include <gtest/gtest.h>

using namespace rtbackend;
using namespace std::chrono_literals;

// The port is found again by name in this client's list; a refusal, reported or not, leaves
// the link unconnected with the port closed again.
TEST(RtLink, ConnectsByNameOrNotAtAll) {
    struct Case {
        const char* name;
        bool refuse, fail, connected;
        std::vector<std::string> log;
    } cases[] = {
        {"B:out", false, false, true, {"open 2 Own"}},
        {"C:out", false, false, false, {}},
        {"KelvoLight:KelvoLight In", false, false, false, {}},
        {"A:out", true, false, false, {"open 1 Own", "close"}},
        {"A:out", false, true, false, {"open 1 Own", "close"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        FakeLink link(true);
        link.client->midi.refuse = c.refuse;
        link.client->midi.fail = c.fail;
        link.watch->count = 10;
        std::lock_guard lock(link.midiMutex);
        EXPECT_EQ(link.Connect(c.name, "Own"), c.connected);
        EXPECT_EQ(link.client->midi.log, c.log);
        EXPECT_EQ(link.target, c.connected ? c.name : "");
        link.watch->count = 20;
        EXPECT_TRUE(link.gate->WaitUntilOpen());
        EXPECT_EQ(link.watch->waits.back(), c.connected ? 14u : 0u);
    }
}

// A connection is closed only after the cycles that carry its last message (JACK), or after
// the drain allowance (elsewhere); one that sent nothing closes at once. Ending the link waits
// for the cycles after the close and lets the client go.
TEST(RtLink, ClosesAfterTheLastMessageLeft) {
    for (bool jack : {true, false})
        for (bool sent : {true, false}) {
            SCOPED_TRACE(testing::Message() << "jack " << jack << " sent " << sent);
            std::weak_ptr<FakeClient> client;
            std::shared_ptr<FakeJackWatch::State> watch;
            const auto start = Clock::now();
            {
                FakeLink link(jack);
                client = link.client;
                watch = link.watch;
                std::lock_guard lock(link.midiMutex);
                ASSERT_TRUE(link.Connect("A:out", "Own"));
                link.sent = sent;
                link.lastSend = Clock::now();
                link.lastSendCycle = 20;
                watch->count = 40;
                watch->running = true;
            }
            EXPECT_TRUE(client.expired());
            const auto took = Clock::now() - start;
            EXPECT_EQ(took >= DrainAllowance + SettleBeforeDestroy, !jack && sent);
            EXPECT_EQ(took >= SettleBeforeDestroy, !jack);
            EXPECT_EQ(watch->waits, jack ? (sent ? std::vector<std::uint64_t>{24, 44}
                                                 : std::vector<std::uint64_t>{44})
                                         : std::vector<std::uint64_t>{});
        }
}

// Where the server is watched, the connection is there while the far port lists our end.
TEST(RtLink, StillConnectedWhileTheServerHasOurEnd) {
    FakeLink link(true);
    std::lock_guard lock(link.midiMutex);
    EXPECT_TRUE(link.StillConnected()); // not connected: nothing to lose
    ASSERT_TRUE(link.Connect("A:out", "Own"));
    EXPECT_FALSE(link.StillConnected());
    link.watch->connections["A:out"] = {"KelvoLight-01:Own"};
    EXPECT_TRUE(link.StillConnected());
    FakeLink elsewhere(false);
    std::lock_guard otherLock(elsewhere.midiMutex);
    ASSERT_TRUE(elsewhere.Connect("A:out", "Own"));
    EXPECT_TRUE(elsewhere.StillConnected());
}

// A call that outlives the limit abandons the client: the link is done with it, the server is
// marked as not answering, and the client is kept rather than destroyed.
TEST(RtLink, ClientThatHangsIsAbandoned) {
    std::weak_ptr<FakeClient> client;
    {
        FakeLink link(true);
        client = link.client;
        link.client->midi.hang = MidiCallLimit + 200ms;
        std::lock_guard lock(link.midiMutex);
        EXPECT_FALSE(link.Connect("A:out", "Own"));
        EXPECT_TRUE(link.abandoned);
        EXPECT_TRUE(link.health->unanswering);
        EXPECT_FALSE(link.CallBounded([](RtMidi&) {}));
    }
    EXPECT_FALSE(client.expired());
}

// An unborrowed connection is made afresh when its port left the list, the server dropped it,
// or (where the server is not watched) it was idle longer than the refresh allows.
TEST(RtLink, StaleConnections) {
    const struct {
        bool jack, connected;
        int users;
        const char* listed;
        bool held;
        std::chrono::milliseconds idle;
        bool stale;
    } cases[] = {
        {false, false, 0, "B:out", true, 5000ms, false},
        {false, true, 0, "A:out", true, 10ms, false},
        {false, true, 0, "B:out", true, 10ms, true},
        {false, true, 1, "B:out", true, 5000ms, false},
        {false, true, 0, "A:out", true, 1500ms, true},
        {true, true, 0, "A:out", true, 5000ms, false},
        {true, true, 0, "A:out", false, 10ms, true},
        {true, true, 0, "B:out", true, 10ms, true},
        {true, true, 2, "A:out", false, 10ms, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "jack " << c.jack << " listed " << c.listed << " held "
                                        << c.held << " users " << c.users);
        FakeLink link(c.jack);
        if (c.held) link.watch->connections["A:out"] = {"KelvoLight:Own"};
        std::lock_guard lock(link.midiMutex);
        if (c.connected) {
            ASSERT_TRUE(link.Connect("A:out", "Own"));
        }
        link.users = c.users;
        const auto now = Clock::now();
        link.lastUse = now - c.idle;
        EXPECT_EQ(link.Stale({{0, c.listed}}, now), c.stale);
        link.users = 0;
    }
}
