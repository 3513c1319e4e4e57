#include "midi/RtLink.h"

#include <algorithm>
#include <thread>

namespace rtbackend {

bool Link::Connect(const std::string& name, const std::string& portName) {
    auto ports = ForeignPorts(Midi());
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

void Link::Disconnect() {
    if (target.empty()) return;
    // A connection that sent nothing has nothing queued that could be lost.
    if (sent && gate)
        gate->WaitFor(lastSendCycle + JackSettleCycles);
    else if (sent)
        std::this_thread::sleep_until(lastSend + DrainAllowance);
    CallBounded([](RtMidi& midi) { midi.closePort(); });
    closed = Clock::now();
    if (gate) closedCycle = gate->Watch().Count();
    target.clear();
}

bool Link::StillConnected() const {
    if (!gate || target.empty()) return true;
    return HoldsConnection(gate->Watch().Connections(target), ownPortName);
}

bool Link::Stale(const std::vector<ListedPort>& ports, Clock::time_point now) const {
    return !target.empty() && users == 0 &&
           (!Listed(ports, target) || !StillConnected() ||
            (!gate && now - lastUse > RefreshAfterIdle));
}

void Link::SettleAfterClose() {
    if (closed == Clock::time_point{}) return; // never connected
    if (gate)
        gate->WaitFor(closedCycle + JackSettleCycles);
    else
        std::this_thread::sleep_until(closed + SettleBeforeDestroy);
}

void Link::End() {
    {
        std::lock_guard lock(midiMutex);
        Disconnect();
    }
    if (!abandoned) SettleAfterClose();
    if (abandoned) return KeepForever(TakeClient());
    Dispose(TakeClient(), *health);
}

void Link::Release() {
    std::lock_guard lock(midiMutex);
    lastUse = Clock::now();
    --users;
}

} // namespace rtbackend
