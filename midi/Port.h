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

// Where the last message handed to an output port stands.
enum class SendState {
    Pending, // still on its way out
    Done,    // it has left the port
    Dropped, // the MIDI server reports a cycle cut short while the message was in it: it may
             // not have reached the far port
    Failed,  // the MIDI server or the port at the far end went away
};

// An open output port; closed by its destructor.
class MidiOutputPort {
public:
    virtual ~MidiOutputPort() = default;
    // Hands one complete message (SysEx or short) to the port. Raises EMidiOut on failure.
    virtual void Send(std::span<const std::uint8_t> message) = 0;
    // Where the last message handed over stands. Ports that pass messages straight on are
    // done at once; a port that models the wire, or waits for its server to take the message,
    // may be pending for a while. With `mindDrops` false the caller has no use for knowing
    // whether the server dropped it, and the port need not wait to find out.
    virtual SendState Progress(bool mindDrops) {
        (void)mindDrops;
        return SendState::Done;
    }
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
