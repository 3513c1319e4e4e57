#pragma once
// The entries of the librarian's two port menus, listed from the device list at start and again
// each time a menu opens: every input port, and every output port of the MIDI-port kind (never
// the mapper), each with the caption "<name>  #<device number>".

#include <functional>
#include <string>
#include <vector>

struct PortEntry {
    std::string caption;
    std::string name; // the port's name, as MidiInName/MidiOutName store it
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
// The entry a start restores from MidiInName/MidiOutName and MidiInEntry/MidiOutEntry: the
// first entry of the stored name, wherever the port is listed now, and only when no entry has
// that name the stored position as above (0 for an empty list).
int RestoredEntry(const std::vector<PortEntry>& entries, const std::string& storedName,
                  const std::string& storedPosition);
// The position of the first entry of that name; -1 when the port is not listed.
int EntryNamed(const std::vector<PortEntry>& entries, const std::string& name);
