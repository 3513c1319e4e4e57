// The GridFont text, and the port lists built from the device list.

#include "base/Errors.h"
#include "librarian/model/GridFont.h"
#include "librarian/model/PortList.h"
#include "librarian/model/Settings.h"
#include "midi/MidiDevices.h"

#include <gtest/gtest.h>

namespace {

TEST(GridFont, IncompleteTextsLeaveTheFontAlone) {
    const FontSpec design{8, 0, "Sans"};
    for (const char* text : {"", "12", "12 1", "abc"}) {
        FontSpec font = design;
        StringToFont(font, text);
        EXPECT_EQ(font, design) << text;
    }
}

TEST(GridFont, NameKeepsItsBlanksAndRoundTrips) {
    FontSpec font{8, 0, "Sans"};
    StringToFont(font, "12 1 Arial Narrow");
    EXPECT_EQ(font, (FontSpec{12, 1, "Arial Narrow"}));
    EXPECT_EQ(FontToString(font), "12 1 Arial Narrow");
    FontSpec back;
    StringToFont(back, FontToString(FontSpec{10, 3, "DejaVu Serif Condensed"}));
    EXPECT_EQ(back, (FontSpec{10, 3, "DejaVu Serif Condensed"}));
}

TEST(GridFont, BadNumbersRaiseAndApplyNothing) {
    const FontSpec design{8, 0, "Sans"};
    const std::pair<const char*, const char*> cases[] = {
        {"x 0 Sans Bold", "'x' is not a valid integer value"},
        {"10 b Sans", "'b' is not a valid integer value"},
        {"10 256 Sans", "'256' is not a valid font style"},
        {"0 0 Sans", "'0' is not a valid font size"},
        {"99999 0 Sans", "'99999' is not a valid font size"},
    };
    for (auto [text, message] : cases) {
        FontSpec font = design;
        try {
            StringToFont(font, text);
            ADD_FAILURE() << text << " accepted";
        } catch (const EKelvoError& e) {
            EXPECT_STREQ(e.what(), message);
        }
        EXPECT_EQ(font, design) << text;
    }
}

TEST(PortCaptions, NumberAfterTheLastHash) {
    EXPECT_EQ(PortCaption("USB MIDI", 3), "USB MIDI  #3");
    EXPECT_EQ(DeviceOfCaption("Port #2 of hub  #7"), 7);
    EXPECT_EQ(DeviceOfCaption("No number"), -1);
    EXPECT_EQ(DeviceOfCaption("Trailing #"), -1);
}

TEST(PortCaptions, StoredEntryOutOfRangeFallsBackToZero) {
    EXPECT_EQ(RestoredEntry("1", 2), 1);
    for (const char* stored : {"", "5", "2", "-1", "x", "1x"})
        EXPECT_EQ(RestoredEntry(stored, 2), 0) << stored;
}

// A backend that lists ports only.
class ListingBackend : public MidiBackend {
public:
    std::vector<MidiPortInfo> ins, outs;
    std::vector<MidiPortInfo> InputPorts() override { return ins; }
    std::vector<MidiPortInfo> OutputPorts() override { return outs; }
    std::unique_ptr<MidiOutputPort> OpenOutput(int) override { return nullptr; }
    std::unique_ptr<MidiInputPort> OpenInput(int, MidiMessageHandler) override { return nullptr; }
};

TEST(PortLists, OnlyMidiPortsAreListedWithTheirDeviceNumbers) {
    auto backend = std::make_unique<ListingBackend>();
    backend->ins = {{"In A"}, {"In B"}};
    backend->outs = {{"Synth", TMidiTechnology::mtSynth},
                     {"Wavetable", TMidiTechnology::mtSquareSynth},
                     {"Out C", TMidiTechnology::mtMidiPort}};
    InstallMidiBackends(std::move(backend), nullptr);
    auto ins = ListInputPorts(nullptr);
    auto outs = ListOutputPorts(nullptr);
    InstallMidiBackends(nullptr, nullptr);

    ASSERT_EQ(ins.size(), 2u);
    EXPECT_EQ(ins[0].caption, "In A  #1");
    EXPECT_EQ(ins[1].caption, "In B  #2");
    ASSERT_EQ(outs.size(), 1u); // the mapper and the synthesizers are left out
    EXPECT_EQ(outs[0].caption, "Out C  #3");
    EXPECT_EQ(outs[0].device, 3);
}

} // namespace
