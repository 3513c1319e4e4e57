// The receiver's capture from an arbitrary sequence of incoming messages (the input after the
// buffer size, cut after each F7): it hands out exactly the first System Exclusive message,
// cut to its buffer, once.
#include "midi/MidiInSysEx.h"
#include "tests/midi/FakeMidiBackend.h"

#include <algorithm>
#include <cstdlib>
#include <optional>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static InstalledFake fake{{{"In", TMidiTechnology::mtMidiPort}}, {}};
    if (size == 0) return 0;
    fake.system->log.clear(); // the fake records every open and close
    TMidiReceiver receiver(1, data[0]);
    std::optional<Bytes> first;
    for (std::span<const std::uint8_t> rest(data + 1, size - 1); !rest.empty();) {
        auto length = std::min<std::size_t>(
            std::find(rest.begin(), rest.end(), 0xF7) - rest.begin() + 1, rest.size());
        if (!first && rest[0] == 0xF0)
            first.emplace(rest.begin(), rest.begin() + std::min<std::size_t>(length, data[0]));
        fake.system->Deliver(Bytes(rest.begin(), rest.begin() + length));
        rest = rest.subspan(length);
    }
    Bytes got;
    bool came = receiver.WaitForStream(0, got);
    if (came != (first && !first->empty()) || (came && got != *first)) std::abort();
    if (receiver.WaitForStream(0, got)) std::abort();
    receiver.Close();
    return 0;
}
