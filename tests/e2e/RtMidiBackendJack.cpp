// The RtMidi backend on a JACK server, against a far end made of two virtual RtMidi ports in
// this process. Run by e2e.sh on its private server; skipped when no server answers.

#include "base/Errors.h"
#include "midi/RtMidiBackend.h"

#include <gtest/gtest.h>
#include <rtmidi/RtMidi.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <mutex>
#include <thread>

namespace {

using namespace std::chrono_literals;
using Message = std::vector<std::uint8_t>;

void quiet(RtMidiError::Type, const std::string&, void*) {}

// The device side, two JACK clients: "LoopRx:In" records what arrives, "LoopTx:Out" sends.
const char* const LoopIn = "LoopRx:In";
const char* const LoopOut = "LoopTx:Out";

class FarEnd {
public:
    FarEnd() : in_(RtMidi::UNIX_JACK, "LoopRx"), out_(RtMidi::UNIX_JACK, "LoopTx") {
        in_.setErrorCallback(&quiet);
        out_.setErrorCallback(&quiet);
        in_.ignoreTypes(false, true, true);
        in_.setCallback(&FarEnd::record, this);
        in_.openVirtualPort("In");
        out_.openVirtualPort("Out");
    }
    ~FarEnd() {
        in_.closePort();
        out_.closePort();
    }

    void Send(const Message& message) { out_.sendMessage(message.data(), message.size()); }

    // Waits until `count` messages have arrived or the time is up; returns what arrived.
    std::vector<Message> Received(std::size_t count, std::chrono::milliseconds limit = 5s) {
        std::unique_lock lock(mutex_);
        arrived_.wait_for(lock, limit, [&] { return received_.size() >= count; });
        return received_;
    }

private:
    static void record(double, std::vector<unsigned char>* message, void* user) {
        auto* end = static_cast<FarEnd*>(user);
        {
            std::lock_guard lock(end->mutex_);
            end->received_.emplace_back(message->begin(), message->end());
        }
        end->arrived_.notify_all();
    }

    std::mutex mutex_;
    std::condition_variable arrived_;
    std::vector<Message> received_;
    RtMidiIn in_;
    RtMidiOut out_;
};

int indexOf(const std::vector<MidiPortInfo>& ports, const std::string& name) {
    auto found = std::find_if(ports.begin(), ports.end(),
                              [&](const MidiPortInfo& port) { return port.name == name; });
    return found == ports.end() ? -1 : static_cast<int>(found - ports.begin());
}

Message sysEx(int number, std::size_t length) {
    Message message(length, static_cast<std::uint8_t>(number & 0x7F));
    message.front() = 0xF0;
    message[1] = static_cast<std::uint8_t>(number >> 7);
    message.back() = 0xF7;
    return message;
}

class RtMidiJack : public ::testing::Test {
protected:
    void SetUp() override {
        if (!std::getenv("JACK_DEFAULT_SERVER")) GTEST_SKIP() << "no private JACK server";
        backend_ = CreateRtMidiBackend("jack");
        far_ = std::make_unique<FarEnd>();
        loopIn_ = indexOf(backend_->OutputPorts(), LoopIn);
        loopOut_ = indexOf(backend_->InputPorts(), LoopOut);
        ASSERT_GE(loopIn_, 0);
        ASSERT_GE(loopOut_, 0);
    }

    std::unique_ptr<MidiBackend> backend_;
    std::unique_ptr<FarEnd> far_;
    int loopIn_ = -1, loopOut_ = -1;
};

// Every exchange opens its own port, sends one message and closes the port at once; nothing
// may be lost on the way, whatever the server's cycle was doing at the close.
TEST_F(RtMidiJack, EveryMessageArrivesThoughEachPortIsClosedRightAfterItsSend) {
    constexpr int Count = 128;
    for (int i = 0; i < Count; ++i) {
        auto port = backend_->OpenOutput(loopIn_);
        port->Send(sysEx(i, 24));
        EXPECT_NE(port->Progress(false), SendState::Failed);
        port->Close();
        std::this_thread::sleep_for(1ms);
    }
    auto received = far_->Received(Count);
    ASSERT_EQ(received.size(), std::size_t{Count});
    for (int i = 0; i < Count; ++i)
        EXPECT_EQ(received[static_cast<std::size_t>(i)], sysEx(i, 24)) << "message " << i;
}

// The device goes away and comes back under the same port names between two exchanges, with
// no exchange tried in between: the server dropped the connection with the old port, so a new
// one is made, and it carries the very first message sent over it (JACK takes a new connection
// into its graph only at a later cycle; a message written before that would be lost).
TEST_F(RtMidiJack, DeviceBackUnderTheSameNamesIsReachedAtOnce) {
    for (int round = 0; round < 20; ++round) {
        far_.reset();
        far_ = std::make_unique<FarEnd>();
        std::atomic<int> replies = 0;
        auto in = backend_->OpenInput(indexOf(backend_->InputPorts(), LoopOut), [&](auto m) {
            if (!m.empty() && m[0] == 0xF0) ++replies;
        });
        auto out = backend_->OpenOutput(indexOf(backend_->OutputPorts(), LoopIn));
        out->Send(sysEx(round, 16));
        out->Close();
        EXPECT_EQ(far_->Received(1, 2s), std::vector<Message>{sysEx(round, 16)})
            << "round " << round;
        // The device answers: the input connection was made afresh too.
        far_->Send(sysEx(round, 8));
        for (int wait = 0; wait < 200 && replies == 0; ++wait)
            std::this_thread::sleep_for(10ms);
        EXPECT_EQ(replies, 1) << "round " << round;
        in->Close();
    }
}

// Messages keep arriving while input ports are opened and closed: a handler is never called
// once its port's Close returned, and each open port does get messages.
TEST_F(RtMidiJack, InputHandlerIsNotCalledAfterClose) {
    std::atomic<bool> sending = true;
    std::thread device([&] {
        while (sending) {
            far_->Send({0x90, 0x40, 0x7F});
            std::this_thread::sleep_for(200us);
        }
    });
    std::atomic<int> lateCalls = 0, servedPorts = 0;
    for (int round = 0; round < 60; ++round) {
        struct Capture {
            std::atomic<bool> closed = false;
            std::atomic<int> calls = 0;
        };
        auto capture = std::make_unique<Capture>();
        auto port = backend_->OpenInput(loopOut_, [&, c = capture.get()](auto message) {
            if (c->closed) ++lateCalls;
            if (!message.empty() && message[0] == 0x90) ++c->calls;
        });
        std::this_thread::sleep_for(std::chrono::milliseconds(5 + round % 7));
        if (round % 2)
            port->Close();
        else
            port.reset();
        capture->closed = true;
        if (capture->calls > 0) ++servedPorts;
        capture.reset();
    }
    sending = false;
    device.join();
    EXPECT_EQ(lateCalls, 0);
    EXPECT_GT(servedPorts, 30);
}

// Our own ports stay open between exchanges; they must not appear in the lists, where they
// would shift the numbers of the others.
TEST_F(RtMidiJack, ListsLeaveOutOurOwnOpenPorts) {
    const auto inputs = backend_->InputPorts(), outputs = backend_->OutputPorts();
    auto in = backend_->OpenInput(loopOut_, [](auto) {});
    auto out = backend_->OpenOutput(loopIn_);
    auto names = [](const std::vector<MidiPortInfo>& ports) {
        std::vector<std::string> result;
        for (const auto& port : ports)
            result.push_back(port.name);
        return result;
    };
    EXPECT_EQ(names(backend_->InputPorts()), names(inputs));
    EXPECT_EQ(names(backend_->OutputPorts()), names(outputs));
    for (const auto& name : names(backend_->InputPorts()))
        EXPECT_EQ(name.find("KelvoLight"), std::string::npos) << name;
}

// A device that goes away gives the open errors; once it is back, exchanges reach it again.
TEST_F(RtMidiJack, PortThatGoesAndComesBackIsServedAgain) {
    backend_->OpenOutput(loopIn_)->Send(sysEx(1, 8));
    ASSERT_EQ(far_->Received(1).size(), 1u);

    far_.reset();
    EXPECT_EQ(indexOf(backend_->OutputPorts(), LoopIn), -1);
    try {
        backend_->OpenOutput(loopIn_);
        FAIL() << "opened a port that is gone";
    } catch (const EMidiOut& e) {
        EXPECT_STREQ(e.what(), "Unable to open midi-out device");
    }
    try {
        backend_->OpenInput(loopOut_, [](auto) {});
        FAIL() << "opened a port that is gone";
    } catch (const EMidiIn& e) {
        EXPECT_STREQ(e.what(), "Unable to open midi-in device");
    }

    far_ = std::make_unique<FarEnd>();
    backend_->OpenOutput(indexOf(backend_->OutputPorts(), LoopIn))->Send(sysEx(2, 8));
    EXPECT_EQ(far_->Received(1), std::vector<Message>{sysEx(2, 8)});
}

} // namespace
