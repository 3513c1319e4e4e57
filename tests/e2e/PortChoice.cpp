// e2e_port_choice SETTINGS.ini: the librarian's start-up choice of its two ports on the JACK
// server's real ports. Lists the ports as the port menus do, restores each kind from the
// settings (the stored name when that port is listed, otherwise the stored position), stores
// the choice back as choosing an entry does, and prints every entry, the chosen one marked:
//   in 0 Other Out
//   in 1 GR-33 Simulator Out *

#include "base/Errors.h"
#include "midi/MidiDevices.h"
#include "midi/RtMidiBackend.h"
#include "model/PortList.h"
#include "model/Settings.h"

#include <iostream>

namespace {

void choose(const char* kind, const std::vector<PortEntry>& entries, const char* entrySetting,
            const char* nameSetting) {
    if (entries.empty()) return;
    const int chosen = RestoredEntry(entries, ReadSetting(nameSetting), ReadSetting(entrySetting));
    WriteSetting(entrySetting, std::to_string(chosen));
    WriteSetting(nameSetting, entries[chosen].name);
    for (std::size_t i = 0; i < entries.size(); ++i)
        std::cout << kind << " " << i << " " << entries[i].name
                  << (static_cast<int>(i) == chosen ? " *" : "") << "\n";
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: e2e_port_choice SETTINGS.ini\n";
        return 2;
    }
    try {
        Settings().Start(argv[1]);
        InstallMidiBackends(CreateRtMidiBackend("jack"), nullptr);
        choose("in", ListInputPorts(nullptr), "MidiInEntry", "MidiInName");
        choose("out", ListOutputPorts(nullptr), "MidiOutEntry", "MidiOutName");
        InstallMidiBackends(nullptr, nullptr);
        Settings().End();
    } catch (const EKelvoError& e) {
        std::cerr << e.what() << "\n";
        return 1;
    }
    return 0;
}
