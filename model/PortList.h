#pragma once
// The entries of the librarian's two port menus, built once at start from the device list:
// every input port, and every output port of the MIDI-port kind (never the mapper), each with
// the caption "<name>  #<device number>".

#include <functional>
#include <string>
#include <vector>

struct PortEntry {
    std::string caption;
    int device = 0;
};

using PortWarning = std::function<void(const std::string& text)>;

// A port whose description cannot be read is skipped; when the DeviceWarnings setting is on,
// `warn` receives the warning that names the port by the platform's 0-based index.
std::vector<PortEntry> ListInputPorts(const PortWarning& warn);
std::vector<PortEntry> ListOutputPorts(const PortWarning& warn);

// "%s  #%d".
std::string PortCaption(const std::string& name, int device);
// The entry position a stored MidiInEntry/MidiOutEntry text restores: the number itself when
// it is a decimal integer in 0..count-1, otherwise 0.
int RestoredEntry(const std::string& stored, int count);
