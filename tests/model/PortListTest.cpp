// The port menus' entries from the device list, and the stored entry a start restores.

#include "model/PortList.h"
#include "tests/midi/FakeMidiBackend.h"

#include <gtest/gtest.h>

namespace {

TEST(PortList, EntriesNameTheirDeviceNumbers) {
    using K = TMidiTechnology;
    InstalledFake fake({{"USB In"}, {"Hub #2 In"}}, {{"Soft Synth", K::mtSynth},
                                                     {"Out & Thru", K::mtMidiPort},
                                                     {"Wave", K::mtFmSynth},
                                                     {"Last", K::mtMidiPort}});
    auto listed = [](const std::vector<PortEntry>& entries) {
        std::string text;
        for (const PortEntry& entry : entries)
            text += entry.caption + "=" + entry.name + "@" + std::to_string(entry.device) + ";";
        return text;
    };
    EXPECT_EQ(listed(ListInputPorts(nullptr)), "USB In  #1=USB In@1;Hub #2 In  #2=Hub #2 In@2;");
    // Only ports of the MIDI-port kind, never the mapper (device 0).
    EXPECT_EQ(listed(ListOutputPorts(nullptr)), "Out & Thru  #2=Out & Thru@2;Last  #4=Last@4;");
}

TEST(PortList, RestoredEntryByNumberOrName) {
    const std::tuple<const char*, int, int> cases[] = {
        {"1", 3, 1}, {"2", 3, 2}, {"0", 3, 0},  {"3", 3, 0},  {"-1", 3, 0},
        {"", 3, 0},  {"x", 3, 0}, {"2 ", 3, 0}, {"+1", 3, 0}, {"0", 0, 0}};
    for (const auto& [stored, count, entry] : cases)
        EXPECT_EQ(RestoredEntry(stored, count), entry) << stored << " of " << count;
    // The stored name finds the port wherever listed; the position counts only when none matches.
    const std::vector<PortEntry> entries = {
        {"Hub  #1", "Hub", 1}, {"GR-33 In  #2", "GR-33 In", 2}, {"GR-33 In  #3", "GR-33 In", 3}};
    const std::tuple<const char*, const char*, int> named[] = {
        {"GR-33 In", "0", 1}, {"GR-33 In", "2", 1}, {"Hub", "x", 0},
        {"Gone", "2", 2},     {"", "1", 1},         {"gr-33 in", "9", 0}};
    for (const auto& [name, position, entry] : named) {
        SCOPED_TRACE(std::string(name) + " at " + position);
        EXPECT_EQ(RestoredEntry(entries, name, position), entry);
    }
    EXPECT_EQ(RestoredEntry({}, "Hub", "1"), 0);
    EXPECT_EQ(EntryNamed(entries, "Gone"), -1);
}

} // namespace
