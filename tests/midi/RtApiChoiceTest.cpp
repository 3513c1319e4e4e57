#include "midi/RtApiChoice.h"

#include "base/Errors.h"
#include "midi/RtMidiBackend.h"

#include <gtest/gtest.h>

using namespace rtbackend;

namespace {
const std::vector<RtMidi::Api> everyApi{RtMidi::MACOSX_CORE, RtMidi::LINUX_ALSA, RtMidi::UNIX_JACK,
                                        RtMidi::WINDOWS_MM, RtMidi::RTMIDI_DUMMY};
}

TEST(RtApiChoice, NamesInAnyCaseAndRtMidisOwn) {
    struct Case {
        const char* name;
        std::vector<RtMidi::Api> compiled;
        std::optional<RtMidi::Api> api;
    } cases[] = {
        {"alsa", everyApi, RtMidi::LINUX_ALSA},
        {"windows multimedia", everyApi, RtMidi::WINDOWS_MM},
        {"JACK", everyApi, RtMidi::UNIX_JACK},
        {"coremidi", everyApi, RtMidi::MACOSX_CORE},
        {"core", everyApi, RtMidi::MACOSX_CORE},
        {"WINMM", everyApi, RtMidi::WINDOWS_MM},
        {"jack", {RtMidi::LINUX_ALSA}, std::nullopt},
        {"jac", everyApi, std::nullopt},
        {"jackd", everyApi, std::nullopt},
        {"", everyApi, std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(NamedApi(c.name, c.compiled), c.api);
    }
    for (RtMidi::Api api : everyApi)
        EXPECT_EQ(NamedApi(ApiDisplayName(api), everyApi), api);
    EXPECT_EQ(ApiDisplayName(RtMidi::UNIX_JACK), "JACK");
    EXPECT_EQ(ApiDisplayName(RtMidi::MACOSX_CORE), "CoreMIDI");
}

// ALSA when its sequencer opens, JACK when a server answers (asked only then), another API,
// and with nothing answering JACK, ALSA, the dummy in that order.
TEST(RtApiChoice, AutomaticChoice) {
    using A = RtMidi::Api;
    struct Case {
        std::vector<A> compiled;
        bool alsaSequencer, jackAnswers;
        A api;
        bool jackAsked;
    } cases[] = {
        {{A::LINUX_ALSA, A::UNIX_JACK}, true, true, A::LINUX_ALSA, false},
        {{A::UNIX_JACK, A::LINUX_ALSA}, false, true, A::UNIX_JACK, true},
        {{A::UNIX_JACK, A::LINUX_ALSA}, false, false, A::UNIX_JACK, true},
        {{A::UNIX_JACK}, true, false, A::UNIX_JACK, true},
        {{A::LINUX_ALSA, A::RTMIDI_DUMMY}, false, true, A::LINUX_ALSA, false},
        {{A::RTMIDI_DUMMY, A::LINUX_ALSA, A::UNIX_JACK, A::MACOSX_CORE},
         false,
         false,
         A::MACOSX_CORE,
         true},
        {{A::RTMIDI_DUMMY}, true, true, A::RTMIDI_DUMMY, false},
        {{}, false, false, A::RTMIDI_DUMMY, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << c.compiled.size() << " " << c.alsaSequencer << " " << c.jackAnswers);
        bool asked = false;
        EXPECT_EQ(AutomaticApi(c.compiled, c.alsaSequencer,
                               [&] {
                                   asked = true;
                                   return c.jackAnswers;
                               }),
                  c.api);
        EXPECT_EQ(asked, c.jackAsked);
    }
}

// Every API RtMidi was built with can be named; without a server or ports, opening a port
// beyond the list fails with the device texts.
TEST(RtApiChoice, BackendsOfTheCompiledApis) {
    EXPECT_EQ(RtMidiApiNames().size(), CompiledApis().size());
    for (const auto& name : RtMidiApiNames()) {
        SCOPED_TRACE(name);
        auto backend = CreateRtMidiBackend(name);
        const int outs = static_cast<int>(backend->OutputPorts().size());
        EXPECT_THROW(backend->OpenOutput(outs), EMidiOut);
        EXPECT_THROW(backend->OpenInput(-1, [](auto) {}), EMidiIn);
    }
    try {
        CreateRtMidiBackend("midi");
        FAIL();
    } catch (const EMidiException& e) {
        EXPECT_STREQ(e.what(), "Unknown MIDI API: midi");
    }
}
