#pragma once
// The MIDI set-up of one device command: the backends it installs in the device list (the
// system's RtMidi ports and, with --virtual, the in-process simulated GR-33) and the device
// numbers chosen by --in / --out.

#include "cli/CliArguments.h"
#include "midi/MidiDevices.h"

#include <string>

// Installs the backends for the command's lifetime and removes them again at its end, so no
// port or client outlives the command.
class DeviceSession {
public:
    // --api names the RtMidi API (any case; automatic choice without it). --virtual adds the
    // simulated device with its memory in --bank FILE or the user's data folder; without
    // --api, --in and --out it is then the only backend, so nothing waits on the system's MIDI
    // services.
    explicit DeviceSession(const CliArguments& args);
    ~DeviceSession();
    DeviceSession(const DeviceSession&) = delete;
    DeviceSession& operator=(const DeviceSession&) = delete;

    // The device numbers of --in / --out: a number, or a case-insensitive part of a port name
    // (an exact name wins over parts). Without the option, the virtual device's port with
    // --virtual, otherwise a usage error.
    int InputDevice() const;
    int OutputDevice() const;

private:
    int choose(bool input) const;
    const CliArguments& args_;
    MidiDevicePin pin_; // a command's transfers stay with the ports they started on
};

// Raises EUsage when a port the command needs is not named and --virtual is not given; called
// before the session, so a usage error never touches the system's MIDI services.
void ExpectPorts(const CliArguments& args, bool input, bool output);

// A port name's position in the list (1-based) for the text; raises EKelvoError when no port
// or several ports match.
int FindPort(const std::string& text, bool input);
