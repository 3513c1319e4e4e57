#pragma once
// The RtMidi backend's watcher of the JACK server, and the cycle from which sending is safe:
// JACK makes a new connection part of its graph at the start of a later cycle, so a message
// written in the cycle under way would go nowhere, and a reply to it could come back over an
// input connection that is not in the graph yet.

#include "midi/JackWatch.h"
#include "midi/RtClientLife.h"

#include <atomic>
#include <chrono>
#include <cstdint>
#include <memory>

namespace rtbackend {

// The longest wait for the server's cycles; a server that runs none for this long has stalled,
// and waiting on would only hang the program.
inline constexpr auto CycleWaitLimit = std::chrono::seconds(1);

class CycleGate {
public:
    CycleGate(std::unique_ptr<JackWatch> watcher, std::shared_ptr<ServerHealth> serverHealth)
        : watch_(std::move(watcher)), health_(std::move(serverHealth)) {}
    ~CycleGate();
    CycleGate(const CycleGate&) = delete;
    CycleGate& operator=(const CycleGate&) = delete;

    // A connection was just made: sends wait until the server has run its cycles past it.
    // Connections are made under the backend's lock, so there is one writer at a time.
    void Connected();
    // Waits until the connections made so far are part of the server's graph.
    bool WaitUntilOpen() const { return WaitFor(openFrom_.load()); }
    // Waits for the server's cycles; a server that runs none within the limit has stalled, and
    // is marked as not answering. No wait at all on a server already known not to answer.
    bool WaitFor(std::uint64_t cycle) const;

    JackWatch& Watch() const { return *watch_; }

private:
    std::unique_ptr<JackWatch> watch_;
    std::shared_ptr<ServerHealth> health_;
    std::atomic<std::uint64_t> openFrom_{0};
};

} // namespace rtbackend
