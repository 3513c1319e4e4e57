#include "midi/MidiOutSysEx.h"

#include "base/Errors.h"
#include "midi/NoteConversion.h"
#include "tests/midi/FakeMidiBackend.h"

#include <gtest/gtest.h>

#include <chrono>

namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;
const std::string dataFailed = "Unable to send data to open midi-out device";

std::string failureOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const EMidiOut& e) {
        return e.what();
    }
    return "";
}

class Sender : public ::testing::Test {
protected:
    InstalledFake fake{{}, {{"Out", TMidiTechnology::mtMidiPort}}};
    const std::vector<Bytes>& sent() const { return fake.system->sent; }
};

TEST_F(Sender, SysExWaitsForItsWireTimeAndOnePoll) {
    TMidiSender sender(1);
    const Bytes message(140, 0x00);
    const auto start = Clock::now();
    sender.SendSysEx(message);
    // 140 bytes at 320 us each, then the first 5 ms poll. Only a lower bound: machines vary.
    EXPECT_GE(Clock::now() - start, 44800us + 5ms - 100us);
    EXPECT_EQ(sent(), std::vector<Bytes>{message});
}

// A data message the server reports dropped goes out again, within the completion bound; a
// request never does, and a server or far port that went away fails the send at once. A
// message that never completes, or is dropped again and again, fails at the bound of its
// first hand-over (give or take a few polls).
TEST_F(Sender, DroppedMessagesAreRepeatedOnlyWhenThatIsHarmless) {
    using enum SendState;
    using R = TMidiSender::Repeat;
    struct Case {
        std::deque<SendState> states;
        R repeat;
        std::size_t handOvers; // 9 for "more than one"
        bool fails;
        std::chrono::seconds took;
    } cases[] = {
        {{Done}, R::Harmless, 1, false, 0s},
        {{Pending, Pending, Done}, R::No, 1, false, 0s},
        {{Dropped, Dropped, Done}, R::Harmless, 3, false, 0s},
        {{Dropped}, R::No, 1, false, 0s},
        {{Failed}, R::No, 1, true, 0s},
        {{Dropped, Failed}, R::Harmless, 2, true, 0s},
        {{Pending}, R::Harmless, 1, true, 2s},
        {{Dropped}, R::Harmless, 9, true, 2s},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.states.size() << " " << int(c.states.front()));
        fake.system->sent.clear();
        fake.system->progress = c.states;
        TMidiSender sender(1);
        const auto start = Clock::now();
        EXPECT_EQ(failureOf([&] {
                      sender.SendSysEx(Bytes{0xF0, 0x41, 0xF7}, c.repeat);
                  }),
                  c.fails ? dataFailed : "");
        EXPECT_EQ(std::min<std::size_t>(sent().size(), 9), c.handOvers);
        EXPECT_GE(Clock::now() - start, c.took);
        EXPECT_LT(Clock::now() - start, c.took + 1s);
    }
}

// Short messages are as long as their status needs; the note functions build channel messages.
TEST_F(Sender, ShortMessages) {
    EXPECT_EQ(PackShortMessage(0x90, 60, 100), 0x643C90u);
    const std::pair<std::uint8_t, std::size_t> lengths[] = {
        {0x80, 3}, {0xBF, 3}, {0xC0, 2}, {0xCF, 2}, {0xD3, 2}, {0xE1, 3}, {0xF0, 3}, {0xF1, 2},
        {0xF2, 3}, {0xF3, 2}, {0xF4, 3}, {0xF6, 1}, {0xF7, 3}, {0xF8, 1}, {0xFE, 1}, {0xFF, 1}};
    TMidiSender sender(1);
    for (auto [status, length] : lengths) {
        SCOPED_TRACE(int(status));
        EXPECT_EQ(ShortMessageLength(status), length);
        sender.SendShort(status, 0x3C, 0x64);
        const Bytes full{status, 0x3C, 0x64};
        EXPECT_EQ(sent().back(), Bytes(full.begin(), full.begin() + static_cast<long>(length)));
    }
    fake.system->sent.clear();
    SendAllSoundOff(sender, 15);
    SendNoteOn(sender, 2, 69, 127);
    SendNoteOff(sender, 2, 69, 0);
    SendProgramChange(sender, 9, 127);
    EXPECT_EQ(sent(), (std::vector<Bytes>{
                          {0xBF, 0x78, 0x00}, {0x92, 69, 127}, {0x82, 69, 0}, {0xC9, 127}}));
}

TEST_F(Sender, FailuresCarryTheirTexts) {
    EXPECT_EQ(failureOf([] { TMidiSender mapper(0); }), "Unable to open midi-out device");
    fake.system->failSend = true;
    fake.system->failCloseOut = true;
    { TMidiSender silent(1); } // the destructor does not raise
    TMidiSender sender(1);
    EXPECT_EQ(failureOf([&] { sender.SendSysEx(Bytes{0xF0, 0xF7}); }), dataFailed);
    EXPECT_EQ(failureOf([&] { sender.SendShort(0x90, 60, 100); }),
              "Unable to send command to midi-out device");
    EXPECT_EQ(failureOf([&] { sender.Close(); }), "Unable to close midi-out device");
    EXPECT_EQ(fake.system->OpenPorts(), 0);
    fake.system->failSend = false;
    EXPECT_EQ(failureOf([&] { sender.SendShort(0x90, 1, 1); }), // closed stays closed
              "Unable to send command to midi-out device");
    EXPECT_EQ(failureOf([&] { sender.SendSysEx(Bytes{0xF0, 0xF7}); }), dataFailed);
    EXPECT_NO_THROW(sender.Close());
    EXPECT_TRUE(sent().empty());
}

} // namespace
