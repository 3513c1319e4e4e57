#include "midi/RtBackend.h"

#include "base/Errors.h"
#include "midi/AlsaPortKinds.h"
#include "midi/BoundedCall.h"

#include <map>

namespace rtbackend {

namespace {
const char* const OpenInFailed = "Unable to open midi-in device";
const char* const OpenOutFailed = "Unable to open midi-out device";
} // namespace

bool RtMidiBackend::Answers() {
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

std::vector<MidiPortInfo> RtMidiBackend::InputPorts() {
    std::vector<MidiPortInfo> result;
    for (auto& port : listPorts(ins_))
        result.push_back({std::move(port.name), TMidiTechnology::mtMidiPort});
    return result;
}

std::vector<MidiPortInfo> RtMidiBackend::OutputPorts() {
    auto ports = listPorts(outs_);
    std::map<AlsaAddress, TMidiTechnology> kinds;
    if (api_ == RtMidi::LINUX_ALSA) kinds = AlsaPortKinds();
    std::vector<MidiPortInfo> result;
    for (auto& port : ports)
        result.push_back({port.name, AlsaKindOf(port.name, kinds)});
    return result;
}

std::unique_ptr<MidiOutputPort> RtMidiBackend::OpenOutput(int index) {
    auto link = borrow(outs_, index, std::string(ClientName) + " Out");
    if (!link) throw EMidiOut(OpenOutFailed);
    return std::make_unique<RtOutputPort>(std::move(link));
}

std::unique_ptr<MidiInputPort> RtMidiBackend::OpenInput(int index, MidiMessageHandler handler) {
    auto link = borrow(ins_, index, std::string(ClientName) + " In");
    if (!link) throw EMidiIn(OpenInFailed);
    const auto id = link->AddHandler(std::move(handler));
    return std::make_unique<RtInputPort>(std::move(link), id);
}

template <class L>
std::vector<ListedPort> RtMidiBackend::listPorts(std::vector<std::shared_ptr<L>>& links) {
    std::lock_guard lock(mutex_);
    try {
        auto link = lister(links);
        std::lock_guard midiLock(link->midiMutex);
        return ForeignPorts(link->Midi());
    } catch (const RtMidiError&) {
        return {}; // no client could be made: no ports
    }
}

// A connection to port `index` of the current list for one more port to borrow: the open
// one to that port when there is one, else a new one on an idle client. Connections whose
// port is no longer listed, or which have been idle a while, are closed on the way. Null
// when the index names no port or the connection fails.
template <class L>
std::shared_ptr<L> RtMidiBackend::borrow(std::vector<std::shared_ptr<L>>& links, int index,
                                         const std::string& portName) {
    std::lock_guard lock(mutex_);
    renewIfServerLost();
    try {
        std::vector<ListedPort> ports;
        {
            auto first = lister(links);
            std::lock_guard midiLock(first->midiMutex);
            ports = ForeignPorts(first->Midi());
        }
        const auto now = Clock::now();
        for (auto& link : links) {
            std::lock_guard midiLock(link->midiMutex);
            if (link->Stale(ports, now)) link->Disconnect();
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
void RtMidiBackend::renewIfServerLost() {
    if (!health_->unanswering && !(gate_ && gate_->Watch().Gone())) return;
    health_->unanswering = true;
    ins_.clear();
    outs_.clear();
    gate_.reset();
    watcherTried_ = false;
    health_ = std::make_shared<ServerHealth>();
}

// The watcher follows the device that owns the port (see JackWatch::FollowDevice). The
// caller holds mutex_.
void RtMidiBackend::follow(const std::string& source) {
    if (!gate_ || health_->unanswering) return;
    if (!CallBounded([gate = gate_, source] { gate->Watch().FollowDevice(source); }))
        health_->unanswering = true;
}

// The watcher of the JACK server, started with the first connection (listing ports needs
// none). Null on other APIs, or when it could not be started. The caller holds mutex_.
std::shared_ptr<CycleGate> RtMidiBackend::cycleWatcher() {
    if (api_ == RtMidi::UNIX_JACK && !watcherTried_) {
        watcherTried_ = true;
        if (auto watcher = WatchJackServer(ClientName))
            gate_ = std::make_shared<CycleGate>(std::move(watcher), health_);
    }
    return gate_;
}

} // namespace rtbackend
