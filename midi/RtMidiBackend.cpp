#include "midi/RtMidiBackend.h"

#include "base/Errors.h"
#include "midi/RtApiChoice.h"
#include "midi/RtBackend.h"

using namespace rtbackend;

std::vector<std::string> RtMidiApiNames() {
    std::vector<std::string> names;
    for (RtMidi::Api api : CompiledApis())
        names.push_back(ApiDisplayName(api));
    return names;
}

std::unique_ptr<MidiBackend> CreateRtMidiBackend(const std::string& api) {
    const auto apis = CompiledApis();
    if (!api.empty()) {
        if (auto named = NamedApi(api, apis)) return std::make_unique<RtMidiBackend>(*named);
        throw EMidiException("Unknown MIDI API: " + api);
    }
    // A JACK client that finds no server warns on every use; one query tells. The backend that
    // answered is the one handed out, with its client.
    std::unique_ptr<RtMidiBackend> answered;
    const auto chosen = AutomaticApi(apis, AlsaSequencerPresent(), [&] {
        auto probe = std::make_unique<RtMidiBackend>(RtMidi::UNIX_JACK);
        if (probe->Answers()) answered = std::move(probe);
        return answered != nullptr;
    });
    if (answered) return answered;
    return std::make_unique<RtMidiBackend>(chosen);
}
