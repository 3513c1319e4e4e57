#pragma once
// A scripted in-memory MidiBackend: sends are recorded, a replier answers them on the open
// input, each step can be made to fail; the state outlives InstallMidiBackends.

#include "base/Bytes.h"
#include "base/Errors.h"
#include "midi/MidiDevices.h"
#include "midi/Port.h"
#include "tests/support/FailureOf.h"

#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

struct FakeMidiState {
    std::mutex mutex;
    std::vector<MidiPortInfo> inputs, outputs;
    std::vector<Bytes> sent;
    std::vector<std::string> log; // "open out 0", "open in 0", "send", "close in", "close out"
    std::function<std::vector<Bytes>(const Bytes&)> replier;
    MidiMessageHandler handler; // of the open input, if any
    bool failOpenIn = false, failOpenOut = false, failSend = false;
    bool failCloseIn = false, failCloseOut = false;
    std::deque<SendState> progress; // what Progress() says in turn; the last one stays

    // Delivers a message to the open input as the backend's thread would.
    void Deliver(const Bytes& message) {
        std::unique_lock lock(mutex);
        MidiMessageHandler target = handler;
        lock.unlock();
        if (target) target(message);
    }
    int OpenPorts() {
        std::lock_guard lock(mutex);
        int open = 0;
        for (const auto& entry : log)
            open += entry.starts_with("open") ? 1 : entry.starts_with("close") ? -1 : 0;
        return open;
    }
};

// An open port: closing logs once, by Close or the destructor; only Close reports a failure.
template <class Base, bool Input> struct FakeMidiPort : Base {
    explicit FakeMidiPort(std::shared_ptr<FakeMidiState> s) : state(std::move(s)) {}
    ~FakeMidiPort() override { closeOnce(); }
    void closeOnce() {
        if (std::exchange(closed, true)) return;
        std::lock_guard lock(state->mutex);
        if (Input) state->handler = nullptr;
        state->log.push_back(Input ? "close in" : "close out");
    }
    void Close() override {
        closeOnce();
        if (Input ? state->failCloseIn : state->failCloseOut)
            throw std::conditional_t<Input, EMidiIn, EMidiOut>("fake: close refused");
    }
    std::shared_ptr<FakeMidiState> state;
    bool closed = false;
};

struct FakeMidiOutput : FakeMidiPort<MidiOutputPort, false> {
    using FakeMidiPort::FakeMidiPort;
    void Send(std::span<const std::uint8_t> message) override {
        if (state->failSend) throw EMidiOut("fake: send refused");
        Bytes bytes(message.begin(), message.end());
        std::unique_lock lock(state->mutex);
        state->sent.push_back(bytes);
        state->log.push_back("send");
        auto replier = state->replier;
        lock.unlock();
        if (replier)
            for (const auto& reply : replier(bytes))
                state->Deliver(reply);
    }
    SendState Progress(bool) override {
        std::lock_guard lock(state->mutex);
        auto& states = state->progress;
        if (states.empty()) return SendState::Done;
        const SendState now = states.front();
        if (states.size() > 1) states.pop_front();
        return now;
    }
};

class FakeMidiBackend : public MidiBackend {
public:
    explicit FakeMidiBackend(std::shared_ptr<FakeMidiState> state) : state_(std::move(state)) {}

    std::vector<MidiPortInfo> InputPorts() override { return state_->inputs; }
    std::vector<MidiPortInfo> OutputPorts() override { return state_->outputs; }
    std::unique_ptr<MidiOutputPort> OpenOutput(int index) override {
        if (state_->failOpenOut) throw EMidiOut("fake: output refused");
        std::lock_guard lock(state_->mutex);
        state_->log.push_back("open out " + std::to_string(index));
        return std::make_unique<FakeMidiOutput>(state_);
    }
    std::unique_ptr<MidiInputPort> OpenInput(int index, MidiMessageHandler handler) override {
        if (state_->failOpenIn) throw EMidiIn("fake: input refused");
        std::lock_guard lock(state_->mutex);
        state_->log.push_back("open in " + std::to_string(index));
        state_->handler = std::move(handler);
        return std::make_unique<FakeMidiPort<MidiInputPort, true>>(state_);
    }

private:
    std::shared_ptr<FakeMidiState> state_;
};

// A fresh fake as the system backend, an optional second as the virtual device, for one scope.
struct InstalledFake {
    std::shared_ptr<FakeMidiState> system = std::make_shared<FakeMidiState>();
    std::shared_ptr<FakeMidiState> virtualDevice;

    InstalledFake(std::vector<MidiPortInfo> inputs, std::vector<MidiPortInfo> outputs,
                  std::shared_ptr<FakeMidiState> virtualState = nullptr)
        : virtualDevice(std::move(virtualState)) {
        system->inputs = std::move(inputs);
        system->outputs = std::move(outputs);
        InstallMidiBackends(std::make_unique<FakeMidiBackend>(system),
                            virtualDevice ? std::make_unique<FakeMidiBackend>(virtualDevice)
                                          : nullptr);
    }
    ~InstalledFake() { InstallMidiBackends(nullptr, nullptr); }
};

// Log entries, or messages as hex bytes, separated by ", ": one line to compare.
inline std::string Joined(const std::vector<std::string>& entries) {
    std::string text;
    for (const auto& entry : entries)
        text += (text.empty() ? "" : ", ") + entry;
    return text;
}
inline std::string Joined(const std::vector<Bytes>& messages) {
    std::vector<std::string> entries;
    for (const auto& message : messages) {
        std::string& entry = entries.emplace_back();
        for (std::uint8_t byte : message)
            entry += (entry.empty() ? "" : " ") + std::string{"0123456789ABCDEF"[byte >> 4]} +
                     "0123456789ABCDEF"[byte & 15];
    }
    return Joined(entries);
}
