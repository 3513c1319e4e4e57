#pragma once
// How the RtMidi backend makes and lets go of its clients. Whether the server the clients use
// still answers is shared by the backend, its links and its watcher. Once a call into a client
// or a wait for the server's cycles ran out of time, nothing more is asked of the clients made
// so far: they are abandoned, and the next exchange starts with new ones.

#include <rtmidi/RtMidi.h>

#include <atomic>
#include <iostream>
#include <memory>
#include <sstream>

namespace rtbackend {

inline constexpr const char* ClientName = "KelvoLight";

struct ServerHealth {
    std::atomic<bool> unanswering{false};
};

// Keeps an abandoned client, with what its threads still use, until the process ends: it is
// never destroyed (destroying one would wait for the server that no longer answers).
void KeepForever(std::shared_ptr<void> client);

// Destroys a client within the call limit, or leaves it to its thread, or keeps it for good
// when the server is known not to answer.
void Dispose(std::shared_ptr<void> client, const ServerHealth& health);

// RtMidi prints constructor warnings (an absent JACK server, say) to std::cerr before an error
// callback can be set; they are muted here, the backend finds out by itself.
template <class T> std::unique_ptr<T> ConstructQuietly(RtMidi::Api api) {
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

} // namespace rtbackend
