#include "midi/MidiShortOut.h"

#include "base/Errors.h"
#include "midi/NoteConversion.h"
#include "tests/midi/FakeMidiBackend.h"

#include <gtest/gtest.h>

namespace {

using Kind = TMidiTechnology;

std::string textOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const std::exception& e) {
        return e.what();
    }
    return "";
}

// Leaves the process-wide cell closed whatever the test did.
class ShortOut : public ::testing::Test {
protected:
    void TearDown() override {
        fake.system->failCloseOut = false;
        textOf([] { CloseShortOut(); });
    }
    InstalledFake fake{{}, {{"Port", Kind::mtMidiPort}, {"Synth", Kind::mtSynth}}};
    const std::vector<Bytes>& sent() const { return fake.system->sent; }
};

} // namespace

TEST_F(ShortOut, CellErrors) {
    EXPECT_EQ(textOf([] { SendShortOut(0x90, 1, 1); }),
              "No open midi-out device to send command to");
    EXPECT_EQ(textOf([] { CloseShortOut(); }), "No open midi-out device");
    EXPECT_EQ(textOf([] { OpenShortOut(0); }), "Unable to open midi-out device");
    EXPECT_EQ(textOf([] { OpenShortOut(3); }), "Unable to open midi-out device");
    OpenShortOut(1);
    EXPECT_EQ(textOf([] { OpenShortOut(2); }), "There is already an open midi-out");
    NoteOnOut(0, 60, 1); // the first port is still open
    EXPECT_EQ(fake.system->log, (std::vector<std::string>{"open out 0", "send"}));
    fake.system->failSend = true;
    EXPECT_EQ(textOf([] { NoteOffOut(0, 60, 1); }),
              "Unable to send command to open midi-out device");
    fake.system->failCloseOut = true;
    EXPECT_EQ(textOf([] { CloseShortOut(); }), "Unable to close midi-out device");
    EXPECT_EQ(textOf([] { OpenShortOut(1); }), "There is already an open midi-out");
}

TEST_F(ShortOut, ChannelMessageBytes) {
    OpenShortOut(1);
    PitchBendOut(0, 8192);
    PitchBendOut(2, 16383);
    PitchBendOut(0, 0x1234);
    ProgramChangeOut(5, 7);
    NoteOnOut(15, 127, 127);
    NoteOffOut(1, 0, 64);
    EXPECT_EQ(sent(), (std::vector<Bytes>{{0xE0, 0x00, 0x40},
                                          {0xE2, 0x7F, 0x7F},
                                          {0xE0, 0x34, 0x24},
                                          {0xC5, 0x07},
                                          {0x9F, 0x7F, 0x7F},
                                          {0x81, 0x00, 0x40}}));
}

// The nearest key is played, bent towards the frequency (a semitone is 8192 steps) except at
// the ends of the key range; a key above 127 sends nothing and the last key stays.
TEST_F(ShortOut, PlayFrequencyBendsTheNearestKey) {
    auto quarter = [](int key, int towards) {
        return KeyToFrequency(key) + (KeyToFrequency(towards) - KeyToFrequency(key)) / 4;
    };
    const struct {
        double hz;
        int key, bend;
    } cases[] = {{440.0, 69, 8192},
                 {quarter(69, 70), 69, 8192 + 2048},
                 {quarter(69, 68), 69, 8192 - 2048},
                 {KeyToFrequency(127) * 1.01, 127, 8192},
                 {7.95, 0, 8192}};
    OpenShortOut(1);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.hz);
        fake.system->sent.clear();
        PlayFrequency(3, c.hz);
        StopLastNote();
        const auto k = static_cast<std::uint8_t>(c.key);
        EXPECT_EQ(sent(), (std::vector<Bytes>{
                              {0xC0, 0x03},
                              {0xE0, std::uint8_t(c.bend & 0x7F), std::uint8_t(c.bend >> 7)},
                              {0x90, k, 0x7F},
                              {0x80, k, 0x7F}}));
    }
    EXPECT_THROW(PlayFrequency(1, 30000.0), std::out_of_range);
    StopLastNote();
    EXPECT_EQ(sent().size(), 5u);
    EXPECT_EQ(sent().back(), (Bytes{0x80, 0, 0x7F}));
}

// The synthesizer is the first FM or other synthesizer port after the mapper; the click plays
// on it and closes it again, and without one, or when it fails, nothing happens.
TEST(PlayClick, SoundsOnTheFirstSynthesizerOnly) {
    const struct {
        std::vector<MidiPortInfo> outputs;
        int synth;
    } cases[] = {
        {{{"Port", Kind::mtMidiPort}, {"FM", Kind::mtFmSynth}, {"Synth", Kind::mtSynth}}, 2},
        {{{"Port", Kind::mtMidiPort}, {"Synth", Kind::mtSynth}}, 2},
        {{{"Synth", Kind::mtSynth}, {"Port", Kind::mtMidiPort}}, 1},
        {{{"Port", Kind::mtMidiPort}, {"Square", Kind::mtSquareSynth}}, -1},
        {{}, -1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.synth);
        InstalledFake fake({}, c.outputs);
        EXPECT_EQ(FindSynthOut(), c.synth);
        PlayClick(0.0f, 10.0f);
        std::vector<std::string> log;
        if (c.synth > 0)
            log = {"open out " + std::to_string(c.synth - 1),
                   "send",
                   "send",
                   "send",
                   "send",
                   "close out"};
        EXPECT_EQ(fake.system->log, log);
        if (c.synth > 0) {
            EXPECT_EQ(fake.system->sent.back(), (Bytes{0x80, 69, 0x7F}));
        }
        fake.system->failSend = true;
        EXPECT_NO_THROW(PlayClick(1.0f, 2.0f));
        fake.system->failOpenOut = true;
        EXPECT_NO_THROW(PlayClick(1.0f, 2.0f));
        EXPECT_EQ(fake.system->OpenPorts(), 0);
        EXPECT_EQ(textOf([] { CloseShortOut(); }), "No open midi-out device");
    }
    TMidiSpecs specs;
    EXPECT_EQ(textOf([&] { GetMidiSpecs(1, specs); }), "Unable to retrieve device capabilities");
}
