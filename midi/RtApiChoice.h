#pragma once
// Which RtMidi API the backend uses: the one the settings name, or the automatic choice from
// what the system offers.

#include <rtmidi/RtMidi.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace rtbackend {

// "ALSA", "JACK", "CoreMIDI", "WinMM", else RtMidi's display name.
std::string ApiDisplayName(RtMidi::Api api);

// The API among `compiled` that `name` names (by our display name, RtMidi's name or its
// display name, in any case); nothing when none does.
std::optional<RtMidi::Api> NamedApi(const std::string& name,
                                    const std::vector<RtMidi::Api>& compiled);

// The automatic choice among `compiled`: ALSA when its sequencer can be opened, else JACK when
// a server answers (`jackAnswers`, asked only then), else the first other API but the dummy.
// With nothing answering JACK is taken all the same, since it connects lazily and a server
// started later is still found; then ALSA, then the dummy.
RtMidi::Api AutomaticApi(const std::vector<RtMidi::Api>& compiled, bool alsaSequencer,
                         const std::function<bool()>& jackAnswers);

std::vector<RtMidi::Api> CompiledApis();
// Whether the ALSA sequencer device can be opened.
bool AlsaSequencerPresent();

} // namespace rtbackend
