// The port menus' entries from the device list, and the stored entry a start restores.

#include "model/PortList.h"
#include "midi/MidiDevices.h"

#include <gtest/gtest.h>

namespace {

struct ListingBackend : MidiBackend {
    std::vector<MidiPortInfo> InputPorts() override { return {{"USB In"}, {"Hub #2 In"}}; }
    std::vector<MidiPortInfo> OutputPorts() override {
        return {{"Soft Synth", TMidiTechnology::mtSynth},
                {"Out & Thru", TMidiTechnology::mtMidiPort},
                {"Wave", TMidiTechnology::mtFmSynth},
                {"Last", TMidiTechnology::mtMidiPort}};
    }
    std::unique_ptr<MidiOutputPort> OpenOutput(int) override { return nullptr; }
    std::unique_ptr<MidiInputPort> OpenInput(int, MidiMessageHandler) override { return nullptr; }
};

TEST(PortList, EntriesNameTheirDeviceNumbers) {
    InstallMidiBackends(std::make_unique<ListingBackend>(), nullptr);
    std::vector<std::pair<std::string, int>> ins, outs;
    for (const PortEntry& entry : ListInputPorts(nullptr))
        ins.emplace_back(entry.caption, entry.device);
    EXPECT_EQ(ListOutputPorts(nullptr).back().name, "Last");
    for (const PortEntry& entry : ListOutputPorts(nullptr))
        outs.emplace_back(entry.caption, entry.device);
    InstallMidiBackends(nullptr, nullptr);
    EXPECT_EQ(ins,
              (std::vector<std::pair<std::string, int>>{{"USB In  #1", 1}, {"Hub #2 In  #2", 2}}));
    // Only ports of the MIDI-port kind, never the mapper (device 0).
    EXPECT_EQ(outs,
              (std::vector<std::pair<std::string, int>>{{"Out & Thru  #2", 2}, {"Last  #4", 4}}));
}

TEST(PortList, RestoredEntryIsTheStoredNumberWhenInRange) {
    const std::tuple<const char*, int, int> cases[] = {
        {"1", 3, 1}, {"2", 3, 2}, {"0", 3, 0},  {"3", 3, 0},  {"-1", 3, 0},
        {"", 3, 0},  {"x", 3, 0}, {"2 ", 3, 0}, {"+1", 3, 0}, {"0", 0, 0}};
    for (const auto& [stored, count, entry] : cases)
        EXPECT_EQ(RestoredEntry(stored, count), entry) << stored << " of " << count;
}

// The stored name finds the port wherever it is listed now; the position counts only when no
// entry has that name.
TEST(PortList, StoredNameWinsOverThePosition) {
    const std::vector<PortEntry> entries = {
        {"Hub  #1", "Hub", 1}, {"GR-33 In  #2", "GR-33 In", 2}, {"GR-33 In  #3", "GR-33 In", 3}};
    const std::tuple<const char*, const char*, int> cases[] = {
        {"GR-33 In", "0", 1}, {"GR-33 In", "2", 1}, {"Hub", "x", 0},
        {"Gone", "2", 2},     {"", "1", 1},         {"gr-33 in", "9", 0}};
    for (const auto& [name, position, entry] : cases) {
        SCOPED_TRACE(std::string(name) + " at " + position);
        EXPECT_EQ(RestoredEntry(entries, name, position), entry);
    }
    EXPECT_EQ(RestoredEntry({}, "Hub", "1"), 0);
    EXPECT_EQ(EntryNamed(entries, "Gone"), -1);
}

} // namespace
