#pragma once
// A scripted in-memory MidiBackend for tests. Everything sent to an output is recorded; a
// replier turns each sent message into messages delivered to the open input, on the sending
// thread. Failures of each step can be switched on. The state is shared, so a test keeps it
// after the backend was handed to InstallMidiBackends.

#include "base/AtomicFile.h"
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
        MidiMessageHandler target;
        {
            std::lock_guard lock(mutex);
            target = handler;
        }
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
        {
            std::lock_guard lock(state_->mutex);
            state_->handler = std::move(handler);
        }
        return std::make_unique<Input>(state_);
    }

private:
    class Output : public MidiOutputPort {
    public:
        explicit Output(std::shared_ptr<FakeMidiState> state) : state_(std::move(state)) {}
        ~Output() override {
            if (!closed_) state_->Log("close out");
        }
        void Send(std::span<const std::uint8_t> message) override {
            if (state_->failSend) throw EMidiOut("fake: send refused");
            Bytes bytes(message.begin(), message.end());
            std::function<std::vector<Bytes>(const Bytes&)> replier;
            {
                std::lock_guard lock(state_->mutex);
                state_->sent.push_back(bytes);
                state_->log.push_back("send");
                replier = state_->replier;
            }
            if (replier)
                for (const auto& reply : replier(bytes))
                    state_->Deliver(reply);
        }
        SendState Progress(bool) override {
            std::lock_guard lock(state_->mutex);
            auto& states = state_->progress;
            if (states.empty()) return SendState::Done;
            const SendState state = states.front();
            if (states.size() > 1) states.pop_front();
            return state;
        }
        void Close() override {
            closed_ = true;
            state_->Log("close out");
            if (state_->failCloseOut) throw EMidiOut("fake: close refused");
        }

    private:
        std::shared_ptr<FakeMidiState> state_;
        bool closed_ = false;
    };

    class Input : public MidiInputPort {
    public:
        explicit Input(std::shared_ptr<FakeMidiState> state) : state_(std::move(state)) {}
        ~Input() override {
            if (!closed_) release();
        }
        void Close() override {
            closed_ = true;
            release();
            if (state_->failCloseIn) throw EMidiIn("fake: close refused");
        }

    private:
        void release() {
            {
                std::lock_guard lock(state_->mutex);
                state_->handler = nullptr;
            }
            state_->Log("close in");
        }
        std::shared_ptr<FakeMidiState> state_;
        bool closed_ = false;
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
