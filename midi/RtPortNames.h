#pragma once
// The ports RtMidi lists, as the backend numbers them, and what their names tell.

#include "midi/Port.h"

#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

class RtMidi;

namespace rtbackend {

// Whether a port belongs to one of our own clients (JACK renames a second client
// "KelvoLight-01"). Such ports are left out of the lists: our own open ports would otherwise
// shift the numbers of the others.
bool IsOwnPort(const std::string& name);

struct ListedPort {
    unsigned rtIndex; // the port's index in RtMidi's list
    std::string name;
};

// The ports of RtMidi's list `names` that are neither unnamed nor our own, in its order.
std::vector<ListedPort> ForeignPorts(const std::vector<std::string>& names);
// The same, asking the client for its list.
std::vector<ListedPort> ForeignPorts(RtMidi& midi);

bool Listed(const std::vector<ListedPort>& ports, const std::string& name);

// Whether the connections of a port (as the server reports them; nothing when the port is
// gone) include our end named `ownPortName`.
bool HoldsConnection(const std::optional<std::vector<std::string>>& connected,
                     const std::string& ownPortName);

// The kind of the ALSA port RtMidi lists as "client name:port name client:port", looked up in
// `kinds` by its address; mtMidiPort for a port not found there.
TMidiTechnology AlsaKindOf(const std::string& name,
                           const std::map<std::pair<int, int>, TMidiTechnology>& kinds);

} // namespace rtbackend
