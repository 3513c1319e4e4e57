#pragma once
// One RtMidi client of the backend and the connection its port holds, if any. Connecting costs
// a port registration and a connection on the server (tens of milliseconds on JACK), so a
// connection stays open between exchanges; the ports OpenInput / OpenOutput hand out only
// borrow it. Every call into the RtMidi object is made under midiMutex; those that talk to the
// server are bounded in time.

#include "midi/BoundedCall.h"
#include "midi/CycleGate.h"
#include "midi/RtClientLife.h"
#include "midi/RtErrorSink.h"
#include "midi/RtPortNames.h"

#include <rtmidi/RtMidi.h>

#include <chrono>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace rtbackend {

using Clock = std::chrono::steady_clock;

// Where the server's connections cannot be read (every API but JACK), a connection left unused
// this long is made afresh on its next use: the far port may have gone and come back under the
// same name in the meantime (a device unplugged and plugged in again), which drops the
// connection without anything telling us. Exchanges that follow one another keep their
// connection.
inline constexpr auto RefreshAfterIdle = std::chrono::seconds(1);
// Where the server's cycles can be watched (JACK), the waits are counted in cycles; these
// times stand in where they cannot.
// RtMidi's JACK output queues a message for the server's next process cycle, and closing the
// port before that cycle ran loses it. A connection is never closed sooner than this after its
// last send.
inline constexpr auto DrainAllowance = std::chrono::milliseconds(100);
// RtMidi's JACK output frees its queue before it stops the client's process cycle, and a cycle
// that still saw the port open may be reading the queue then. An output client is destroyed
// no sooner than this after its port was closed, when every such cycle is long over.
inline constexpr auto SettleBeforeDestroy = std::chrono::milliseconds(50);

struct Link {
    explicit Link(std::shared_ptr<ServerHealth> serverHealth) : health(std::move(serverHealth)) {}
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
    bool Connect(const std::string& name, const std::string& portName);
    // Closes the connection, once what was sent over it has left. The caller holds midiMutex.
    void Disconnect();
    // Whether the server still has the connection. JACK drops a connection when the port at its
    // far end goes away, also when a port of the same name comes back (a device unplugged and
    // plugged in again). Where the server cannot be watched, the connection is taken as there.
    // The caller holds midiMutex.
    bool StillConnected() const;
    // Whether a connection no port borrows is to be closed before the next use: its port is no
    // longer listed (`ports`), the server dropped it, or (where the server is not watched) it
    // has been idle a while. The caller holds midiMutex.
    bool Stale(const std::vector<ListedPort>& ports, Clock::time_point now) const;
    // Waits until a cycle that saw the port open cannot be running any more; then the client
    // can be destroyed.
    void SettleAfterClose();
    // Closes the connection and lets the client go, without waiting longer than the limits.
    void End();
    // A borrowing port is done with the connection.
    void Release();

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

} // namespace rtbackend
