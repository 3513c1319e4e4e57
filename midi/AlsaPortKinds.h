#pragma once
// Port kinds as the ALSA sequencer reports them. RtMidi lists ports without their type, so the
// sequencer is asked directly; ports are matched by their "client:port" address.

#include "midi/Port.h"

#include <map>
#include <utility>

using AlsaAddress = std::pair<int, int>; // client, port

// Synthesizer and sample ports are mtSynth, every other port mtMidiPort. Empty when the
// sequencer cannot be opened (or ALSA is not available on this platform).
std::map<AlsaAddress, TMidiTechnology> AlsaPortKinds();
