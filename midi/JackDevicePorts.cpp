#include "midi/JackDevicePorts.h"

#include <algorithm>
#include <cctype>

namespace {

bool isNumber(const std::string& text, std::size_t from) {
    return from < text.size() && std::all_of(text.begin() + static_cast<long>(from), text.end(),
                                             [](unsigned char c) { return std::isdigit(c); });
}

} // namespace

std::vector<std::string> JackDevicePorts(const std::string& port,
                                         const std::vector<std::string>& ports) {
    std::string device = port.substr(0, port.find(':'));
    if (auto dash = device.rfind('-'); dash != std::string::npos && isNumber(device, dash + 1))
        device.erase(dash);
    std::vector<std::string> sources;
    for (const auto& name : ports) {
        std::string owner = name.substr(0, name.find(':'));
        if (owner == device ||
            (owner.starts_with(device + "-") && isNumber(owner, device.size() + 1)))
            sources.push_back(name);
    }
    return sources;
}
