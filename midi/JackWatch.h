#pragma once
// Watches the JACK server that the backend's RtMidi clients use, as a client of its own without
// ports. RtMidi's JACK ports do their work in the server's process cycles (a connection takes
// effect at the start of a cycle, a queued message is written to the port during one) and do
// not say when that happened, nor whether a connection is still there; counting cycles lets the
// backend wait for "the server has run its cycles since then" rather than for a fixed time that
// is too long on a fast server and too short on a loaded one, and reading the server's
// connections tells it when a connection went away with the port at its far end.

#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class JackWatch {
public:
    virtual ~JackWatch() = default;
    // The number of cycles run so far.
    virtual std::uint64_t Count() const = 0;
    // Whether the server reported a cycle cut short (an xrun) while the count went from
    // `first` to `last`. When a client does not finish its cycle in time, a server that does
    // not wait for its clients runs the cycle's graph again, and a port writes its next
    // cycle's events over those its readers have not taken yet: a message in flight then may
    // be lost. The report comes a little after the cycle it is about.
    virtual bool XrunBetween(std::uint64_t first, std::uint64_t last) const = 0;
    // True once the server has shut down or thrown this client out.
    virtual bool Gone() const = 0;
    // Connects every MIDI output port of the device that owns port `port` to an input port of
    // the watcher: the ports of its client, and of the clients the server named after it
    // ("Name-01", a program's second client). The watcher's cycles then follow the device's: a
    // device that stops finishing its cycles (frozen) stops the count, on a server that waits
    // for its clients or not, so that waits on the count end in failure instead of in a
    // success the device took no part in. Connections to an earlier device are undone.
    virtual void FollowDevice(const std::string& port) = 0;
    // Waits until the count is at least `target`; false when that did not happen in time.
    virtual bool WaitFor(std::uint64_t target, std::chrono::milliseconds timeout) const = 0;
    // Full names of the ports connected to port `name`; nothing when there is no such port.
    virtual std::optional<std::vector<std::string>> Connections(const std::string& name) const = 0;
};

// A watcher on the default JACK server (JACK_DEFAULT_SERVER or the usual one); null when no
// server answers or JACK was not built in.
std::unique_ptr<JackWatch> WatchJackServer(const char* clientName);

// Cycles after an event by which every client has finished at least one whole cycle begun
// after it: the cycle under way at the event, the next one, one more that started only once the
// previous one was done, and one to spare for clients that run in parallel.
constexpr std::uint64_t JackSettleCycles = 4;
// Cycles after the settle cycles by which the server's report of a cycle cut short among them
// has arrived.
constexpr std::uint64_t JackXrunNoticeCycles = 4;
