#pragma once
// A link of the RtMidi backend over a scripted RtMidi client, with or without a watched
// server (FakeJackWatch).

#include "midi/RtOutputPort.h"
#include "tests/midi/FakeJackWatch.h"

#include <optional>
#include <thread>

namespace rtbackend {

// An RtMidi client whose ports are a list of names; it logs what it is asked to do.
struct FakeRtMidi : RtMidi {
    std::vector<std::string> names;
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

struct FakeLink : SendingLink {
    explicit FakeLink(bool jack) : SendingLink(std::make_shared<ServerHealth>()) {
        client->midi.names = {"KelvoLight:KelvoLight In", "A:out", "B:out"};
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

    std::shared_ptr<FakeJackWatch::State> watch = std::make_shared<FakeJackWatch::State>();
    std::shared_ptr<FakeClient> client = std::make_shared<FakeClient>();
    std::optional<RtMidiError::Type> report; // what RtMidi reports on a send
};

} // namespace rtbackend
