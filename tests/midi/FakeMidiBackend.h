#pragma once
// A scripted in-memory MidiBackend for tests. Everything sent to an output is recorded; a
// replier turns each sent message into messages delivered to the open input, on the sending
// thread. Failures of each step can be switched on. The state is shared, so a test keeps it
// after the backend was handed to InstallMidiBackends.

#include "base/Bytes.h"
#include "base/Errors.h"
#include "midi/MidiDevices.h"
#include "midi/Port.h"

#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

struct FakeMidiState {
    std::mutex mutex;
    std::vector<MidiPortInfo> inputs;
    std::vector<MidiPortInfo> outputs;
    std::vector<Bytes> sent;
    std::vector<std::string> log; // "open out 0", "open in 0", "send", "close in", "close out"
    std::function<std::vector<Bytes>(const Bytes&)> replier;
    MidiMessageHandler handler; // of the open input, if any
    bool failOpenIn = false, failOpenOut = false, failSend = false;
    bool failCloseIn = false, failCloseOut = false;
    std::deque<SendState> progress; // what Progress() says in turn; the last one stays

    void Log(const std::string& entry) {
        std::lock_guard lock(mutex);
        log.push_back(entry);
    }
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

class FakeMidiBackend : public MidiBackend {
public:
    explicit FakeMidiBackend(std::shared_ptr<FakeMidiState> state) : state_(std::move(state)) {}

    std::vector<MidiPortInfo> InputPorts() override {
        std::lock_guard lock(state_->mutex);
        return state_->inputs;
    }
    std::vector<MidiPortInfo> OutputPorts() override {
        std::lock_guard lock(state_->mutex);
        return state_->outputs;
    }
    std::unique_ptr<MidiOutputPort> OpenOutput(int index) override {
        if (state_->failOpenOut) throw EMidiOut("fake: output refused");
        state_->Log("open out " + std::to_string(index));
        return std::make_unique<Output>(state_);
    }
    std::unique_ptr<MidiInputPort> OpenInput(int index, MidiMessageHandler handler) override {
        if (state_->failOpenIn) throw EMidiIn("fake: input refused");
        state_->Log("open in " + std::to_string(index));
        std::lock_guard lock(state_->mutex);
        state_->handler = std::move(handler);
        return std::make_unique<Input>(state_);
    }

private:
    // Closing logs once, by Close or else by the destructor; only Close reports a failure.
    struct Closing {
        std::shared_ptr<FakeMidiState> state;
        bool closed = false;
        void CloseAs(const char* entry, bool input) {
            if (closed) return;
            closed = true;
            std::lock_guard lock(state->mutex);
            if (input) state->handler = nullptr;
            state->log.push_back(entry);
        }
    };
    struct Output : MidiOutputPort, Closing {
        explicit Output(std::shared_ptr<FakeMidiState> s) : Closing{std::move(s)} {}
        ~Output() override { CloseAs("close out", false); }
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
        void Close() override {
            CloseAs("close out", false);
            if (state->failCloseOut) throw EMidiOut("fake: close refused");
        }
    };
    struct Input : MidiInputPort, Closing {
        explicit Input(std::shared_ptr<FakeMidiState> s) : Closing{std::move(s)} {}
        ~Input() override { CloseAs("close in", true); }
        void Close() override {
            CloseAs("close in", true);
            if (state->failCloseIn) throw EMidiIn("fake: close refused");
        }
    };

    std::shared_ptr<FakeMidiState> state_;
};

// Installs a fresh fake with the given ports as the system backend for one test, and an
// optional second one as the virtual device; removes both afterwards.
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
    InstalledFake(const InstalledFake&) = delete;
    InstalledFake& operator=(const InstalledFake&) = delete;
};
