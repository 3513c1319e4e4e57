// The receiver's capture from an arbitrary sequence of incoming messages (the input after the
// buffer size, cut after each F7): it hands out exactly the first System Exclusive message,
// cut to its buffer, once.
#include "midi/MidiDevices.h"
#include "midi/MidiInSysEx.h"

#include <algorithm>
#include <cstdlib>
#include <optional>

namespace {
MidiMessageHandler deliver;
struct FeedBackend : MidiBackend {
    std::vector<MidiPortInfo> InputPorts() override { return {{"feed"}}; }
    std::vector<MidiPortInfo> OutputPorts() override { return {}; }
    std::unique_ptr<MidiOutputPort> OpenOutput(int) override { return nullptr; }
    std::unique_ptr<MidiInputPort> OpenInput(int, MidiMessageHandler handler) override {
        deliver = std::move(handler);
        return std::make_unique<MidiInputPort>();
    }
};
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static bool installed = (InstallMidiBackends(std::make_unique<FeedBackend>(), nullptr), true);
    if (size == 0 || !installed) return 0;
    TMidiReceiver receiver(1, data[0]);
    std::optional<Bytes> first;
    for (std::span<const std::uint8_t> rest(data + 1, size - 1); !rest.empty();) {
        auto length = std::min<std::size_t>(
            std::find(rest.begin(), rest.end(), 0xF7) - rest.begin() + 1, rest.size());
        if (!first && rest[0] == 0xF0)
            first.emplace(rest.begin(), rest.begin() + std::min<std::size_t>(length, data[0]));
        deliver(rest.first(length));
        rest = rest.subspan(length);
    }
    Bytes got;
    bool came = receiver.WaitForStream(0, got);
    if (came != (first && !first->empty()) || (came && got != *first)) std::abort();
    if (receiver.WaitForStream(0, got)) std::abort();
    receiver.Close();
    return 0;
}
