#pragma once
// The system's MIDI ports through RtMidi. One backend keeps its RtMidi clients for the
// program's life and only connects and disconnects them per exchange, since opening a client
// is slow on JACK.

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
