#include "midi/RtPortNames.h"

#include "midi/RtClientLife.h"

#include <rtmidi/RtMidi.h>

#include <algorithm>
#include <regex>

namespace rtbackend {

bool IsOwnPort(const std::string& name) {
    static const std::regex own(std::string("^") + ClientName + "(-[0-9]+)?:");
    return std::regex_search(name, own);
}

std::vector<ListedPort> ForeignPorts(const std::vector<std::string>& names) {
    std::vector<ListedPort> ports;
    for (unsigned i = 0; i < names.size(); ++i)
        if (!names[i].empty() && !IsOwnPort(names[i])) ports.push_back({i, names[i]});
    return ports;
}

std::vector<ListedPort> ForeignPorts(RtMidi& midi) {
    std::vector<std::string> names;
    const unsigned count = midi.getPortCount();
    for (unsigned i = 0; i < count; ++i)
        names.push_back(midi.getPortName(i));
    return ForeignPorts(names);
}

bool Listed(const std::vector<ListedPort>& ports, const std::string& name) {
    return std::any_of(ports.begin(), ports.end(),
                       [&](const ListedPort& port) { return port.name == name; });
}

bool HoldsConnection(const std::optional<std::vector<std::string>>& connected,
                     const std::string& ownPortName) {
    return connected &&
           std::any_of(connected->begin(), connected->end(), [&](const std::string& port) {
               return IsOwnPort(port) && port.ends_with(":" + ownPortName);
           });
}

TMidiTechnology AlsaKindOf(const std::string& name,
                           const std::map<std::pair<int, int>, TMidiTechnology>& kinds) {
    static const std::regex address(R"( (\d+):(\d+)$)");
    std::smatch match;
    if (!kinds.empty() && std::regex_search(name, match, address)) {
        auto found = kinds.find({std::stoi(match[1]), std::stoi(match[2])});
        if (found != kinds.end()) return found->second;
    }
    return TMidiTechnology::mtMidiPort;
}

} // namespace rtbackend
