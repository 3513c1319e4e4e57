#pragma once
// A link of the RtMidi backend over a scripted client, with or without a watched server.

#include "midi/RtOutputPort.h"

#include <algorithm>
#include <map>
#include <optional>
#include <thread>

namespace rtbackend {

// A JackWatch set by the test; WaitFor records its target and, if running, moves the count there.
struct FakeJackWatch : JackWatch {
    struct State {
        std::uint64_t count = 0;
        std::vector<std::uint64_t> xruns, waits;
        bool gone = false, running = false;
        std::map<std::string, std::vector<std::string>> connections;
    };
    explicit FakeJackWatch(std::shared_ptr<State> s) : state(std::move(s)) {}

    std::uint64_t Count() const override { return state->count; }
    bool XrunBetween(std::uint64_t first, std::uint64_t last) const override {
        return std::any_of(state->xruns.begin(), state->xruns.end(),
                           [&](std::uint64_t x) { return first <= x && x <= last; });
    }
    bool Gone() const override { return state->gone; }
    void FollowDevice(const std::string&) override {}
    bool WaitFor(std::uint64_t target, std::chrono::milliseconds) const override {
        state->waits.push_back(target);
        if (state->running) state->count = std::max(state->count, target);
        return state->count >= target;
    }
    std::optional<std::vector<std::string>> Connections(const std::string& name) const override {
        auto found = state->connections.find(name);
        if (found == state->connections.end()) return std::nullopt;
        return found->second;
    }

    std::shared_ptr<State> state;
};

// An RtMidi client whose ports are a list of names; it logs what it is asked to do.
struct FakeRtMidi : RtMidi {
    std::vector<std::string> names{"KelvoLight:KelvoLight In", "A:out", "B:out"};
    std::vector<std::string> log;
    ErrorSink* errors = nullptr;
    bool refuse = false, fail = false, open = false;
    std::chrono::milliseconds hang{0};

    void openPort(unsigned index, const std::string& name) override {
        std::this_thread::sleep_for(hang);
        log.push_back("open " + std::to_string(index) + " " + name);
        if (fail) ErrorSink::Collect(RtMidiError::DRIVER_ERROR, "", errors);
        open = !refuse;
    }
    void openVirtualPort(const std::string&) override {}
    unsigned getPortCount() override { return static_cast<unsigned>(names.size()); }
    std::string getPortName(unsigned index) override { return names.at(index); }
    void closePort() override {
        log.push_back("close");
        open = false;
    }
    bool isPortOpen() const override { return open; }
    void setErrorCallback(RtMidiErrorCallback, void*) override {}
};

struct FakeClient {
    ErrorSink errors;
    FakeRtMidi midi;
};

// The link of a fresh client; on JACK its gate watches `watch`.
struct FakeLink : SendingLink {
    explicit FakeLink(bool jack) : SendingLink(std::make_shared<ServerHealth>()) {
        client->midi.errors = &client->errors;
        if (jack)
            gate = std::make_shared<CycleGate>(std::make_unique<FakeJackWatch>(watch), health);
    }
    ~FakeLink() override { End(); }
    RtMidi& Midi() override { return client->midi; }
    std::shared_ptr<void> Client() override { return client; }
    std::shared_ptr<void> TakeClient() override { return std::move(client); }
    ErrorSink& Errors() override { return client->errors; }
    void SendMessage(std::span<const std::uint8_t> message) override {
        client->midi.log.push_back("send " + std::to_string(message.size()));
        if (report) ErrorSink::Collect(*report, "", &client->errors);
    }
    // Connects to "A:out" as "Own" with the count at `count`.
    bool ConnectA(std::uint64_t count = 0) {
        std::lock_guard lock(midiMutex);
        watch->count = count;
        return Connect("A:out", "Own");
    }

    std::shared_ptr<FakeJackWatch::State> watch = std::make_shared<FakeJackWatch::State>();
    std::shared_ptr<FakeClient> client = std::make_shared<FakeClient>();
    std::optional<RtMidiError::Type> report; // what RtMidi reports on a send
};

} // namespace rtbackend
