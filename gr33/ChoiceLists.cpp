// The lists of choices of the Common, Tone and Effects pages, each in order from
// position 0, exactly as the user sees them ("Random 1sr", "Sostenuto " and "-3th" included).

#include "gr33/CatalogueData.h"

#include <algorithm>

namespace catalogue_data {

// clang-format off
// Play Feel (16)
constexpr std::array<std::string_view, 16> PlayFeel = {
    "Normal", "Finger Picking", "Hard Picking", "Soft Picking", "Tapping", "No Dynamics",
    "Envelope1", "Envelope2", "Accl Normal", "Accl Finger Picking", "Accl Hard Picking",
    "Accl Soft Picking", "Accl Tapping", "Accl No Dynamics", "Accl Envelope1", "Accl Envelope2",
};

// Pan Mode (12)
constexpr std::array<std::string_view, 12> PanMode = {
    "Normal", "Cross Tones", "1-6", "6-1", "Odd-Even", "Even-Odd", "Random Both", "Random 1sr",
    "Random 2nd", "Alternate Both", "Alternate 1st", "Alternate 2nd",
};

// Chromatic (4)
constexpr std::array<std::string_view, 4> Chromatic = {
    "Off", "Type 1", "Type 2", "Type 3",
};

// Wah Type (36)
constexpr std::array<std::string_view, 36> WahType = {
    "Wah1", "Wah2", "Wah3", "Wah4", "Wah5", "AutoWah1", "AutoWah2", "AutoWah3", "AutoWah4",
    "AutoWah5", "Brightness1", "Brightness2", "Brightness3", "Brightness4", "Brightness5",
    "NarrowWah1", "NarrowWah2", "NarrowWah3", "NarrowWah4", "NarrowWah5", "R.Wah1", "R.Wah2",
    "R.Wah3", "R.Wah4", "R.Wah5", "R.Brightness1", "R.Brightness2", "R.Brightness3",
    "R.Brightness4", "R.Brightness5", "R.NarrowWah1", "R.NarrowWah2", "R.NarrowWah3",
    "R.NarrowWah4", "R.NarrowWah5", "Modulation",
};

// Glide Type (14)
constexpr std::array<std::string_view, 14> GlideType = {
    "Down7", "Down6", "Down5", "Down4", "Down3", "Down2", "Down1", "Up1", "Up2", "Up3", "Up4",
    "Up5", "Up6", "Up7",
};

// Hold Type (A-) (15)
constexpr std::array<std::string_view, 15> HoldTypeAMinus = {
    "Damper All", "Damper 1st", "Damper 2nd", "Damper 1&2", "Damper Ext", "Damper Ext&1",
    "Damper Ext&2", "Sostenuto All", "Sostenuto 1st", "Sostenuto 2nd", "Sostenuto 1&2",
    "Sostenuto Ext", "Sostenuto Ext&1", "Sostenuto Ext&2", "String",
};

// Hold Type (A+) (4)
constexpr std::array<std::string_view, 4> HoldTypeAPlus = {
    "Damper", "Sostenuto ", "Latch TypeA", "Latch TypeB",
};

// Ctrl Pedal (2)
constexpr std::array<std::string_view, 2> CtrlPedal = {
    "HAR/ARP Control", "Multi-Fx Bypass",
};

// Exp Pedal (81)
constexpr std::array<std::string_view, 81> ExpPedal = {
    "Volume", "Volume 1st", "Volume 2nd", "Balance", "Tone Param", "Multi-FX Param", "Brightness",
    "Wah", "Pitch", "Modulation", "Pan (Normal)", "Pan (Cross Tones)", "Cho Send Level",
    "Rev Send Level", "Arp Tempo 1", "Arp Tempo 2", "Arp Tempo 3", "Tempo & Pitch", "CC 1", "CC 2",
    "CC 3", "CC 4", "CC 5", "CC 6", "CC 7", "CC 8", "CC 9", "CC 10", "CC 11", "CC 12", "CC 13",
    "CC 14", "CC 15", "CC 16", "CC 17", "CC 18", "CC 19", "CC 20", "CC 21", "CC 22", "CC 23",
    "CC 24", "CC 25", "CC 26", "CC 27", "CC 28", "CC 29", "CC 30", "CC 31", "CC 64", "CC 65",
    "CC 66", "CC 67", "CC 68", "CC 69", "CC 70", "CC 71", "CC 72", "CC 73", "CC 74", "CC 75",
    "CC 76", "CC 77", "CC 78", "CC 79", "CC 80", "CC 81", "CC 82", "CC 83", "CC 84", "CC 85",
    "CC 86", "CC 87", "CC 88", "CC 89", "CC 90", "CC 91", "CC 92", "CC 93", "CC 94", "CC 95",
};

// Layer (6)
constexpr std::array<std::string_view, 6> Layer = {
    "Mute", "1st Tone", "2nd Tone", "Both Tones", "Weak Detune", "Strong Detune",
};

// Reverb Type (8)
constexpr std::array<std::string_view, 8> ReverbType = {
    "Room1", "Room2", "Stage1", "Stage2", "Hall1", "Hall2", "Delay", "Pan Delay",
};

// HF Damp (18)
constexpr std::array<std::string_view, 18> HfDamp = {
    "200", "250", "315", "400", "500", "630", "800", "1000", "1250", "1600", "2000", "2500", "3150",
    "4000", "5000", "6300", "8000", "Bypass",
};

// Multi-FX SW (4)
constexpr std::array<std::string_view, 4> MultiFxSwitch = {
    "Off", "1st", "2nd", "Both",
};

// Har/Arp Select (14)
constexpr std::array<std::string_view, 14> HarArpSelect = {
    "Harmony All", "Harmony 1st", "Harmony 2nd", "Harmony 1&2", "Harmony Ext", "Harmony Ext&1",
    "Harmony Ext&2", "Arpeggio All", "Arpeggio 1st", "Arpeggio 2nd", "Arpeggio 1&2", "Arpeggio Ext",
    "Arpeggio Ext&1", "Arpeggio Ext&2",
};

// Harmony Style (13)
constexpr std::array<std::string_view, 13> HarmonyStyle = {
    "-7th", "-6th", "-5th", "-4th", "-3th", "-2th", "+2th", "+3th", "+4th", "+5th", "+6th", "+7th",
    "Diminish",
};

// Harmony Key (24)
constexpr std::array<std::string_view, 24> HarmonyKey = {
    "C", "C#", "D", "D#", "E", "F", "F#", "G", "G#", "A", "A#", "B", "Cm", "C#m", "Dm", "D#m", "Em",
    "Fm", "F#m", "Gm", "G#m", "Am", "A#m", "Bm",
};

// Arp Pattern (50)
constexpr std::array<std::string_view, 50> ArpPatternEntries = {
    " 1 Arpeggio 1", " 2 Arpeggio 2", " 3 Arpeggio 3", " 4 Arpeggio 4", " 5 Arpeggio 5",
    " 6 Arpeggio 6", " 7 Arpeggio 7", " 8 Arpeggio 8", " 9 Arpeggio 9", "10 Arpeggio 10",
    "11 Riff 1", "12 Riff 2", "13 Riff 3", "14 Riff 4", "15 Riff 5", "16 Riff 6", "17 Riff 7",
    "18 Riff 8", "19 Riff 9", "20 Riff 10", "21 Riff 11", "22 Riff 12", "23 Riff 13", "24 Riff 14",
    "25 Waltz", "26 Tango", "27 Orient 1", "28 Orient 2", "29 Orient 3", "30 Orient 4",
    "31 Shamisen", "32 Techno 1", "33 Techno 2", "34 Techno 3", "35 Techno 4", "36 Drum 1",
    "37 Drum 2", "38 Drum 3", "39 Bass 1", "40 Bass 2", "41 Bass 3", "42 Bossa 1", "43 Bossa 2",
    "44 Bossa 3", "45 Pop 1", "46 Pop 2", "47 Pop 3", "48 Pop 4", "49 Pop 5", "50 Finale",
};
// clang-format on

constexpr std::array<std::string_view, 50> ArpPatternNames = StripNumbers(ArpPatternEntries, 3);

namespace {

constexpr std::array<ChoiceList, 19> Lists = {{
    {"Play Feel", PlayFeel},
    {"Pan Mode", PanMode},
    {"Chromatic", Chromatic},
    {"Wah Type", WahType},
    {"Glide Type", GlideType},
    {"Hold Type (A-)", HoldTypeAMinus},
    {"Hold Type (A+)", HoldTypeAPlus},
    {"Ctrl Pedal", CtrlPedal},
    {"Exp Pedal", ExpPedal},
    {"Tone", ToneEntries},
    {"Layer", Layer},
    {"Reverb Type", ReverbType},
    {"HF Damp", HfDamp},
    {"Multi-FX SW", MultiFxSwitch},
    {"Multi-FX Type", EffectTypeNames},
    {"Har/Arp Select", HarArpSelect},
    {"Harmony Style", HarmonyStyle},
    {"Harmony Key", HarmonyKey},
    {"Arp Pattern", ArpPatternEntries},
}};

} // namespace

} // namespace catalogue_data

std::span<const ChoiceList> ChoiceLists() {
    return catalogue_data::Lists;
}

const ChoiceList* FindChoiceList(std::string_view name) {
    const auto& lists = catalogue_data::Lists;
    auto it = std::find_if(lists.begin(), lists.end(),
                           [name](const ChoiceList& list) { return list.name == name; });
    return it == lists.end() ? nullptr : &*it;
}

std::span<const std::string_view> ArpPatternEntries() {
    return catalogue_data::ArpPatternEntries;
}
std::span<const std::string_view> ArpPatternNames() {
    return catalogue_data::ArpPatternNames;
}
