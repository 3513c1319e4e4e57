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
        try {
            CloseShortOut();
        } catch (const EMidiException&) {
        }
    }
    InstalledFake fake{{}, {{"Port", Kind::mtMidiPort}, {"Synth", Kind::mtSynth}}};
    const std::vector<Bytes>& sent() const { return fake.system->sent; }
};

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

TEST_F(ShortOut, PlayFrequencyOnAKeyDoesNotBend) {
    OpenShortOut(1);
    PlayFrequency(1, 440.0);
    StopLastNote();
    EXPECT_EQ(sent(),
              (std::vector<Bytes>{
                  {0xC0, 0x01}, {0xE0, 0x00, 0x40}, {0x90, 0x45, 0x7F}, {0x80, 0x45, 0x7F}}));
}

int bendOf(const Bytes& message) {
    return message.at(1) | (message.at(2) << 7);
}

TEST_F(ShortOut, PlayFrequencyBendsTowardsTheFrequency) {
    // A quarter of a semitone above and below A 5: one semitone is 8192 bend steps.
    const double a = KeyToFrequency(69);
    OpenShortOut(1);
    PlayFrequency(1, a + (KeyToFrequency(70) - a) / 4);
    PlayFrequency(1, a - (a - KeyToFrequency(68)) / 4);
    ASSERT_EQ(sent().size(), 6u);
    EXPECT_EQ(bendOf(sent()[1]), 8192 + 2048);
    EXPECT_EQ(bendOf(sent()[4]), 8192 - 2048);
    EXPECT_EQ(sent()[2], (Bytes{0x90, 69, 127}));
    EXPECT_EQ(sent()[5], (Bytes{0x90, 69, 127}));
}

TEST_F(ShortOut, PlayFrequencyAboveKey127SendsNothing) {
    OpenShortOut(1);
    PlayFrequency(1, 440.0);
    EXPECT_THROW(PlayFrequency(1, 30000.0), std::out_of_range);
    EXPECT_EQ(sent().size(), 3u);
    StopLastNote(); // still the key of the last tone played
    EXPECT_EQ(sent().back(), (Bytes{0x80, 69, 127}));
}

TEST(FindSynthOut, FirstSynthesizerAfterTheMapper) {
    {
        InstalledFake fake(
            {}, {{"Port", Kind::mtMidiPort}, {"FM", Kind::mtFmSynth}, {"Synth", Kind::mtSynth}});
        EXPECT_EQ(FindSynthOut(), 2);
    }
    {
        InstalledFake fake({}, {{"Port", Kind::mtMidiPort}, {"Synth", Kind::mtSynth}});
        EXPECT_EQ(FindSynthOut(), 2); // the last device is searched too
    }
    {
        InstalledFake fake({}, {{"Port", Kind::mtMidiPort}, {"Square", Kind::mtSquareSynth}});
        EXPECT_EQ(FindSynthOut(), -1);
    }
    InstallMidiBackends(nullptr, nullptr);
    EXPECT_EQ(FindSynthOut(), -1); // the mapper alone is never the synthesizer
    TMidiSpecs specs;
    EXPECT_EQ(textOf([&] { GetMidiSpecs(1, specs); }), "Unable to retrieve device capabilities");
}

TEST(PlayClick, ExternalPortsOnlyMakeNoSound) {
    InstalledFake fake({}, {{"Port", Kind::mtMidiPort}});
    EXPECT_NO_THROW(PlayClick(1.0f, 2.0f));
    EXPECT_TRUE(fake.system->log.empty());
}

TEST(PlayClick, SoundsA4MsToneOnTheSynthesizerAndClosesIt) {
    InstalledFake fake({}, {{"Port", Kind::mtMidiPort}, {"Synth", Kind::mtSynth}});
    PlayClick(0.0f, 10.0f);
    EXPECT_EQ(fake.system->log, (std::vector<std::string>{"open out 1", "send", "send", "send",
                                                          "send", "close out"}));
    EXPECT_EQ(fake.system->sent.front(), (Bytes{0xC0, 0x01}));
    EXPECT_EQ(fake.system->sent.back(), (Bytes{0x80, 0x45, 0x7F}));

    // Failures after the search are swallowed, and the device is still closed.
    fake.system->log.clear();
    fake.system->failSend = true;
    EXPECT_NO_THROW(PlayClick(0.0f, 0.0f));
    EXPECT_EQ(fake.system->OpenPorts(), 0);
    fake.system->failOpenOut = true;
    EXPECT_NO_THROW(PlayClick(1.0f, 2.0f));
    EXPECT_EQ(textOf([] { CloseShortOut(); }), "No open midi-out device");
}

} // namespace
