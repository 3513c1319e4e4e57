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
    message.back() = 0xF7;
    return message;
}

class Receiver : public ::testing::Test {
protected:
    InstalledFake fake{{{"In", TMidiTechnology::mtMidiPort}}, {}};
};

// Short messages neither count nor signal; the first SysEx message, from the backend's thread,
// wakes the waiter and is appended once; later ones do not overwrite it.
TEST_F(Receiver, CapturesTheFirstSysExOnce) {
    TMidiReceiver receiver(1, 512);
    fake.system->Deliver({0x90, 0x3C, 0x64});
    fake.system->Deliver({0xF8});
    Bytes stream{0xAA};
    EXPECT_FALSE(receiver.WaitForStream(0, stream));
    Bytes first = sysEx(140);
    first[1] = 0x41;
    std::thread device([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(30));
        fake.system->Deliver(first);
        fake.system->Deliver(sysEx(9));
    });
    const bool came = receiver.WaitForStream(5000, stream);
    device.join();
    ASSERT_TRUE(came);
    Bytes expected{0xAA};
    expected.insert(expected.end(), first.begin(), first.end());
    EXPECT_EQ(stream, expected);
    EXPECT_FALSE(receiver.WaitForStream(20, stream));
    EXPECT_EQ(stream, expected);
    std::string text = "unchanged";
    const auto start = Clock::now();
    EXPECT_FALSE(receiver.WaitForString(100, text));
    EXPECT_GE(Clock::now() - start, std::chrono::milliseconds(100));
    EXPECT_EQ(text, "unchanged");
}

// A message longer than the buffer is cut to its size; with no room, nothing is delivered.
TEST_F(Receiver, DeliversWhatTheBufferHolds) {
    for (int size : {-1, 0, 1, 5, 6, 7}) {
        SCOPED_TRACE(size);
        const Bytes message{0xF0, 0x41, 0x10, 0x42, 0x12, 0xF7};
        const auto kept = static_cast<std::size_t>(std::clamp(size, 0, 6));
        for (bool asText : {false, true}) {
            TMidiReceiver receiver(1, size);
            fake.system->Deliver(message);
            std::string text = "x"; // replaced
            Bytes stream{0x01};     // appended to
            EXPECT_EQ(asText ? receiver.WaitForString(-5, text)
                             : receiver.WaitForStream(-5, stream),
                      kept > 0);
            if (!kept) continue;
            const Bytes got =
                asText ? Bytes(text.begin(), text.end()) : Bytes(stream.begin() + 1, stream.end());
            EXPECT_EQ(got, Bytes(message.begin(), message.begin() + static_cast<long>(kept)));
        }
    }
}

// Close stops delivery and reports a failed close; a second Close and the destructor after a
// failed one or none are silent, and every port ends closed.
TEST_F(Receiver, OpeningAndClosing) {
    EXPECT_THROW(
        {
            try {
                TMidiReceiver receiver(2, 16);
            } catch (const EMidiIn& e) {
                EXPECT_STREQ(e.what(), "Unable to open midi-in device");
                throw;
            }
        },
        EMidiIn);
    for (bool failing : {false, true}) {
        fake.system->failCloseIn = failing;
        EXPECT_NO_THROW({ TMidiReceiver unused(1, 512); });
        TMidiReceiver receiver(1, 16);
        try {
            receiver.Close();
            EXPECT_FALSE(failing);
        } catch (const EMidiIn& e) {
            EXPECT_TRUE(failing);
            EXPECT_STREQ(e.what(), "Unable to close midi-in device ");
        }
        EXPECT_EQ(fake.system->OpenPorts(), 0);
        fake.system->Deliver(sysEx(6));
        std::string text;
        EXPECT_FALSE(receiver.WaitForString(0, text));
        EXPECT_NO_THROW(receiver.Close());
    }
}

} // namespace
