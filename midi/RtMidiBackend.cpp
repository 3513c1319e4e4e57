#include "midi/RtMidiBackend.h"

#include "base/Errors.h"
#include "midi/AlsaPortKinds.h"

#include <rtmidi/RtMidi.h>

#include <algorithm>
#include <cctype>
#include <iostream>
#include <mutex>
#include <regex>
#include <sstream>

#if __has_include(<fcntl.h>) && __has_include(<unistd.h>)
#include <fcntl.h>
#include <unistd.h>
#define KELVO_HAVE_POSIX_OPEN 1
#endif

namespace {

constexpr const char* ClientName = "KelvoLight";
const char* const OpenInFailed = "Unable to open midi-in device";
const char* const OpenOutFailed = "Unable to open midi-out device";

// With an error callback set, RtMidi reports through it instead of throwing or printing. The
// callback may run on RtMidi's input thread, hence the lock.
class ErrorSink {
public:
    void Reset() {
        std::lock_guard lock(mutex_);
        failed_ = warned_ = false;
    }
    bool Failed() {
        std::lock_guard lock(mutex_);
        return failed_;
    }
    bool Warned() {
        std::lock_guard lock(mutex_);
        return warned_;
    }
    static void Collect(RtMidiError::Type type, const std::string&, void* user) {
        auto* sink = static_cast<ErrorSink*>(user);
        std::lock_guard lock(sink->mutex_);
        if (type == RtMidiError::WARNING || type == RtMidiError::DEBUG_WARNING)
            sink->warned_ = true;
        else
            sink->failed_ = true;
    }

private:
    std::mutex mutex_;
    bool failed_ = false;
    bool warned_ = false;
};

// RtMidi prints constructor warnings (an absent JACK server, say) to std::cerr before an error
// callback can be set; they are muted here, the backend finds out by itself.
template <class T> std::unique_ptr<T> constructQuietly(RtMidi::Api api) {
    std::ostringstream muted;
    auto* previous = std::cerr.rdbuf(muted.rdbuf());
    try {
        auto midi = std::make_unique<T>(api, ClientName);
        std::cerr.rdbuf(previous);
        return midi;
    } catch (...) {
        std::cerr.rdbuf(previous);
        throw;
    }
}

// An RtMidi client kept for the program's life; only its port is opened and closed per use.
struct InClient {
    std::unique_ptr<RtMidiIn> midi;
    ErrorSink errors;
    std::mutex handlerMutex;
    MidiMessageHandler handler; // empty while no port of ours is open on this client

    static void Deliver(double, std::vector<unsigned char>* message, void* user) {
        auto* client = static_cast<InClient*>(user);
        std::lock_guard lock(client->handlerMutex);
        if (client->handler && message) client->handler(std::span(*message));
    }
};

struct OutClient {
    std::unique_ptr<RtMidiOut> midi;
    ErrorSink errors;
};

// Ports whose client is one of ours (JACK renames a second client "KelvoLight-01") are left
// out of the lists: our own open port would otherwise shift the numbers of the others.
bool isOwnPort(const std::string& name) {
    static const std::regex own(std::string("^") + ClientName + "(-[0-9]+)?:");
    return std::regex_search(name, own);
}

struct ListedPort {
    unsigned rtIndex;
    std::string name;
};

std::vector<ListedPort> foreignPorts(RtMidi& midi) {
    std::vector<ListedPort> ports;
    const unsigned count = midi.getPortCount();
    for (unsigned i = 0; i < count; ++i) {
        std::string name = midi.getPortName(i);
        if (!name.empty() && !isOwnPort(name)) ports.push_back({i, std::move(name)});
    }
    return ports;
}

// The idle clients of one backend. Ports hold it too, so it outlives them.
class ClientPool {
public:
    explicit ClientPool(RtMidi::Api api) : api_(api) {}

    RtMidi::Api Api() const { return api_; }

    std::unique_ptr<InClient> TakeIn() {
        {
            std::lock_guard lock(mutex_);
            if (!ins_.empty()) {
                auto client = std::move(ins_.back());
                ins_.pop_back();
                return client;
            }
        }
        auto client = std::make_unique<InClient>();
        client->midi = constructQuietly<RtMidiIn>(api_);
        client->midi->setErrorCallback(&ErrorSink::Collect, &client->errors);
        client->midi->ignoreTypes(false, true, true); // SysEx in; timing and sensing out
        client->midi->setCallback(&InClient::Deliver, client.get());
        return client;
    }

    std::unique_ptr<OutClient> TakeOut() {
        {
            std::lock_guard lock(mutex_);
            if (!outs_.empty()) {
                auto client = std::move(outs_.back());
                outs_.pop_back();
                return client;
            }
        }
        auto client = std::make_unique<OutClient>();
        client->midi = constructQuietly<RtMidiOut>(api_);
        client->midi->setErrorCallback(&ErrorSink::Collect, &client->errors);
        return client;
    }

    void Give(std::unique_ptr<InClient> client) {
        std::lock_guard lock(mutex_);
        ins_.push_back(std::move(client));
    }
    void Give(std::unique_ptr<OutClient> client) {
        std::lock_guard lock(mutex_);
        outs_.push_back(std::move(client));
    }

private:
    RtMidi::Api api_;
    std::mutex mutex_;
    std::vector<std::unique_ptr<InClient>> ins_;
    std::vector<std::unique_ptr<OutClient>> outs_;
};

class RtInputPort : public MidiInputPort {
public:
    RtInputPort(std::shared_ptr<ClientPool> pool, std::unique_ptr<InClient> client)
        : pool_(std::move(pool)), client_(std::move(client)) {}
    ~RtInputPort() override { release(); }
    void Close() override {
        if (!release()) throw EMidiIn("Unable to close midi-in device");
    }

private:
    bool release() {
        if (!client_) return true;
        {
            std::lock_guard lock(client_->handlerMutex);
            client_->handler = nullptr;
        }
        client_->errors.Reset();
        client_->midi->closePort();
        const bool closed = !client_->errors.Failed();
        pool_->Give(std::move(client_));
        return closed;
    }

    std::shared_ptr<ClientPool> pool_;
    std::unique_ptr<InClient> client_;
};

class RtOutputPort : public MidiOutputPort {
public:
    RtOutputPort(std::shared_ptr<ClientPool> pool, std::unique_ptr<OutClient> client)
        : pool_(std::move(pool)), client_(std::move(client)) {}
    ~RtOutputPort() override { release(); }

    void Send(std::span<const std::uint8_t> message) override {
        if (!client_) throw EMidiOut("Unable to send data to open midi-out device");
        client_->errors.Reset();
        client_->midi->sendMessage(message.data(), message.size());
        if (client_->errors.Failed()) throw EMidiOut("Unable to send data to open midi-out device");
    }
    void Close() override {
        if (!release()) throw EMidiOut("Unable to close midi-out device");
    }

private:
    bool release() {
        if (!client_) return true;
        client_->errors.Reset();
        client_->midi->closePort();
        const bool closed = !client_->errors.Failed();
        pool_->Give(std::move(client_));
        return closed;
    }

    std::shared_ptr<ClientPool> pool_;
    std::unique_ptr<OutClient> client_;
};

class RtMidiBackend : public MidiBackend {
public:
    explicit RtMidiBackend(std::shared_ptr<ClientPool> pool) : pool_(std::move(pool)) {}

    std::vector<MidiPortInfo> InputPorts() override {
        std::vector<MidiPortInfo> result;
        try {
            auto client = pool_->TakeIn();
            for (auto& port : foreignPorts(*client->midi))
                result.push_back({std::move(port.name), TMidiTechnology::mtMidiPort});
            pool_->Give(std::move(client));
        } catch (const RtMidiError&) {
            // No client could be made: no ports.
        }
        return result;
    }

    std::vector<MidiPortInfo> OutputPorts() override {
        std::vector<MidiPortInfo> result;
        try {
            auto client = pool_->TakeOut();
            auto ports = foreignPorts(*client->midi);
            pool_->Give(std::move(client));
            std::map<AlsaAddress, TMidiTechnology> kinds;
            if (pool_->Api() == RtMidi::LINUX_ALSA) kinds = AlsaPortKinds();
            for (auto& port : ports)
                result.push_back({port.name, kindOf(port.name, kinds)});
        } catch (const RtMidiError&) {
        }
        return result;
    }

    std::unique_ptr<MidiOutputPort> OpenOutput(int index) override {
        std::unique_ptr<OutClient> client;
        try {
            client = pool_->TakeOut();
        } catch (const RtMidiError&) {
            throw EMidiOut(OpenOutFailed);
        }
        auto ports = foreignPorts(*client->midi);
        if (index < 0 || static_cast<std::size_t>(index) >= ports.size()) {
            pool_->Give(std::move(client));
            throw EMidiOut(OpenOutFailed);
        }
        client->errors.Reset();
        client->midi->openPort(ports[static_cast<std::size_t>(index)].rtIndex,
                               std::string(ClientName) + " Out");
        if (client->errors.Failed() || !client->midi->isPortOpen()) {
            client->midi->closePort();
            pool_->Give(std::move(client));
            throw EMidiOut(OpenOutFailed);
        }
        return std::make_unique<RtOutputPort>(pool_, std::move(client));
    }

    std::unique_ptr<MidiInputPort> OpenInput(int index, MidiMessageHandler handler) override {
        std::unique_ptr<InClient> client;
        try {
            client = pool_->TakeIn();
        } catch (const RtMidiError&) {
            throw EMidiIn(OpenInFailed);
        }
        auto ports = foreignPorts(*client->midi);
        if (index < 0 || static_cast<std::size_t>(index) >= ports.size()) {
            pool_->Give(std::move(client));
            throw EMidiIn(OpenInFailed);
        }
        {
            std::lock_guard lock(client->handlerMutex);
            client->handler = std::move(handler);
        }
        client->errors.Reset();
        client->midi->openPort(ports[static_cast<std::size_t>(index)].rtIndex,
                               std::string(ClientName) + " In");
        if (client->errors.Failed() || !client->midi->isPortOpen()) {
            {
                std::lock_guard lock(client->handlerMutex);
                client->handler = nullptr;
            }
            client->midi->closePort();
            pool_->Give(std::move(client));
            throw EMidiIn(OpenInFailed);
        }
        return std::make_unique<RtInputPort>(pool_, std::move(client));
    }

private:
    // RtMidi names ALSA ports "client name:port name client:port".
    static TMidiTechnology kindOf(const std::string& name,
                                  const std::map<AlsaAddress, TMidiTechnology>& kinds) {
        static const std::regex address(R"( (\d+):(\d+)$)");
        std::smatch match;
        if (!kinds.empty() && std::regex_search(name, match, address)) {
            auto found = kinds.find({std::stoi(match[1]), std::stoi(match[2])});
            if (found != kinds.end()) return found->second;
        }
        return TMidiTechnology::mtMidiPort;
    }

    std::shared_ptr<ClientPool> pool_;
};

std::string displayName(RtMidi::Api api) {
    switch (api) {
    case RtMidi::LINUX_ALSA:
        return "ALSA";
    case RtMidi::UNIX_JACK:
        return "JACK";
    case RtMidi::MACOSX_CORE:
        return "CoreMIDI";
    case RtMidi::WINDOWS_MM:
        return "WinMM";
    default:
        return RtMidi::getApiDisplayName(api);
    }
}

bool sameText(const std::string& a, const std::string& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) ==
               std::tolower(static_cast<unsigned char>(y));
    });
}

std::vector<RtMidi::Api> compiledApis() {
    std::vector<RtMidi::Api> apis;
    RtMidi::getCompiledApi(apis);
    return apis;
}

bool alsaSequencerPresent() {
#ifdef KELVO_HAVE_POSIX_OPEN
    int fd = ::open("/dev/snd/seq", O_RDWR | O_CLOEXEC);
    if (fd < 0) return false;
    ::close(fd);
    return true;
#else
    return false;
#endif
}

} // namespace

std::vector<std::string> RtMidiApiNames() {
    std::vector<std::string> names;
    for (RtMidi::Api api : compiledApis())
        names.push_back(displayName(api));
    return names;
}

std::unique_ptr<MidiBackend> CreateRtMidiBackend(const std::string& api) {
    const auto apis = compiledApis();
    auto has = [&](RtMidi::Api wanted) {
        return std::find(apis.begin(), apis.end(), wanted) != apis.end();
    };
    auto make = [](RtMidi::Api chosen) {
        return std::make_unique<RtMidiBackend>(std::make_shared<ClientPool>(chosen));
    };

    if (!api.empty()) {
        for (RtMidi::Api candidate : apis)
            if (sameText(api, displayName(candidate)) ||
                sameText(api, RtMidi::getApiName(candidate)) ||
                sameText(api, RtMidi::getApiDisplayName(candidate)))
                return make(candidate);
        throw EMidiException("Unknown MIDI API: " + api);
    }

    if (has(RtMidi::LINUX_ALSA) && alsaSequencerPresent()) return make(RtMidi::LINUX_ALSA);
    if (has(RtMidi::UNIX_JACK)) {
        // A JACK client that finds no server warns on every use; one query tells.
        auto pool = std::make_shared<ClientPool>(RtMidi::UNIX_JACK);
        try {
            auto probe = pool->TakeOut();
            probe->errors.Reset();
            probe->midi->getPortCount();
            const bool answered = !probe->errors.Warned() && !probe->errors.Failed();
            pool->Give(std::move(probe)); // kept: it is the backend's output client
            if (answered) return std::make_unique<RtMidiBackend>(pool);
        } catch (const RtMidiError&) {
        }
    }
    for (RtMidi::Api candidate : apis)
        if (candidate != RtMidi::LINUX_ALSA && candidate != RtMidi::UNIX_JACK &&
            candidate != RtMidi::RTMIDI_DUMMY)
            return make(candidate);
    // Nothing answers now; JACK connects lazily, so a server started later is still found.
    if (has(RtMidi::UNIX_JACK)) return make(RtMidi::UNIX_JACK);
    if (has(RtMidi::LINUX_ALSA)) return make(RtMidi::LINUX_ALSA);
    return make(RtMidi::RTMIDI_DUMMY);
}
