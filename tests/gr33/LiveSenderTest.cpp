// The live sender against the in-process GR-33: coalescing, turns with the exchanges on the
// MIDI-OUT port, and the end of sending at the first failure.
#include "gr33/LiveSender.h"

#include "base/Errors.h"
#include "gr33/Exchange.h"
#include "gr33/PatchNumber.h"
#include "midi/MidiDevices.h"
#include "sim/VirtualGr33.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

namespace {

// How many output ports of the device are open at once, at most; sends refused on request.
struct PortWatch {
    std::atomic<int> open{0}, most{0};
    std::atomic<bool> refuse{false};
};

class WatchedOutput : public MidiOutputPort {
public:
    WatchedOutput(std::unique_ptr<MidiOutputPort> port, PortWatch& watch)
        : port_(std::move(port)), watch_(watch) {
        const int now = ++watch_.open;
        int most = watch_.most;
        while (now > most && !watch_.most.compare_exchange_weak(most, now)) {
        }
    }
    ~WatchedOutput() override { --watch_.open; }
    void Send(std::span<const std::uint8_t> message) override {
        if (watch_.refuse) throw EMidiOut("refused");
        port_->Send(message);
    }
    SendState Progress(bool mindDrops) override { return port_->Progress(mindDrops); }
    void Close() override { port_->Close(); }

private:
    std::unique_ptr<MidiOutputPort> port_;
    PortWatch& watch_;
};

class WatchedDevice : public MidiBackend {
public:
    WatchedDevice(VirtualGr33& device, PortWatch& watch) : device_(device), watch_(watch) {}
    std::vector<MidiPortInfo> InputPorts() override { return device_.InputPorts(); }
    std::vector<MidiPortInfo> OutputPorts() override { return device_.OutputPorts(); }
    std::unique_ptr<MidiOutputPort> OpenOutput(int index) override {
        return std::make_unique<WatchedOutput>(device_.OpenOutput(index), watch_);
    }
    std::unique_ptr<MidiInputPort> OpenInput(int index, MidiMessageHandler handler) override {
        return device_.OpenInput(index, std::move(handler));
    }

private:
    VirtualGr33& device_;
    PortWatch& watch_;
};

class LiveSending : public ::testing::Test {
protected:
    LiveSending() { InstallMidiBackends(nullptr, std::make_unique<WatchedDevice>(device, watch)); }
    ~LiveSending() override { InstallMidiBackends(nullptr, nullptr); }

    static PatchBytes Numbered(int k) {
        PatchBytes bytes;
        bytes.fill(static_cast<std::uint8_t>(k % 100 + 1));
        return bytes;
    }
    PatchBytes DeviceTemp() const {
        PatchBytes bytes{};
        device.Inspect([&](const Gr33Device& d) { bytes = d.Bank().Patch(TempPatchNumber); });
        return bytes;
    }
    int Stored() const {
        int stored = 0;
        device.Inspect([&](const Gr33Device& d) { stored = d.Stored(); });
        return stored;
    }

    PortWatch watch;
    VirtualGr33 device{std::make_unique<Gr33Device>(std::make_unique<SimBank>())};
    std::vector<std::string> failures;
    LiveSender sender{[this](const std::string& text) { failures.push_back(text); }};
};

TEST_F(LiveSending, BurstsEndOnTheLastPatchWithAtMostTwoMessagesAfterTheFirst) {
    int posted = 0;
    for (int burst : {1, 2, 100, 100}) {
        SCOPED_TRACE(burst);
        const int before = Stored();
        for (int k = 0; k < burst; ++k)
            sender.Post(1, Numbered(++posted));
        sender.WaitIdle();
        EXPECT_GE(Stored() - before, 1);
        EXPECT_LE(Stored() - before, std::min(burst, 3));
        EXPECT_EQ(DeviceTemp(), Numbered(posted));
    }
    EXPECT_TRUE(failures.empty());
    EXPECT_EQ(watch.most, 1);
}

TEST_F(LiveSending, ExchangesAndLiveSendsNeverShareThePort) {
    std::atomic<bool> done{false};
    std::thread editing([&] {
        for (int k = 1; !done; ++k) {
            sender.Post(1, Numbered(k));
            std::this_thread::sleep_for(std::chrono::milliseconds(7));
        }
    });
    int answers = 0;
    for (int round = 0; round < 4; ++round) {
        answers += TestDevice(1, 1) == DeviceAnswer::Found;
        TPatch user;
        user.ReceiveFromDevice(1, 1, 5);
        EXPECT_FALSE(user.IsEmpty());
        TPatch sent;
        std::ranges::copy(Numbered(77), sent.Data());
        EXPECT_TRUE(sent.SendToDevice(1, 9));
    }
    done = true;
    editing.join();
    sender.WaitIdle();
    EXPECT_EQ(answers, 4);
    // The live sends went on between the exchanges, each port open alone.
    EXPECT_GE(Stored() - 4, 2);
    EXPECT_EQ(watch.most, 1);
    EXPECT_TRUE(failures.empty());
}

TEST_F(LiveSending, TheFirstFailureIsToldOnceAndEndsSending) {
    struct Case {
        const char* what;
        int device;
        bool refuse;
        PatchBytes patch;
        const char* text;
    };
    const std::vector<Case> cases = {
        {"no such port", 7, false, Numbered(1), "Unable to open midi-out device"},
        {"port refuses", 1, true, Numbered(1), "Unable to send data to open midi-out device"},
        {"empty patch", 1, false, PatchBytes{}, "Unable to send patch"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        failures.clear();
        watch.refuse = c.refuse;
        LiveSender failing([this](const std::string& text) { failures.push_back(text); });
        for (int k = 0; k < 3; ++k) {
            failing.Post(c.device, c.patch);
            failing.WaitIdle();
        }
        EXPECT_TRUE(failing.Failed());
        EXPECT_EQ(failures, std::vector<std::string>{c.text});
        EXPECT_EQ(Stored(), 0);
    }
    EXPECT_FALSE(sender.Failed());
}

} // namespace
