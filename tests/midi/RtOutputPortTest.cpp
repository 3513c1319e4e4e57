#include "midi/RtOutputPort.h"

#include "base/Errors.h"
#include "tests/midi/FakeRtLink.h"

#include <gtest/gtest.h>

using namespace rtbackend;

// A send fails when the port is closed, the server is gone, the connection is not yet part of
// the server's graph, or RtMidi reports anything, a warning included. Where the server is not
// watched a message is done at once; on JACK as the cycles after its send tell.
TEST(RtOutputPort, SendsOnlyIntoTheServersGraph) {
    using enum SendState;
    const struct {
        bool jack, gone, inGraph;
        std::optional<RtMidiError::Type> report;
        bool sends;
        SendState progress; // 20 cycles after the send
    } cases[] = {
        {false, false, true, std::nullopt, true, Done},
        {false, false, true, RtMidiError::WARNING, false, Done},
        {false, false, true, RtMidiError::DRIVER_ERROR, false, Done},
        {true, false, true, std::nullopt, true, Done},
        {true, false, true, RtMidiError::DEBUG_WARNING, false, Done},
        {true, false, false, std::nullopt, false, Done},
        {true, true, true, std::nullopt, false, Failed},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "jack " << c.jack << " gone " << c.gone << " in graph "
                                        << c.inGraph << " report " << c.report.has_value());
        auto link = std::make_shared<FakeLink>(c.jack);
        link->watch->connections["A:out"] = {"KelvoLight:Own"};
        {
            std::lock_guard lock(link->midiMutex);
            link->watch->count = c.inGraph ? 96 : 100;
            ASSERT_TRUE(link->Connect("A:out", "Own"));
            link->watch->count = 100;
            link->report = c.report;
            link->users = 1;
        }
        RtOutputPort port(link);
        link->watch->gone = c.gone;
        const std::uint8_t message[] = {0xF0, 0x41, 0xF7};
        bool sent = true;
        try {
            port.Send(message);
        } catch (const EMidiOut& e) {
            EXPECT_STREQ(e.what(), "Unable to send data to open midi-out device");
            sent = false;
        }
        EXPECT_EQ(sent, c.sends);
        EXPECT_EQ(link->client->midi.log.back() == "send 3", c.sends || c.report);
        EXPECT_EQ(link->sent, c.sends || c.report.has_value());
        link->watch->count = 120;
        EXPECT_EQ(port.Progress(true), c.progress);
        port.Close();
        EXPECT_EQ(link->users, 0);
        EXPECT_EQ(port.Progress(false), Failed);
        EXPECT_THROW(port.Send(message), EMidiOut);
        port.Close();
        EXPECT_EQ(link->users, 0);
    }
}

// On JACK the message counts from the cycle in which it was sent.
TEST(RtOutputPort, ProgressCountsFromTheSendCycle) {
    auto link = std::make_shared<FakeLink>(true);
    link->watch->connections["A:out"] = {"KelvoLight-01:Own"};
    {
        std::lock_guard lock(link->midiMutex);
        ASSERT_TRUE(link->Connect("A:out", "Own"));
    }
    RtOutputPort port(link);
    link->watch->count = 50;
    port.Send(std::vector<std::uint8_t>{0xF8});
    EXPECT_EQ(link->lastSendCycle, 50u);
    for (auto [count, state] : std::vector<std::pair<std::uint64_t, SendState>>{
             {57, SendState::Pending}, {58, SendState::Done}}) {
        link->watch->count = count;
        EXPECT_EQ(port.Progress(true), state) << count;
    }
    link->watch->xruns = {58};
    EXPECT_EQ(port.Progress(true), SendState::Dropped);
    EXPECT_EQ(port.Progress(false), SendState::Done);
    link->watch->connections["A:out"].clear();
    EXPECT_EQ(port.Progress(false), SendState::Failed);
}
