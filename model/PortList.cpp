#include "model/PortList.h"

#include "base/Errors.h"
#include "midi/MidiDevices.h"
#include "model/Settings.h"

#include <charconv>

namespace {

void warnIfWanted(const PortWarning& warn, const std::string& text) {
    if (warn && Settings().IsYes("DeviceWarnings")) warn(text);
}

bool parseDecimal(const std::string& text, int& value) {
    const char* first = text.data();
    const char* last = first + text.size();
    auto [end, error] = std::from_chars(first, last, value);
    return !text.empty() && error == std::errc() && end == last;
}

} // namespace

std::string PortCaption(const std::string& name, int device) {
    return name + "  #" + std::to_string(device);
}

int RestoredEntry(const std::string& stored, int count) {
    int entry = 0;
    if (!parseDecimal(stored, entry) || entry < 0 || entry >= count) return 0;
    return entry;
}

int EntryNamed(const std::vector<PortEntry>& entries, const std::string& name) {
    for (std::size_t i = 0; i < entries.size(); ++i)
        if (entries[i].name == name) return static_cast<int>(i);
    return -1;
}

int RestoredEntry(const std::vector<PortEntry>& entries, const std::string& storedName,
                  const std::string& storedPosition) {
    const int named = storedName.empty() ? -1 : EntryNamed(entries, storedName);
    if (named >= 0) return named;
    return RestoredEntry(storedPosition, static_cast<int>(entries.size()));
}

std::vector<PortEntry> ListInputPorts(const PortWarning& warn) {
    std::vector<PortEntry> entries;
    for (int k = 1; k <= MidiInDeviceCount(); ++k) {
        TMidiInSpecs specs;
        try {
            GetMidiInSpecs(k, specs);
        } catch (const EKelvoError&) {
            warnIfWanted(warn, "Warning: Unable to get specification of a midi-in device #" +
                                   std::to_string(k - 1));
            continue;
        }
        entries.push_back({PortCaption(specs.Name, k), specs.Name, k});
    }
    return entries;
}

std::vector<PortEntry> ListOutputPorts(const PortWarning& warn) {
    std::vector<PortEntry> entries;
    for (int k = 0; k <= MidiOutDeviceCount(); ++k) {
        TMidiOutSpecs specs;
        try {
            GetMidiOutSpecs(k, specs);
        } catch (const EKelvoError&) {
            warnIfWanted(warn, "Warning: Unable to get specification of a midi-out device #" +
                                   std::to_string(k - 1));
            continue;
        }
        if (specs.Technology == TMidiTechnology::mtMidiPort)
            entries.push_back({PortCaption(specs.Name, k), specs.Name, k});
    }
    return entries;
}
