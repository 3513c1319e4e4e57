#pragma once
// The process-wide MIDI device list. Device number d (1-based) is the d-th port of the list:
// the system backend's ports in its own order, then the virtual device's ports. Output device
// number 0 stands for the platform's mapper: its specs report mtMapper, it never appears
// among the real ports and it cannot be opened.

#include "midi/Port.h"

#include <memory>
#include <mutex>
#include <string>
#include <vector>

struct TMidiInSpecs {
    std::string Name;
};

struct TMidiOutSpecs {
    std::string Name;
    TMidiTechnology Technology = TMidiTechnology::mtMidiPort;
};

// The description of an output device as the short-message output uses it.
using TMidiSpecs = TMidiOutSpecs;

// The name the mapper stand-in (output device number 0) reports.
inline constexpr const char* MidiMapperName = "MIDI Mapper";

// Replaces the backends of the device list. Either may be null; the virtual device's ports
// are numbered after the system's. Not to be called while a port is open.
void InstallMidiBackends(std::unique_ptr<MidiBackend> system,
                         std::unique_ptr<MidiBackend> virtualDevice);

// Number of input / output ports of the installed backends (the mapper is not counted).
int MidiInDeviceCount();
int MidiOutDeviceCount();

// Raise EMidiIn "Unable to retrieve midi-in device capabilities" for a number outside
// 1..MidiInDeviceCount().
void GetMidiInSpecs(int device, TMidiInSpecs& specs);
// Number 0 gives the mapper stand-in; raises EMidiOut
// "Unable to retrieve midi-out device capabilities" for a number outside 0..MidiOutDeviceCount().
void GetMidiOutSpecs(int device, TMidiOutSpecs& specs);

// The whole output list in one enumeration: element 0 is the mapper stand-in, element d the
// specs of device number d. For menus and searches that would otherwise ask once per device.
std::vector<TMidiOutSpecs> MidiOutDeviceList();
// The input list likewise; element d - 1 is device number d.
std::vector<TMidiInSpecs> MidiInDeviceList();

// Open device number d of the list. A number that names no port (0 and the mapper included)
// raises EMidiIn "Unable to open midi-in device" / EMidiOut "Unable to open midi-out device";
// backend failures raise the same texts. What the opened ports send and receive is noted in
// the MIDI log (MidiLog.h) under the port's name.
std::unique_ptr<MidiInputPort> OpenMidiInDevice(int device, MidiMessageHandler handler);
std::unique_ptr<MidiOutputPort> OpenMidiOutDevice(int device);

// While one lives, a device number keeps naming the port it named at its first open under it.
// A transfer holds one for its whole run, so a port list that changes under it (another port
// plugged in or out) moves no message to another port: the transfer goes on with its port
// wherever the list now holds it, and fails with the usual open text once that port is gone.
// Pins may nest.
class MidiDevicePin {
public:
    MidiDevicePin();
    ~MidiDevicePin();
    MidiDevicePin(const MidiDevicePin&) = delete;
    MidiDevicePin& operator=(const MidiDevicePin&) = delete;
};

// The turn on the MIDI-OUT side: an exchange with the device (a request and its reply, the
// identity test, a data message) and the editor's live sends each hold it while their ports
// are open, so their messages never interleave on the port. Exchanges and live sends on other
// threads wait for it; nothing that holds it waits for the window.
[[nodiscard]] std::unique_lock<std::mutex> TakeMidiOutTurn();
