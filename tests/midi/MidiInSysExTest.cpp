#include "midi/MidiInSysEx.h"

#include "base/Errors.h"
#include "tests/midi/FakeMidiBackend.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;

Bytes sysEx(std::size_t length) {
    Bytes message(length, 0x11);
    message.front() = 0xF0;
    for (std::size_t i = 1; i + 1 < length; ++i)
        message[i] = static_cast<std::uint8_t>(i);
    message.back() = 0xF7;
    return message;
}

class Receiver : public ::testing::Test {
protected:
    InstalledFake fake{{{"In", TMidiTechnology::mtMidiPort}}, {}};
};

TEST_F(Receiver, OnlyTheFirstSysExIsCapturedAndShortMessagesAreIgnored) {
    TMidiReceiver receiver(1, 512);
    fake.system->Deliver({0x90, 0x3C, 0x64});
    fake.system->Deliver({0xF8});
    Bytes stream;
    EXPECT_FALSE(receiver.WaitForStream(0, stream)); // a short message does not signal
    const Bytes first = sysEx(6);
    fake.system->Deliver(first);
    fake.system->Deliver(sysEx(9));
    stream = {0xAA};
    ASSERT_TRUE(receiver.WaitForStream(0, stream));
    Bytes expected(first.size() + 1, 0xAA);
    std::copy(first.begin(), first.end(), expected.begin() + 1);
    EXPECT_EQ(stream, expected); // appended, and the later message did not overwrite it
    // The capture is handed out once; the second wait times out.
    EXPECT_FALSE(receiver.WaitForStream(20, stream));
    EXPECT_EQ(stream, expected);
}

TEST_F(Receiver, TimeoutDeliversNothingAfterWaitingItsTime) {
    TMidiReceiver receiver(1, 512);
    std::string text = "unchanged";
    const auto start = Clock::now();
    EXPECT_FALSE(receiver.WaitForString(100, text));
    EXPECT_GE(Clock::now() - start, std::chrono::milliseconds(100));
    EXPECT_EQ(text, "unchanged");
}

TEST_F(Receiver, ReplyFromTheBackendThreadWakesTheWaiter) {
    TMidiReceiver receiver(1, 512);
    const Bytes reply = sysEx(140);
    std::thread device([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(30));
        fake.system->Deliver(reply);
    });
    Bytes stream;
    const bool came = receiver.WaitForStream(5000, stream);
    device.join();
    ASSERT_TRUE(came);
    EXPECT_EQ(stream, reply);
}

TEST_F(Receiver, DeviceNumberAboveTheCountCannotBeOpened) {
    try {
        TMidiReceiver receiver(2, 16);
        FAIL();
    } catch (const EMidiIn& e) {
        EXPECT_STREQ(e.what(), "Unable to open midi-in device");
    }
}

TEST_F(Receiver, CloseStopsDeliveryAndReportsAFailedClose) {
    {
        TMidiReceiver receiver(1, 16);
        receiver.Close();
        EXPECT_EQ(fake.system->OpenPorts(), 0);
        fake.system->Deliver(sysEx(6)); // no handler left: nothing reaches the receiver
        std::string text;
        EXPECT_FALSE(receiver.WaitForString(0, text));
        receiver.Close(); // a second close does nothing
    }
    fake.system->failCloseIn = true;
    TMidiReceiver receiver(1, 16);
    try {
        receiver.Close();
        FAIL();
    } catch (const EMidiIn& e) {
        EXPECT_STREQ(e.what(), "Unable to close midi-in device ");
    }
    EXPECT_EQ(fake.system->OpenPorts(), 0);
}

TEST_F(Receiver, DestroyingAnUnusedReceiverReleasesEverythingSilently) {
    fake.system->failCloseIn = true; // only the explicit Close reports
    EXPECT_NO_THROW({ TMidiReceiver receiver(1, 512); });
    EXPECT_EQ(fake.system->OpenPorts(), 0);
}

} // namespace
