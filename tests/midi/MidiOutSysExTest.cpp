#include "midi/MidiOutSysEx.h"

#include "base/Errors.h"
#include "midi/NoteConversion.h"
#include "tests/midi/FakeMidiBackend.h"

#include <gtest/gtest.h>

#include <chrono>

namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

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
// request never does, and a server or far port that went away fails the send at once.
TEST_F(Sender, DroppedMessagesAreRepeatedOnlyWhenThatIsHarmless) {
    using enum SendState;
    using R = TMidiSender::Repeat;
    struct Case {
        std::deque<SendState> states;
        R repeat;
        std::size_t handOvers;
        bool fails;
    } cases[] = {
        {{Dropped, Dropped, Done}, R::Harmless, 3, false},
        {{Dropped}, R::No, 1, false},
        {{Dropped, Failed}, R::Harmless, 2, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.handOvers);
        fake.system->sent.clear();
        fake.system->progress = c.states;
        TMidiSender sender(1);
        const auto start = Clock::now();
        bool failed = false;
        try {
            sender.SendSysEx(Bytes{0xF0, 0x41, 0xF7}, c.repeat);
        } catch (const EMidiOut& e) {
            EXPECT_STREQ(e.what(), "Unable to send data to open midi-out device");
            failed = true;
        }
        EXPECT_EQ(failed, c.fails);
        EXPECT_EQ(sent().size(), c.handOvers);
        EXPECT_LT(Clock::now() - start, 1s); // no wait for the completion bound
    }
}

// Neither a message that never completes nor one dropped again and again holds the send
// past the bound of its first hand-over (by more than a few polls).
TEST_F(Sender, SysExThatNeverCompletesFailsAfterTheBound) {
    for (SendState state : {SendState::Pending, SendState::Dropped}) {
        fake.system->sent.clear();
        fake.system->progress = {state};
        TMidiSender sender(1);
        const auto start = Clock::now();
        try {
            sender.SendSysEx(Bytes{0xF0, 0xF7}, TMidiSender::Repeat::Harmless);
            FAIL();
        } catch (const EMidiOut& e) {
            EXPECT_STREQ(e.what(), "Unable to send data to open midi-out device");
        }
        EXPECT_GE(Clock::now() - start, 2s);
        EXPECT_LT(Clock::now() - start, 3s);
        EXPECT_EQ(sent().size() > 1, state == SendState::Dropped);
    }
}

TEST_F(Sender, FailedHandOversCarryTheirTexts) {
    fake.system->failSend = true;
    TMidiSender sender(1);
    try {
        sender.SendSysEx(Bytes{0xF0, 0xF7});
        FAIL();
    } catch (const EMidiOut& e) {
        EXPECT_STREQ(e.what(), "Unable to send data to open midi-out device");
    }
    try {
        sender.SendShort(0x90, 60, 100);
        FAIL();
    } catch (const EMidiOut& e) {
        EXPECT_STREQ(e.what(), "Unable to send command to midi-out device");
    }
}

TEST_F(Sender, ShortMessagesArePackedAndSentAsLongAsTheStatusNeeds) {
    EXPECT_EQ(PackShortMessage(0x90, 60, 100), 0x643C90u);
    TMidiSender sender(1);
    sender.SendShort(0x90, 60, 100);
    sender.SendShort(0xC3, 5, 99);  // program change: the second data byte is not sent
    sender.SendShort(0xD0, 64, 99); // channel pressure likewise
    sender.SendShort(0xE1, 0, 64);
    sender.SendShort(0xF8, 1, 2); // clock: status only
    EXPECT_EQ(sent(),
              (std::vector<Bytes>{
                  {0x90, 0x3C, 0x64}, {0xC3, 0x05}, {0xD0, 0x40}, {0xE1, 0x00, 0x40}, {0xF8}}));
}

TEST_F(Sender, ChannelMessagesOfTheNoteFunctions) {
    TMidiSender sender(1);
    SendAllSoundOff(sender, 15);
    SendNoteOn(sender, 2, 69, 127);
    SendNoteOff(sender, 2, 69, 0);
    SendProgramChange(sender, 9, 127);
    EXPECT_EQ(sent(), (std::vector<Bytes>{
                          {0xBF, 0x78, 0x00}, {0x92, 69, 127}, {0x82, 69, 0}, {0xC9, 127}}));
}

TEST_F(Sender, OpenAndCloseFailures) {
    try {
        TMidiSender sender(0); // the mapper stand-in
        FAIL();
    } catch (const EMidiOut& e) {
        EXPECT_STREQ(e.what(), "Unable to open midi-out device");
    }
    fake.system->failCloseOut = true;
    {
        TMidiSender silent(1); // the destructor does not raise
    }
    TMidiSender sender(1);
    try {
        sender.Close();
        FAIL();
    } catch (const EMidiOut& e) {
        EXPECT_STREQ(e.what(), "Unable to close midi-out device");
    }
    EXPECT_EQ(fake.system->OpenPorts(), 0);
    EXPECT_THROW(sender.SendShort(0x90, 1, 1), EMidiOut); // closed stays closed
}

} // namespace
