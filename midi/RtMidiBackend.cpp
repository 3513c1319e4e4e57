#include "midi/RtMidiBackend.h"

#include "base/Errors.h"
#include "midi/AlsaPortKinds.h"
#include "midi/BoundedCall.h"
#include "midi/JackWatch.h"

#include <rtmidi/RtMidi.h>

#include <algorithm>
#include <atomic>
#include <cctype>
#include <chrono>
#include <iostream>
#include <map>
#include <mutex>
#include <regex>
#include <sstream>
#include <thread>

#if __has_include(<fcntl.h>) && __has_include(<unistd.h>)
#include <fcntl.h>
#include <unistd.h>
#define KELVO_HAVE_POSIX_OPEN 1
#endif

namespace {

constexpr const char* ClientName = "KelvoLight";
const char* const OpenInFailed = "Unable to open midi-in device";
const char* const OpenOutFailed = "Unable to open midi-out device";
const char* const SendFailed = "Unable to send data to open midi-out device";

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

// Ports whose client is one of ours (JACK renames a second client "KelvoLight-01") are left
// out of the lists: our own open ports would otherwise shift the numbers of the others.
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

bool listed(const std::vector<ListedPort>& ports, const std::string& name) {
    return std::any_of(ports.begin(), ports.end(),
                       [&](const ListedPort& port) { return port.name == name; });
}

using Clock = std::chrono::steady_clock;

// Where the server's connections cannot be read (every API but JACK), a connection left unused
// this long is made afresh on its next use: the far port may have gone and come back under the
// same name in the meantime (a device unplugged and plugged in again), which drops the
// connection without anything telling us. Exchanges that follow one another keep their
// connection.
constexpr auto RefreshAfterIdle = std::chrono::seconds(1);
// Where the server's cycles can be watched (JACK), the waits below are counted in cycles; these
// times stand in where they cannot, and bound every wait for a cycle.
// RtMidi's JACK output queues a message for the server's next process cycle, and closing the
// port before that cycle ran loses it. A connection is never closed sooner than this after its
// last send.
constexpr auto DrainAllowance = std::chrono::milliseconds(100);
// RtMidi's JACK output frees its queue before it stops the client's process cycle, and a cycle
// that still saw the port open may be reading the queue then. An output client is destroyed
// no sooner than this after its port was closed, when every such cycle is long over.
constexpr auto SettleBeforeDestroy = std::chrono::milliseconds(50);
// The longest wait for the server's cycles; a server that runs none for this long has stalled,
// and waiting on would only hang the program.
constexpr auto CycleWaitLimit = std::chrono::seconds(1);

// Whether the server the backend's clients use still answers, shared by the backend, its
// links and its watcher. Once a call into a client or a wait for the server's cycles ran out of
// time, nothing more is asked of the clients made so far: they are abandoned, and the next
// exchange starts with new ones.
struct ServerHealth {
    std::atomic<bool> unanswering{false};
};

// Clients that were abandoned, with what their threads still use: kept until the process
// ends, never destroyed (destroying one would wait for the server that no longer answers).
void KeepForever(std::shared_ptr<void> client) {
    static std::mutex mutex;
    static auto* kept = new std::vector<std::shared_ptr<void>>;
    std::lock_guard lock(mutex);
    kept->push_back(std::move(client));
}

// Destroys a client within the call limit, or leaves it to its thread, or keeps it for good
// when the server is known not to answer.
void Dispose(std::shared_ptr<void> client, const ServerHealth& health) {
    if (!client) return;
    if (health.unanswering) return KeepForever(std::move(client));
    CallBounded([client = std::move(client)]() mutable { client.reset(); });
}

// The backend's watcher of the JACK server, and the cycle from which sending is safe: JACK
// makes a new connection part of its graph at the start of a later cycle, so a message written
// in the cycle under way would go nowhere, and a reply to it could come back over an input
// connection that is not in the graph yet.
struct CycleGate {
    CycleGate(std::unique_ptr<JackWatch> watcher, std::shared_ptr<ServerHealth> serverHealth)
        : watch(std::move(watcher)), health(std::move(serverHealth)) {}
    ~CycleGate() { Dispose(std::shared_ptr<JackWatch>(std::move(watch)), *health); }

    // A connection was just made: sends wait until the server has run its cycles past it.
    // Connections are made under the backend's lock, so there is one writer at a time.
    void Connected() { openFrom = std::max(openFrom.load(), watch->Count() + JackSettleCycles); }
    bool WaitUntilOpen() const { return WaitFor(openFrom.load()); }
    // Waits for the server's cycles; a server that runs none within the limit has stalled.
    bool WaitFor(std::uint64_t cycle) const {
        if (health->unanswering) return false;
        if (watch->WaitFor(cycle, CycleWaitLimit)) return true;
        health->unanswering = true;
        return false;
    }

    std::unique_ptr<JackWatch> watch;
    std::shared_ptr<ServerHealth> health;
    std::atomic<std::uint64_t> openFrom{0};
};

// One RtMidi client of the backend and the connection its port holds, if any. Connecting costs
// a port registration and a connection on the server (tens of milliseconds on JACK), so a
// connection stays open between exchanges; the ports OpenInput / OpenOutput hand out only
// borrow it. Every call into the RtMidi object is made under midiMutex; those that talk to the
// server are bounded in time.
struct Link {
    Link(std::shared_ptr<ServerHealth> serverHealth) : health(std::move(serverHealth)) {}
    virtual ~Link() = default;
    virtual RtMidi& Midi() = 0;
    // The client and everything its threads use, for a call to own; TakeClient leaves the
    // link without it, as it ends.
    virtual std::shared_ptr<void> Client() = 0;
    virtual std::shared_ptr<void> TakeClient() = 0;
    virtual ErrorSink& Errors() = 0;

    // Runs `call` on the client within the call limit. False when the server did not answer
    // in time: the client is abandoned then. The caller holds midiMutex.
    template <class Call> bool CallBounded(Call call) {
        if (abandoned || health->unanswering) return false;
        if (::CallBounded([client = Client(), midi = &Midi(), call]() { call(*midi); }))
            return true;
        abandoned = true;
        health->unanswering = true;
        return false;
    }

    // Connects to the foreign port listed under `name`, looked up again through this client.
    // The caller holds midiMutex and has disconnected first.
    bool Connect(const std::string& name, const std::string& portName) {
        auto ports = foreignPorts(Midi());
        auto found = std::find_if(ports.begin(), ports.end(),
                                  [&](const ListedPort& port) { return port.name == name; });
        if (found == ports.end()) return false;
        Errors().Reset();
        const unsigned index = found->rtIndex;
        if (!CallBounded([index, portName](RtMidi& midi) { midi.openPort(index, portName); }))
            return false;
        if (Errors().Failed() || !Midi().isPortOpen()) {
            CallBounded([](RtMidi& midi) { midi.closePort(); });
            return false;
        }
        if (gate) gate->Connected();
        target = name;
        ownPortName = portName;
        sent = false;
        return true;
    }

    // The caller holds midiMutex.
    void Disconnect() {
        if (target.empty()) return;
        // A connection that sent nothing has nothing queued that could be lost.
        if (sent && gate)
            gate->WaitFor(lastSendCycle + JackSettleCycles);
        else if (sent)
            std::this_thread::sleep_until(lastSend + DrainAllowance);
        CallBounded([](RtMidi& midi) { midi.closePort(); });
        closed = Clock::now();
        if (gate) closedCycle = gate->watch->Count();
        target.clear();
    }

    // Whether the server still has the connection. JACK drops a connection when the port at its
    // far end goes away, also when a port of the same name comes back (a device unplugged and
    // plugged in again). Where the server cannot be watched, the connection is taken as there.
    // The caller holds midiMutex.
    bool StillConnected() const {
        if (!gate || target.empty()) return true;
        auto connected = gate->watch->Connections(target);
        return connected &&
               std::any_of(connected->begin(), connected->end(), [&](const std::string& port) {
                   return isOwnPort(port) && port.ends_with(":" + ownPortName);
               });
    }

    // Waits until a cycle that saw the port open cannot be running any more; then the client
    // can be destroyed.
    void SettleAfterClose() {
        if (closed == Clock::time_point{}) return; // never connected
        if (gate)
            gate->WaitFor(closedCycle + JackSettleCycles);
        else
            std::this_thread::sleep_until(closed + SettleBeforeDestroy);
    }

    // Closes the connection and lets the client go, without waiting longer than the limits.
    void End() {
        {
            std::lock_guard lock(midiMutex);
            Disconnect();
        }
        if (!abandoned) SettleAfterClose();
        if (abandoned) return KeepForever(TakeClient());
        Dispose(TakeClient(), *health);
    }

    // A borrowing port is done with the connection.
    void Release() {
        std::lock_guard lock(midiMutex);
        lastUse = Clock::now();
        --users;
    }

    std::mutex midiMutex;
    std::shared_ptr<ServerHealth> health;
    std::shared_ptr<CycleGate> gate; // null where the server is not watched
    std::string target;              // listed name of the connected port; empty while not connected
    std::string ownPortName;         // the name our end of the connection was given
    Clock::time_point lastUse{};
    Clock::time_point lastSend{};
    Clock::time_point closed{}; // when the port was last closed
    std::uint64_t lastSendCycle = 0;
    std::uint64_t closedCycle = 0;
    bool sent = false;      // a message went out over the current connection
    bool abandoned = false; // a call into the client ran out of time
    int users = 0;          // borrowing ports; raised only under the backend's lock
};

// An output client. Its error sink lives with it, so an abandoned client's thread never
// reports into a link that is gone.
struct OutClient {
    ErrorSink errors;
    std::unique_ptr<RtMidiOut> midi;
};

struct OutLink : Link {
    OutLink(RtMidi::Api api, std::shared_ptr<ServerHealth> serverHealth)
        : Link(std::move(serverHealth)), client(std::make_shared<OutClient>()) {
        client->midi = constructQuietly<RtMidiOut>(api);
        client->midi->setErrorCallback(&ErrorSink::Collect, &client->errors);
    }
    ~OutLink() override { End(); }
    RtMidi& Midi() override { return *client->midi; }
    std::shared_ptr<void> Client() override { return client; }
    std::shared_ptr<void> TakeClient() override { return std::move(client); }
    ErrorSink& Errors() override { return client->errors; }

    std::shared_ptr<OutClient> client;
};

// The handlers of the ports borrowing an input connection. RtMidi's thread delivers here, so
// it lives with the client: an abandoned client may still deliver, to no handler.
struct Inbox {
    static void Deliver(double, std::vector<unsigned char>* message, void* user) {
        auto* inbox = static_cast<Inbox*>(user);
        if (!message) return;
        std::lock_guard lock(inbox->mutex);
        for (auto& entry : inbox->handlers)
            entry.second(std::span(*message));
    }

    std::mutex mutex;
    std::vector<std::pair<std::uint64_t, MidiMessageHandler>> handlers;
};

struct InClient {
    Inbox inbox; // declared first: the client, and its thread, end before these
    ErrorSink errors;
    std::unique_ptr<RtMidiIn> midi;
};

// Messages go to the handlers of the ports borrowing the connection; with none, they are
// dropped. The handler list has its own lock, never held while calling into RtMidi, so that
// removing a handler waits for a delivery in progress and no delivery starts after it.
struct InLink : Link {
    InLink(RtMidi::Api api, std::shared_ptr<ServerHealth> serverHealth)
        : Link(std::move(serverHealth)), client(std::make_shared<InClient>()) {
        client->midi = constructQuietly<RtMidiIn>(api);
        client->midi->setErrorCallback(&ErrorSink::Collect, &client->errors);
        client->midi->ignoreTypes(false, true, true); // SysEx in; timing and sensing out
        client->midi->setCallback(&Inbox::Deliver, &client->inbox);
    }
    ~InLink() override {
        {
            std::lock_guard lock(client->inbox.mutex);
            client->inbox.handlers.clear();
        }
        End();
    }
    RtMidi& Midi() override { return *client->midi; }
    std::shared_ptr<void> Client() override { return client; }
    std::shared_ptr<void> TakeClient() override { return std::move(client); }
    ErrorSink& Errors() override { return client->errors; }

    std::uint64_t AddHandler(MidiMessageHandler handler) {
        std::lock_guard lock(client->inbox.mutex);
        client->inbox.handlers.emplace_back(++lastHandlerId, std::move(handler));
        return lastHandlerId;
    }
    void RemoveHandler(std::uint64_t id) {
        std::lock_guard lock(client->inbox.mutex);
        std::erase_if(client->inbox.handlers,
                      [id](const auto& entry) { return entry.first == id; });
    }

    std::shared_ptr<InClient> client;
    std::uint64_t lastHandlerId = 0;
};

class RtInputPort : public MidiInputPort {
public:
    RtInputPort(std::shared_ptr<InLink> link, std::uint64_t handler)
        : link_(std::move(link)), handler_(handler) {}
    ~RtInputPort() override { release(); }
    // Taking the handler out cannot fail; the connection stays for the next exchange.
    void Close() override { release(); }

private:
    void release() {
        if (!link_) return;
        link_->RemoveHandler(handler_);
        link_->Release();
        link_.reset();
    }

    std::shared_ptr<InLink> link_;
    std::uint64_t handler_;
};

class RtOutputPort : public MidiOutputPort {
public:
    explicit RtOutputPort(std::shared_ptr<OutLink> link) : link_(std::move(link)) {}
    ~RtOutputPort() override { release(); }

    // RtMidi reports a message it could not queue (its JACK queue full, say) only as a warning;
    // either kind of report fails the send. On JACK the message is in the server's hands only
    // once the connection is part of its graph, which a stopped server never gets to.
    void Send(std::span<const std::uint8_t> message) override {
        if (!link_) throw EMidiOut(SendFailed);
        const auto& gate = link_->gate;
        if (gate && (!gate->WaitUntilOpen() || gate->watch->Gone())) throw EMidiOut(SendFailed);
        bool failed = false;
        {
            std::lock_guard lock(link_->midiMutex);
            auto& errors = link_->Errors();
            errors.Reset();
            link_->client->midi->sendMessage(message.data(), message.size());
            failed = errors.Failed() || errors.Warned();
            link_->lastSend = link_->lastUse = Clock::now();
            if (gate) link_->lastSendCycle = gate->watch->Count();
            link_->sent = true;
        }
        if (failed) throw EMidiOut(SendFailed);
    }

    // On JACK the last message has left once the server has run its cycles past the one that
    // took it, provided none of them was reported cut short and the far port still holds the
    // connection. A server that stopped or a device that went away fails the send. A caller
    // that does not mind drops (a request, whose loss shows as a missing reply) is told at once.
    SendState Progress(bool mindDrops) override {
        if (!link_) return SendState::Failed;
        const auto& gate = link_->gate;
        if (!gate) return SendState::Done;
        if (gate->watch->Gone()) return SendState::Failed;
        std::lock_guard lock(link_->midiMutex);
        if (!mindDrops) return link_->StillConnected() ? SendState::Done : SendState::Failed;
        const auto sent = link_->lastSendCycle;
        const auto settled = sent + JackSettleCycles;
        if (gate->watch->Count() < settled + JackXrunNoticeCycles) return SendState::Pending;
        if (!link_->StillConnected()) return SendState::Failed;
        return gate->watch->XrunBetween(sent, settled + JackXrunNoticeCycles) ? SendState::Dropped
                                                                              : SendState::Done;
    }

    // Leaves the connection open, so a message still queued on its way out is delivered.
    void Close() override { release(); }

private:
    void release() {
        if (!link_) return;
        link_->Release();
        link_.reset();
    }

    std::shared_ptr<OutLink> link_;
};

class RtMidiBackend : public MidiBackend {
public:
    explicit RtMidiBackend(RtMidi::Api api) : api_(api) {}

    // False when the client cannot be made or warns when asked for its ports (a JACK client
    // that finds no server). The client is kept.
    bool Answers() {
        std::lock_guard lock(mutex_);
        try {
            auto link = lister(outs_);
            std::lock_guard midiLock(link->midiMutex);
            link->Errors().Reset();
            link->Midi().getPortCount();
            return !link->Errors().Warned() && !link->Errors().Failed();
        } catch (const RtMidiError&) {
            return false;
        }
    }

    std::vector<MidiPortInfo> InputPorts() override {
        std::vector<MidiPortInfo> result;
        for (auto& port : listPorts(ins_))
            result.push_back({std::move(port.name), TMidiTechnology::mtMidiPort});
        return result;
    }

    std::vector<MidiPortInfo> OutputPorts() override {
        auto ports = listPorts(outs_);
        std::map<AlsaAddress, TMidiTechnology> kinds;
        if (api_ == RtMidi::LINUX_ALSA) kinds = AlsaPortKinds();
        std::vector<MidiPortInfo> result;
        for (auto& port : ports)
            result.push_back({port.name, kindOf(port.name, kinds)});
        return result;
    }

    std::unique_ptr<MidiOutputPort> OpenOutput(int index) override {
        auto link = borrow(outs_, index, std::string(ClientName) + " Out");
        if (!link) throw EMidiOut(OpenOutFailed);
        return std::make_unique<RtOutputPort>(std::move(link));
    }

    std::unique_ptr<MidiInputPort> OpenInput(int index, MidiMessageHandler handler) override {
        auto link = borrow(ins_, index, std::string(ClientName) + " In");
        if (!link) throw EMidiIn(OpenInFailed);
        const auto id = link->AddHandler(std::move(handler));
        return std::make_unique<RtInputPort>(std::move(link), id);
    }

private:
    // The client that lists the ports: the first one, made when there is none yet. The caller
    // holds mutex_.
    template <class L> std::shared_ptr<L> lister(std::vector<std::shared_ptr<L>>& links) {
        if (links.empty()) links.push_back(std::make_shared<L>(api_, health_));
        return links.front();
    }

    template <class L> std::vector<ListedPort> listPorts(std::vector<std::shared_ptr<L>>& links) {
        std::lock_guard lock(mutex_);
        try {
            auto link = lister(links);
            std::lock_guard midiLock(link->midiMutex);
            return foreignPorts(link->Midi());
        } catch (const RtMidiError&) {
            return {}; // no client could be made: no ports
        }
    }

    // A connection to port `index` of the current list for one more port to borrow: the open
    // one to that port when there is one, else a new one on an idle client. Connections whose
    // port is no longer listed, or which have been idle a while, are closed on the way. Null
    // when the index names no port or the connection fails.
    template <class L>
    std::shared_ptr<L> borrow(std::vector<std::shared_ptr<L>>& links, int index,
                              const std::string& portName) {
        std::lock_guard lock(mutex_);
        renewIfServerLost();
        try {
            std::vector<ListedPort> ports;
            {
                auto first = lister(links);
                std::lock_guard midiLock(first->midiMutex);
                ports = foreignPorts(first->Midi());
            }
            const auto now = Clock::now();
            for (auto& link : links) {
                std::lock_guard midiLock(link->midiMutex);
                if (!link->target.empty() && link->users == 0 &&
                    (!listed(ports, link->target) || !link->StillConnected() ||
                     (!link->gate && now - link->lastUse > RefreshAfterIdle)))
                    link->Disconnect();
            }
            if (index < 0 || static_cast<std::size_t>(index) >= ports.size()) return nullptr;
            const std::string& wanted = ports[static_cast<std::size_t>(index)].name;

            std::shared_ptr<L> open, idle;
            for (auto& link : links) {
                std::lock_guard midiLock(link->midiMutex);
                if (link->target == wanted)
                    open = link;
                else if (link->target.empty() && !idle)
                    idle = link;
            }
            if (!open) {
                if (!idle) idle = links.emplace_back(std::make_shared<L>(api_, health_));
                auto watcher = cycleWatcher();
                std::lock_guard midiLock(idle->midiMutex);
                idle->gate = watcher;
                if (!idle->Connect(wanted, portName)) return nullptr;
                open = idle;
            }
            follow(wanted);
            std::lock_guard midiLock(open->midiMutex);
            open->lastUse = now;
            ++open->users;
            return open;
        } catch (const RtMidiError&) {
            return nullptr; // no client could be made
        }
    }

    // Clients of a server that went away or stopped answering are of no more use: they are let
    // go (without waiting for that server), and the next connection starts with new ones. The
    // caller holds mutex_.
    void renewIfServerLost() {
        if (!health_->unanswering && !(gate_ && gate_->watch->Gone())) return;
        health_->unanswering = true;
        ins_.clear();
        outs_.clear();
        gate_.reset();
        watcherTried_ = false;
        health_ = std::make_shared<ServerHealth>();
    }

    // The watcher follows the device that owns the port (see JackWatch::FollowDevice). The
    // caller holds mutex_.
    void follow(const std::string& source) {
        if (!gate_ || health_->unanswering) return;
        if (!CallBounded([gate = gate_, source] { gate->watch->FollowDevice(source); }))
            health_->unanswering = true;
    }

    // The watcher of the JACK server, started with the first connection (listing ports needs
    // none). Null on other APIs, or when it could not be started. The caller holds
    // mutex_.
    std::shared_ptr<CycleGate> cycleWatcher() {
        if (api_ == RtMidi::UNIX_JACK && !watcherTried_) {
            watcherTried_ = true;
            if (auto watcher = WatchJackServer(ClientName))
                gate_ = std::make_shared<CycleGate>(std::move(watcher), health_);
        }
        return gate_;
    }

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

    RtMidi::Api api_;
    std::mutex mutex_; // the link lists, the choice of links and the server watcher
    std::shared_ptr<ServerHealth> health_ = std::make_shared<ServerHealth>();
    std::shared_ptr<CycleGate> gate_;
    bool watcherTried_ = false;
    std::vector<std::shared_ptr<InLink>> ins_;
    std::vector<std::shared_ptr<OutLink>> outs_;
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
    auto make = [](RtMidi::Api chosen) { return std::make_unique<RtMidiBackend>(chosen); };

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
        auto backend = make(RtMidi::UNIX_JACK);
        if (backend->Answers()) return backend;
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
