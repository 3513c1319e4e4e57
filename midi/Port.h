#pragma once
// The MIDI port interface. A backend lists input and output ports and opens them by their
// 0-based index in its own list; the device list (MidiDevices.h) puts the backends' ports one
// after the other and numbers them from 1. The RtMidi backend serves the real ports; the
// simulated GR-33 implements the same interface in-process.

#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <vector>

// Kind of an output port, in the order the device records carry it.
enum class TMidiTechnology : std::uint8_t {
    mtFmSynth,
    mtMapper,
    mtMidiPort,
    mtSquareSynth,
    mtSynth,
    mtUnknown
};

struct MidiPortInfo {
    std::string name;
    TMidiTechnology technology = TMidiTechnology::mtMidiPort;
};

// An open output port; closed by its destructor.
class MidiOutputPort {
public:
    virtual ~MidiOutputPort() = default;
    // Hands one complete message (SysEx or short) to the port. Raises EMidiOut on failure.
    virtual void Send(std::span<const std::uint8_t> message) = 0;
    // True once everything handed over has left the port. Ports that pass messages straight
    // on (RtMidi) are always complete; a port that models the wire may say false for a while.
    virtual bool SendComplete() const { return true; }
    // Closes the port now, raising EMidiOut "Unable to close midi-out device" on failure. The
    // destructor closes silently when Close was not called.
    virtual void Close() {}
};

// An open input port delivering every complete message it receives to the handler given at
// opening, on the backend's own thread; closed (and the handler no longer called) by its
// destructor.
class MidiInputPort {
public:
    virtual ~MidiInputPort() = default;
    // Closes the port now (the handler is not called afterwards), raising EMidiIn
    // "Unable to close midi-in device" on failure. The destructor closes silently when Close
    // was not called.
    virtual void Close() {}
};

using MidiMessageHandler = std::function<void(std::span<const std::uint8_t> message)>;

class MidiBackend {
public:
    virtual ~MidiBackend() = default;
    virtual std::vector<MidiPortInfo> InputPorts() = 0;
    virtual std::vector<MidiPortInfo> OutputPorts() = 0;
    // Open by 0-based index in the backend's own list; raise EMidiOut / EMidiIn
    // ("Unable to open midi-out device" / "Unable to open midi-in device") on failure.
    virtual std::unique_ptr<MidiOutputPort> OpenOutput(int index) = 0;
    virtual std::unique_ptr<MidiInputPort> OpenInput(int index, MidiMessageHandler handler) = 0;
};
