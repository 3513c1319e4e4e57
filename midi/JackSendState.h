#pragma once
// Where the last message an output port handed to the JACK server stands.

#include "midi/JackWatch.h"
#include "midi/Port.h"

#include <cstdint>
#include <functional>

namespace rtbackend {

// The message went to the server in cycle `sentCycle`. It has left once the server has run its
// cycles past that one, provided none of them was reported cut short and the far port still
// holds the connection (`stillConnected`, asked only when it matters). A server that is gone
// or a device that went away fails it. A caller that does not mind drops (a request, whose
// loss shows as a missing reply) is told at once.
SendState JackSendState(const JackWatch& watch, std::uint64_t sentCycle, bool mindDrops,
                        const std::function<bool()>& stillConnected);

} // namespace rtbackend
