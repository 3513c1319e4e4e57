// Device list, SysEx receiver and sender, short-message output, notes, over the fake backend.

#include "midi/MidiInSysEx.h"
#include "midi/MidiLog.h"
#include "midi/MidiOutSysEx.h"
#include "midi/MidiShortOut.h"
#include "midi/NoteConversion.h"
#include "tests/midi/FakeMidiBackend.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <thread>

namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;
using K = TMidiTechnology;
const std::string dataFailed = "Unable to send data to open midi-out device";

// One output port and one input port; the short-message cell ends closed whatever the test did.
class Devices : public ::testing::Test {
protected:
    void TearDown() override {
        fake.system->failCloseOut = false;
        FailureOf([] { CloseShortOut(); });
    }
    InstalledFake fake{{{"In", K::mtMidiPort}}, {{"Out", K::mtMidiPort}, {"Synth", K::mtSynth}}};
    std::vector<Bytes>& sent() { return fake.system->sent; }
};

} // namespace

// Virtual ports follow the system's, output 0 is the uncounted mapper; d opens the right port.
TEST(MidiDevices, NumbersRunThroughBothBackends) {
    auto virt = std::make_shared<FakeMidiState>();
    virt->inputs = virt->outputs = {{"Virtual GR-33", K::mtMidiPort}};
    InstalledFake fake({{"In A"}, {"In B"}}, {{"Out A", K::mtSynth}}, virt);
    EXPECT_EQ(MidiInDeviceCount(), 3);
    EXPECT_EQ(MidiOutDeviceCount(), 2);
    const auto outs = MidiOutDeviceList();
    ASSERT_EQ(outs.size(), 3u);
    std::string ins, listed;
    for (int d = 0; d <= 2; ++d) {
        TMidiOutSpecs specs;
        GetMidiOutSpecs(d, specs);
        EXPECT_EQ(specs.Name, outs[d].Name);
        EXPECT_EQ(specs.Technology, outs[d].Technology);
        EXPECT_EQ(specs.Technology, std::vector<K>({K::mtMapper, K::mtSynth, K::mtMidiPort})[d]);
        TMidiInSpecs in;
        GetMidiInSpecs(d + 1, in);
        ins += in.Name + ";";
        listed += MidiInDeviceList()[d].Name + ";";
    }
    EXPECT_EQ(outs[1].Name + outs[2].Name, "Out AVirtual GR-33");
    EXPECT_EQ(ins, "In A;In B;Virtual GR-33;");
    EXPECT_EQ(listed, ins);
    OpenMidiInDevice(2, [](auto) {});
    OpenMidiInDevice(3, [](auto) {});
    OpenMidiOutDevice(2);
    EXPECT_EQ(Joined(fake.system->log), "open in 1, close in");
    EXPECT_EQ(Joined(virt->log), "open in 0, close in, open out 0, close out");
}

// Numbers outside the list, the mapper, refusing or absent backends fail with the device texts.
TEST(MidiDevices, FailuresCarryTheDeviceTexts) {
    for (bool refuse : {false, true}) {
        InstalledFake fake({{"In A"}}, {{"Out A"}});
        fake.system->failOpenIn = fake.system->failOpenOut = refuse;
        TMidiInSpecs in;
        TMidiOutSpecs out;
        for (int device : {0, 2, -1}) {
            SCOPED_TRACE(testing::Message() << refuse << device);
            EXPECT_EQ(FailureOf([&] { GetMidiInSpecs(device, in); }),
                      "Unable to retrieve midi-in device capabilities");
            EXPECT_EQ(FailureOf([&] { OpenMidiInDevice(device, [](auto) {}); }),
                      "Unable to open midi-in device");
            EXPECT_EQ(FailureOf([&] { GetMidiOutSpecs(device, out); }),
                      device ? "Unable to retrieve midi-out device capabilities" : "");
            EXPECT_EQ(FailureOf([&] { OpenMidiOutDevice(device); }),
                      "Unable to open midi-out device");
        }
        EXPECT_EQ(FailureOf([&] { OpenMidiInDevice(1, [](auto) {}); }),
                  refuse ? "Unable to open midi-in device" : "");
        EXPECT_EQ(FailureOf([&] { OpenMidiOutDevice(1); }),
                  refuse ? "Unable to open midi-out device" : "");
        EXPECT_EQ(fake.system->OpenPorts(), 0);
    }
    EXPECT_EQ(MidiInDeviceCount() + MidiOutDeviceCount(), 0);
    EXPECT_EQ(MidiOutDeviceList().size(), 1u);
    EXPECT_THROW(OpenMidiOutDevice(1), EMidiOut);
}

// Under a pin a number stays with its port while the list changes, and fails once it is gone.
TEST(MidiDevices, APinnedNumberFollowsItsPortUntilItIsGone) {
    InstalledFake fake({{"In A"}, {"GR-33"}}, {{"Out A"}, {"GR-33"}});
    auto& ports = *fake.system;
    auto openBoth = [] {
        std::string out = FailureOf([] { OpenMidiOutDevice(2); });
        return out + ";" + FailureOf([] { OpenMidiInDevice(2, [](auto) {}); });
    };
    {
        MidiDevicePin pin;
        EXPECT_EQ(openBoth(), ";");
        ports.inputs.insert(ports.inputs.begin(), {"New"});
        ports.outputs.insert(ports.outputs.begin(), {"New"});
        EXPECT_EQ(openBoth(), ";");
        ports.inputs = {{"In A"}, {"Synth"}};
        ports.outputs = {{"Out A"}, {"Synth"}};
        EXPECT_EQ(openBoth(), "Unable to open midi-out device;Unable to open midi-in device");
    }
    EXPECT_EQ(openBoth(), ";");
    EXPECT_EQ(Joined(ports.log),
              "open out 1, close out, open in 1, close in, open out 2, close out, "
              "open in 2, close in, open out 1, close out, open in 1, close in");
}

// Only the first SysEx message wakes the waiter, kept once, cut to the buffer (none: no wake).
TEST_F(Devices, ReceiverCapturesTheFirstSysExOnce) {
    for (int size : {-1, 0, 1, 200, 512}) {
        SCOPED_TRACE(size);
        const auto kept = static_cast<std::size_t>(std::clamp(size, 0, 140));
        for (bool asText : {false, true}) {
            TMidiReceiver receiver(1, size);
            fake.system->Deliver({0x90, 0x3C, 0x64});
            Bytes stream{0xAA};     // appended to
            std::string text = "x"; // replaced
            auto wait = [&](int ms) {
                return asText ? receiver.WaitForString(ms, text)
                              : receiver.WaitForStream(ms, stream);
            };
            EXPECT_FALSE(wait(0));
            Bytes first(140, 0x41);
            first.front() = 0xF0;
            std::thread device([&] {
                std::this_thread::sleep_for(30ms);
                fake.system->Deliver(first);
                fake.system->Deliver({0xF0, 0x11, 0xF7});
            });
            const bool came = wait(5000);
            device.join();
            EXPECT_EQ(came, kept > 0);
            const Bytes got =
                asText ? Bytes(text.begin(), text.end()) : Bytes(stream.begin() + 1, stream.end());
            if (kept || !asText) {
                EXPECT_EQ(got, Bytes(first.begin(), first.begin() + long(kept)));
            }
            const auto start = Clock::now();
            EXPECT_FALSE(wait(50));
            EXPECT_GE(Clock::now() - start, 50ms);
        }
    }
}

// Close stops delivery and reports a failure once; later closes are silent, every port closes.
TEST_F(Devices, ReceiverOpensAndCloses) {
    EXPECT_EQ(FailureOf([] { TMidiReceiver receiver(2, 16); }), "Unable to open midi-in device");
    for (bool failing : {false, true}) {
        fake.system->failCloseIn = failing;
        EXPECT_NO_THROW({ TMidiReceiver unused(1, 512); });
        TMidiReceiver receiver(1, 16);
        EXPECT_EQ(FailureOf([&] { receiver.Close(); }),
                  failing ? "Unable to close midi-in device " : "");
        EXPECT_EQ(fake.system->OpenPorts(), 0);
        fake.system->Deliver({0xF0, 0xF7});
        std::string text;
        EXPECT_FALSE(receiver.WaitForString(0, text));
        EXPECT_NO_THROW(receiver.Close());
    }
}

// A send waits for wire time and a poll; only a harmless dropped message goes out again, and
// one never done fails at the bound of its first hand-over.
TEST_F(Devices, SenderRepeatsDroppedMessagesOnlyWhenThatIsHarmless) {
    using enum SendState;
    using R = TMidiSender::Repeat;
    const struct {
        std::deque<SendState> states;
        R repeat;
        std::size_t length, handOvers; // 9 for "more than one"
        bool fails;
        std::chrono::milliseconds took;
    } cases[] = {{{Done}, R::Harmless, 140, 1, false, 49ms},
                 {{Pending, Pending, Done}, R::No, 3, 1, false, 15ms},
                 {{Dropped, Dropped, Done}, R::Harmless, 3, 3, false, 15ms},
                 {{Dropped}, R::No, 3, 1, false, 5ms},
                 {{Failed}, R::No, 3, 1, true, 5ms},
                 {{Dropped, Failed}, R::Harmless, 3, 2, true, 10ms},
                 {{Pending}, R::Harmless, 3, 1, true, 2000ms},
                 {{Dropped}, R::Harmless, 3, 9, true, 2000ms}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.states.size() << " " << int(c.states.front()));
        sent().clear();
        fake.system->progress = c.states;
        TMidiSender sender(1);
        const Bytes message(c.length, 0xF0);
        const auto start = Clock::now();
        EXPECT_EQ(FailureOf([&] { sender.SendSysEx(message, c.repeat); }),
                  c.fails ? dataFailed : "");
        EXPECT_EQ(std::min<std::size_t>(sent().size(), 9), c.handOvers);
        EXPECT_EQ(sent().front(), message);
        EXPECT_GE(Clock::now() - start, c.took - 100us);
        EXPECT_LT(Clock::now() - start, c.took + 1s);
    }
}

// Short messages as long as their status needs; failures carry their texts; closed stays closed.
TEST_F(Devices, SenderShortMessagesAndFailures) {
    EXPECT_EQ(PackShortMessage(0x90, 60, 100), 0x643C90u);
    const std::pair<std::uint8_t, std::size_t> lengths[] = {
        {0x80, 3}, {0xBF, 3}, {0xC0, 2}, {0xCF, 2}, {0xD3, 2}, {0xE1, 3}, {0xF0, 3}, {0xF1, 2},
        {0xF2, 3}, {0xF3, 2}, {0xF4, 3}, {0xF6, 1}, {0xF7, 3}, {0xF8, 1}, {0xFE, 1}, {0xFF, 1}};
    TMidiSender sender(1);
    for (auto [status, length] : lengths) {
        sender.SendShort(status, 0x3C, 0x64);
        const Bytes full{status, 0x3C, 0x64};
        EXPECT_EQ(sent().back(), Bytes(full.begin(), full.begin() + long(length))) << int(status);
    }
    sent().clear();
    SendAllSoundOff(sender, 15);
    SendNoteOn(sender, 2, 69, 127);
    SendNoteOff(sender, 2, 69, 0);
    SendProgramChange(sender, 9, 127);
    EXPECT_EQ(Joined(sent()), "BF 78 00, 92 45 7F, 82 45 00, C9 7F");
    EXPECT_EQ(FailureOf([] { TMidiSender mapper(0); }), "Unable to open midi-out device");
    fake.system->failSend = fake.system->failCloseOut = true;
    { TMidiSender silent(1); } // the destructor does not raise
    EXPECT_EQ(FailureOf([&] { sender.SendSysEx(Bytes{0xF0, 0xF7}); }), dataFailed);
    const std::string commandFailed = "Unable to send command to midi-out device";
    EXPECT_EQ(FailureOf([&] { sender.SendShort(0x90, 60, 100); }), commandFailed);
    EXPECT_EQ(FailureOf([&] { sender.Close(); }), "Unable to close midi-out device");
    EXPECT_EQ(fake.system->OpenPorts(), 0);
    fake.system->failSend = false;
    EXPECT_EQ(FailureOf([&] { sender.SendShort(0x90, 1, 1); }), commandFailed);
    EXPECT_EQ(FailureOf([&] { sender.SendSysEx(Bytes{0xF0, 0xF7}); }), dataFailed);
    EXPECT_NO_THROW(sender.Close());
    EXPECT_EQ(sent().size(), 4u);
}

// The cell holds one port; its failures carry their texts, and a failed close keeps it.
TEST_F(Devices, ShortOutCell) {
    EXPECT_EQ(FailureOf([] { SendShortOut(0x90, 1, 1); }),
              "No open midi-out device to send command to");
    EXPECT_EQ(FailureOf([] { CloseShortOut(); }), "No open midi-out device");
    for (int d : {0, 3})
        EXPECT_EQ(FailureOf([d] { OpenShortOut(d); }), "Unable to open midi-out device") << d;
    OpenShortOut(1);
    EXPECT_EQ(FailureOf([] { OpenShortOut(2); }), "There is already an open midi-out");
    PitchBendOut(0, 8192);
    PitchBendOut(2, 16383);
    PitchBendOut(0, 0x1234);
    ProgramChangeOut(5, 7);
    NoteOnOut(15, 127, 127);
    NoteOffOut(1, 0, 64);
    EXPECT_EQ(Joined(sent()), "E0 00 40, E2 7F 7F, E0 34 24, C5 07, 9F 7F 7F, 81 00 40");
    EXPECT_EQ(fake.system->log[0], "open out 0"); // the first port is still open
    fake.system->failSend = true;
    EXPECT_EQ(FailureOf([] { NoteOffOut(0, 60, 1); }),
              "Unable to send command to open midi-out device");
    fake.system->failCloseOut = true;
    EXPECT_EQ(FailureOf([] { CloseShortOut(); }), "Unable to close midi-out device");
    EXPECT_EQ(FailureOf([] { OpenShortOut(1); }), "There is already an open midi-out");
}

// The nearest key, bent towards the frequency (8192 steps a semitone) but at the range's ends.
TEST_F(Devices, PlayFrequencyBendsTheNearestKey) {
    auto quarter = [](int key, int towards) {
        return KeyToFrequency(key) + (KeyToFrequency(towards) - KeyToFrequency(key)) / 4;
    };
    const std::pair<double, const char*> cases[] = {
        {440.0, "C0 03, E0 00 40, 90 45 7F, 80 45 7F"},
        {quarter(69, 70), "C0 03, E0 00 50, 90 45 7F, 80 45 7F"},
        {quarter(69, 68), "C0 03, E0 00 30, 90 45 7F, 80 45 7F"},
        {KeyToFrequency(127) * 1.01, "C0 03, E0 00 40, 90 7F 7F, 80 7F 7F"},
        {7.95, "C0 03, E0 00 40, 90 00 7F, 80 00 7F"}};
    OpenShortOut(1);
    for (auto [hz, played] : cases) {
        sent().clear();
        PlayFrequency(3, hz);
        StopLastNote();
        EXPECT_EQ(Joined(sent()), played) << hz;
    }
    EXPECT_THROW(PlayFrequency(1, 30000.0), std::out_of_range);
    StopLastNote();
    EXPECT_EQ(Joined(sent()), "C0 03, E0 00 40, 90 00 7F, 80 00 7F, 80 00 7F");
}

// The click plays on the first FM or other synthesizer and closes it; failures are silent.
TEST(PlayClick, SoundsOnTheFirstSynthesizerOnly) {
    const std::pair<std::vector<MidiPortInfo>, int> cases[] = {
        {{{"Port"}, {"FM", K::mtFmSynth}, {"Synth", K::mtSynth}}, 2},
        {{{"Port"}, {"Synth", K::mtSynth}}, 2},
        {{{"Synth", K::mtSynth}, {"Port"}}, 1},
        {{{"Port"}, {"Square", K::mtSquareSynth}}, -1},
        {{}, -1}};
    for (const auto& [outputs, synth] : cases) {
        SCOPED_TRACE(synth);
        InstalledFake fake({}, outputs);
        EXPECT_EQ(FindSynthOut(), synth);
        PlayClick(0.0f, 10.0f);
        EXPECT_EQ(Joined(fake.system->log), synth > 0 ? "open out " + std::to_string(synth - 1) +
                                                            ", send, send, send, send, close out"
                                                      : "");
        EXPECT_EQ(Joined(fake.system->sent).ends_with("80 45 7F"), synth > 0);
        fake.system->failSend = true;
        EXPECT_NO_THROW(PlayClick(1.0f, 2.0f));
        fake.system->failOpenOut = true;
        EXPECT_NO_THROW(PlayClick(1.0f, 2.0f));
        EXPECT_EQ(fake.system->OpenPorts(), 0);
        EXPECT_EQ(FailureOf([] { CloseShortOut(); }), "No open midi-out device");
    }
    TMidiSpecs specs;
    EXPECT_EQ(FailureOf([&] { GetMidiSpecs(1, specs); }), "Unable to retrieve device capabilities");
}

TEST(NoteConversion, KeysNamesAndNotes) {
    const std::pair<int, const char*> names[] = {{0, "C 0"},   {1, "C# 0"}, {59, "B 4"},
                                                 {61, "C# 5"}, {69, "A 5"}, {127, "G 10"}};
    for (auto [key, name] : names) {
        EXPECT_EQ(KeyToNoteName(static_cast<std::uint8_t>(key)), name);
        EXPECT_EQ(NoteNameToKey(name), key);
    }
    for (const char* a5 : {"a 5", "A  5", "A +5"})
        EXPECT_EQ(NoteNameToKey(a5), 69) << a5;
    EXPECT_EQ(NoteNameToKey("h 4"), 59);
    EXPECT_EQ(KeyToNote(255), (TNote{21, 3}));
    EXPECT_EQ(NoteToKey(10, 7), 127);
    EXPECT_EQ(FailureOf([] { NoteToKey(10, 8); }), "Note cannot be mapped into a key");
    for (const char* text : {"C#5", "Bb 4", "A 5 ", "A ", "X 5", "A -"})
        EXPECT_EQ(FailureOf([&] { NoteNameToKey(text); }), "Illegal Note Format") << text;
    for (const char* text : {"G# 10", "C -1", "C 9999999999"})
        EXPECT_EQ(FailureOf([&] { NoteNameToKey(text); }), "Note cannot be mapped into a key")
            << text;
}

// Every key's frequency maps back to it; halfway in the logarithm goes to the nearer key.
TEST(NoteConversion, Frequencies) {
    EXPECT_DOUBLE_EQ(KeyToFrequency(0), 8.1765625);
    EXPECT_NEAR(KeyToFrequency(60), 261.65, 1e-9);
    EXPECT_NEAR(KeyToFrequency(69), 440.0000016, 5e-8);
    EXPECT_NEAR(KeyToFrequency(72) / KeyToFrequency(60), 2.0, 1e-12);
    for (int key = 0; key <= 255; ++key)
        EXPECT_EQ(FrequencyToKey(KeyToFrequency(static_cast<std::uint8_t>(key))), key) << key;
    EXPECT_EQ(FrequencyToKey(7.95), 0);
    const double halfway = std::sqrt(KeyToFrequency(69) * KeyToFrequency(70));
    EXPECT_EQ(FrequencyToKey(halfway * 0.999), 69);
    EXPECT_EQ(FrequencyToKey(halfway * 1.001), 70);
    for (double hz : {7.9, 0.0, -440.0, std::numeric_limits<double>::quiet_NaN()})
        EXPECT_EQ(FailureOf([&] { FrequencyToKey(hz); }), "Frequency cannot be mapped into a key")
            << hz;
    EXPECT_THROW(FrequencyToKey(1e9), std::out_of_range);
    EXPECT_THROW(FrequencyToKey(std::numeric_limits<double>::infinity()), std::out_of_range);
}

// Messages are named by their status ("Unknown" for no message); an entry's text is a head line,
// then its bytes in hex, MidiLogBytesPerLine to a line.
TEST(MidiLog, DescriptionsAndLines) {
    const std::pair<Bytes, const char*> names[] = {
        {{}, "Unknown"},
        {{0x45, 0x90, 0x40}, "Unknown"},
        {{0x90, 60}, "Unknown"},
        {{0x90, 60, 1}, "Note on 60"},
        {{0xE0, 1, 2}, "Pitch bend 257"},
        {{0xC5, 7}, "Program change 7"},
        {{0xF8}, "System message"},
        {{0xF0, 0x7E, 0x10, 0x06, 0x01, 0xF7}, "Identity request"},
        {{0xF0, 0x7E, 0x00, 0x06, 0x02, 0xF7}, "Identity reply"},
        {{0xF0, 0x7E, 0x00, 0x06, 0x03, 0xF7}, "SysEx"}};
    for (const auto& [bytes, name] : names)
        EXPECT_EQ(DescribeMidiMessage(bytes), name) << Joined(std::vector<Bytes>{bytes});
    for (std::size_t size : {1, 2, 33}) {
        const auto lines = MidiLogLines(
            {.time = {}, .direction = MidiDirection::In, .port = "P", .bytes = Bytes(size, 0xAB)},
            "D");
        ASSERT_EQ(lines.size(), 1 + (size + 31) / 32);
        EXPECT_TRUE(lines[0].ends_with(" in  P " + std::to_string(size) +
                                       (size == 1 ? " byte: D" : " bytes: D")))
            << lines[0];
        std::string hex = "   ";
        for (std::size_t i = 0; i < std::min<std::size_t>(size, 32); ++i)
            hex += " AB";
        EXPECT_EQ(lines[1], hex);
    }
}
