#pragma once
// The system's MIDI ports through RtMidi. A backend keeps its RtMidi clients for the program's
// life, and a client's connection to a port stays open from one exchange to the next: opening
// a client or a connection is slow on JACK, and closing a JACK output right after a send can
// lose the message still queued. The ports handed out only borrow a connection. A connection
// whose far port is no longer listed, or which the JACK server no longer has (elsewhere: which
// has been idle for a second), is made afresh on its next use. On JACK the backend watches the
// server's cycles: nothing is sent before a new connection is part of the server's graph, and
// a port is closed only after the cycles that take its last message out have run.

#include "midi/Port.h"

#include <memory>
#include <string>
#include <vector>

// Creates the backend for an RtMidi API named "ALSA", "JACK", "CoreMIDI", "WinMM" (any case)
// or "" for the automatic choice: ALSA when its sequencer can be opened, else JACK when a
// server answers, else the first API RtMidi offers. Raises EMidiException
// "Unknown MIDI API: <name>" for a name not compiled into RtMidi.
std::unique_ptr<MidiBackend> CreateRtMidiBackend(const std::string& api);

// Display names of the APIs RtMidi was built with, in RtMidi's order.
std::vector<std::string> RtMidiApiNames();
