#include "gr33/PatchDump.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace {

std::map<std::string, std::string> ByKey(const std::vector<DumpLine>& lines) {
    std::map<std::string, std::string> map;
    for (const DumpLine& line : lines)
        map[line.key] = line.value;
    return map;
}

std::vector<std::string> Formatted(const std::vector<DumpLine>& lines) {
    std::vector<std::string> texts;
    for (const DumpLine& line : lines)
        texts.push_back(FormatDumpLine(line));
    return texts;
}

void SetName(PatchBytes& bytes, std::string_view name) {
    for (std::size_t i = 0; i < NameSize; ++i)
        bytes[i] = static_cast<std::uint8_t>(i < name.size() ? name[i] : ' ');
}

// A patch the editor shows without any value out of range.
PatchBytes ValidPatch() {
    PatchBytes b{};
    SetName(b, "WireLead");
    b[12] = 100; // Patch Level
    b[15] = 64;  // Pan 0
    for (int i = 59; i <= 64; ++i)
        b[i] = 64; // MIDI Transpose 0
    b[66] = 0x05;  // 1st Select: position 261
    b[67] = 0x02;
    for (int i = 68; i <= 76; ++i)
        b[i] = 64; // 1st Attack .. 1st Transpose
    for (int i = 80; i <= 89; ++i)
        b[i] = 64; // 2nd Attack .. 1:2 Balance
    b[107] = 1;    // overdrive
    const std::array<std::uint8_t, 6> od = {10, 64, 2, 15, 15, 100};
    for (int i = 0; i < 6; ++i)
        b[108 + i] = od[i];
    b[125] = 120; // Arp Tempo 120
    return b;
}

TEST(PatchDump, EmptyPatch) {
    const PatchBytes empty{};
    const auto lines = DumpPatch(empty);
    // 100 parameter lines and the eleven used slots of "stereo-eq" (type 0).
    ASSERT_EQ(lines.size(), 111u);
    EXPECT_EQ(FormatDumpLine(lines.front()), "Common / Patch Name: ");
    EXPECT_EQ(FormatDumpLine(lines.back()), "Effects / Arp Pattern:  1 Arpeggio 1");
    auto v = ByKey(lines);
    EXPECT_EQ(v["Common / Patch Level"], "0");
    EXPECT_EQ(v["Common / Play Feel"], "Normal");
    EXPECT_EQ(v["Common / Pan"], "0 (out of range)"); // byte 0 is -64
    EXPECT_EQ(v["Common / Hold Type (A-)"], "Damper All");
    EXPECT_EQ(v["Common / Exp Pedal"], "Volume");
    EXPECT_EQ(v["Common / MIDI [PC] / String 1"], "1");
    EXPECT_EQ(v["Common / PC On / String 6"], "Off");
    EXPECT_EQ(v["Common / MIDI [CC32] / String 3"], "0");
    EXPECT_EQ(v["Common / MIDI Transpose / String 2"], "0 (out of range)");
    EXPECT_EQ(v["Tone / 1st Select"], "  1 GR Piano");
    EXPECT_EQ(v["Tone / 2nd Attack"], "0 (out of range)");
    EXPECT_EQ(v["Tone / Layer / String 4"], "Mute");
    EXPECT_EQ(v["Effects / Rev HF Damp"], "200");
    EXPECT_EQ(v["Effects / Multi-FX SW"], "Off");
    EXPECT_EQ(v["Effects / Multi-FX Type"], "stereo-eq");
    EXPECT_EQ(v["Multi-FX Parameters / Low Freq (200,400 Hz)"], "0");
    EXPECT_EQ(v["Multi-FX Parameters / * Level (0..127)"], "0");
    EXPECT_EQ(v["Effects / Har/Arp Control"], "Off");
    EXPECT_EQ(v["Effects / Harmony Key"], "C");
    EXPECT_EQ(v["Effects / Arp Tempo"], "0 (out of range)");
    // Keys are unique, bytes strictly ascending, and every key starts with a page name.
    std::set<std::string> keys;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        EXPECT_TRUE(keys.insert(lines[i].key).second) << lines[i].key;
        if (i > 0) {
            EXPECT_GT(lines[i].byte, lines[i - 1].byte) << lines[i].key;
        }
        const bool paged = lines[i].key.starts_with("Common / ") ||
                           lines[i].key.starts_with("Tone / ") ||
                           lines[i].key.starts_with("Effects / ") ||
                           lines[i].key.starts_with("Multi-FX Parameters / ");
        EXPECT_TRUE(paged) << lines[i].key;
    }
}

TEST(PatchDump, ValidPatchInByteOrder) {
    const auto lines = Formatted(DumpPatch(ValidPatch()));
    const std::vector<std::string> expected = {
        "Common / Patch Name: WireLead    ",
        "Common / Patch Level: 100",
        "Common / Play Feel: Normal",
        "Common / Pan Mode: Normal",
        "Common / Pan: 0",
        "Common / Chromatic: Off",
        "Common / Wah Type: Wah1",
        "Common / Glide Type: Down7",
        "Common / Hold Type (A-): Damper All",
        "Common / Hold Type (A+): Damper",
        "Common / Ctrl Pedal: HAR/ARP Control",
        "Common / Exp Pedal: Volume",
        "Common / MIDI [PC] / String 1: 1",
    };
    ASSERT_GE(lines.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i)
        EXPECT_EQ(lines[i], expected[i]);
    // 100 parameter lines and the six used slots of "overdrive".
    ASSERT_EQ(lines.size(), 106u);
    // The effect slots stand between the type and Har/Arp Control, in slot order.
    const std::vector<std::string> effects = {
        "Effects / Multi-FX Type: overdrive",
        "Multi-FX Parameters / * Drive (0..127): 10",
        "Multi-FX Parameters / Pan (L64..R63): 64",
        "Multi-FX Parameters / Amp Type (Small, Built-In, 2-Stack, 3-Stack): 2",
        "Multi-FX Parameters / Low Gain (-15..+15 db): 15",
        "Multi-FX Parameters / High Gain (-15..+15 db): 15",
        "Multi-FX Parameters / Level (0..127): 100",
        "Effects / Har/Arp Control: Off",
    };
    auto at = std::find(lines.begin(), lines.end(), effects.front());
    ASSERT_NE(at, lines.end());
    for (std::size_t i = 0; i < effects.size(); ++i, ++at)
        EXPECT_EQ(*at, effects[i]);
    for (const std::string& line : lines)
        EXPECT_EQ(line.find("out of range"), std::string::npos) << line;
    auto v = ByKey(DumpPatch(ValidPatch()));
    EXPECT_EQ(v["Tone / 1st Select"], "262 WireString");
    EXPECT_EQ(v["Effects / Arp Tempo"], "120");
}

TEST(PatchDump, PerStringLinesRunFromStringOneAtTheFirstByte) {
    PatchBytes b = ValidPatch();
    b[23] = 0;   // MIDI [PC] string 1: 1
    b[28] = 127; // string 6: 128
    b[29] = 1;   // PC On string 1
    for (int k = 0; k < 6; ++k)
        b[90 + k] = static_cast<std::uint8_t>(k); // Layer: string k+1 = entry k
    b[59] = 28;                                   // MIDI Transpose string 1: -36
    b[64] = 88;                                   // string 6: 24
    const auto lines = DumpPatch(b);
    auto v = ByKey(lines);
    EXPECT_EQ(v["Common / MIDI [PC] / String 1"], "1");
    EXPECT_EQ(v["Common / MIDI [PC] / String 6"], "128");
    EXPECT_EQ(v["Common / PC On / String 1"], "On");
    EXPECT_EQ(v["Common / PC On / String 2"], "Off");
    EXPECT_EQ(v["Common / MIDI Transpose / String 1"], "-36");
    EXPECT_EQ(v["Common / MIDI Transpose / String 6"], "24");
    EXPECT_EQ(v["Tone / Layer / String 1"], "Mute");
    EXPECT_EQ(v["Tone / Layer / String 6"], "Strong Detune");
    auto layer = std::find_if(lines.begin(), lines.end(),
                              [](const DumpLine& l) { return l.key == "Tone / Layer / String 1"; });
    ASSERT_NE(layer, lines.end());
    for (int k = 1; k <= 6; ++k, ++layer) {
        EXPECT_EQ(layer->key, "Tone / Layer / String " + std::to_string(k));
        EXPECT_EQ(layer->byte, 89 + k);
    }
}

TEST(PatchDump, CraftedValues) {
    PatchBytes b = ValidPatch();
    b[0] = 'A';
    b[1] = 0x5C;  // shows as the yen sign
    b[13] = 15;   // Play Feel, last entry
    b[14] = 12;   // Pan Mode beyond its 12 entries
    b[15] = 14;   // Pan -50
    b[20] = 1;    // Hold Type (A+) "Sostenuto " with its blank
    b[22] = 49;   // Exp Pedal "CC 64"
    b[68] = 114;  // 1st Attack +50
    b[69] = 115;  // 1st Release +51: beyond the field
    b[71] = 89;   // 1st Transpose string 1: +25, beyond the field
    b[78] = 0x7F; // 2nd Select: position 383, the last tone
    b[79] = 0x02;
    b[99] = 17;   // Rev HF Damp "Bypass"
    b[106] = 3;   // Multi-FX SW "Both"
    b[110] = 4;   // overdrive Amp Type 0..3
    b[120] = 1;   // Har/Arp Control on
    b[124] = 2;   // a flag byte other than 0 and 1
    b[125] = 122; // Arp Tempo 250
    b[126] = 1;
    b[127] = 49; // Arp Pattern, last entry
    auto v = ByKey(DumpPatch(b));
    EXPECT_EQ(v["Common / Patch Name"], "A\u00A5reLead    ");
    EXPECT_EQ(v["Common / Play Feel"], "Accl Envelope2");
    EXPECT_EQ(v["Common / Pan Mode"], "12 (out of range)");
    EXPECT_EQ(v["Common / Pan"], "-50");
    EXPECT_EQ(v["Common / Hold Type (A+)"], "Sostenuto ");
    EXPECT_EQ(v["Common / Exp Pedal"], "CC 64");
    EXPECT_EQ(v["Tone / 1st Attack"], "50");
    EXPECT_EQ(v["Tone / 1st Release"], "115 (out of range)");
    EXPECT_EQ(v["Tone / 1st Transpose / String 1"], "89 (out of range)");
    EXPECT_EQ(v["Tone / 1st Transpose / String 2"], "0");
    EXPECT_EQ(v["Tone / 2nd Select"], "384 Indus. Kit");
    EXPECT_EQ(v["Effects / Rev HF Damp"], "Bypass");
    EXPECT_EQ(v["Effects / Multi-FX SW"], "Both");
    EXPECT_EQ(v["Multi-FX Parameters / Amp Type (Small, Built-In, 2-Stack, 3-Stack)"],
              "4 (out of range)");
    EXPECT_EQ(v["Effects / Har/Arp Control"], "On");
    EXPECT_EQ(v["Effects / Harmony Remote"], "2 (out of range)");
    EXPECT_EQ(v["Effects / Arp Tempo"], "250");
    EXPECT_EQ(v["Effects / Arp Pattern"], "50 Finale");

    // Pairs out of range print their value.
    b[78] = 0x00; // 2nd Select: 3 * 128 = 384, one past the last tone
    b[79] = 0x03;
    b[125] = 123; // Arp Tempo 251
    b[126] = 1;
    v = ByKey(DumpPatch(b));
    EXPECT_EQ(v["Tone / 2nd Select"], "384 (out of range)");
    EXPECT_EQ(v["Effects / Arp Tempo"], "251 (out of range)");
    b[125] = 49; // Arp Tempo 49
    b[126] = 0;
    EXPECT_EQ(ByKey(DumpPatch(b))["Effects / Arp Tempo"], "49 (out of range)");
    // Bytes a file may carry above 127 print as they are.
    b[12] = 200;
    EXPECT_EQ(ByKey(DumpPatch(b))["Common / Patch Level"], "200 (out of range)");
}

TEST(PatchDump, OnlyUsedSlotsOfTheTypeArePrinted) {
    PatchBytes b = ValidPatch();
    b[114] = 99; // slot 7 of overdrive is not used: not printed
    EXPECT_EQ(DumpPatch(b).size(), 106u);
    for (const DumpLine& line : DumpPatch(b))
        EXPECT_NE(line.byte, 114) << line.key;

    // stereo-delay: slot 2 (0..126) holding 127 is out of range, slot 3 holding 5 is not.
    b[107] = 16;
    b[109] = 127;
    b[110] = 5;
    const auto lines = DumpPatch(b);
    EXPECT_EQ(lines.size(), 111u);
    auto v = ByKey(lines);
    EXPECT_EQ(v["Effects / Multi-FX Type"], "stereo-delay");
    EXPECT_EQ(v["Multi-FX Parameters / Delay Left (0.0..500 msec)"], "127 (out of range)");
    EXPECT_EQ(v["Multi-FX Parameters / Delay Right (0.0..500 msec)"], "5");
    EXPECT_EQ(v.count("Multi-FX Parameters / * Drive (0..127)"), 0u);

    // modulation-delay uses all twelve bytes.
    b[107] = 17;
    EXPECT_EQ(DumpPatch(b).size(), 112u);
    EXPECT_EQ(ByKey(DumpPatch(b))["Multi-FX Parameters / Level (0..127)"], "0"); // byte 119
}

TEST(PatchDump, NoEffectTypeShowsTheTwelveBytes) {
    PatchBytes b = ValidPatch();
    b[107] = 40;
    for (int i = 0; i < 12; ++i)
        b[108 + i] = static_cast<std::uint8_t>(i * 11);
    const auto lines = DumpPatch(b);
    EXPECT_EQ(lines.size(), 112u);
    auto v = ByKey(lines);
    EXPECT_EQ(v["Effects / Multi-FX Type"], "40 (out of range)");
    for (int i = 1; i <= 12; ++i)
        EXPECT_EQ(v["Multi-FX Parameters / Parameter " + std::to_string(i)],
                  std::to_string((i - 1) * 11));
}

TEST(PatchDump, UnusedBytesDoNotShow) {
    PatchBytes a = ValidPatch();
    PatchBytes b = a;
    b[65] = 33;
    b[77] = 44;
    EXPECT_EQ(DumpPatch(a), DumpPatch(b));
    EXPECT_TRUE(DiffPatches(a, b).empty());
}

TEST(PatchDump, DiffShowsChangedValuesInByteOrder) {
    PatchBytes a = ValidPatch();
    PatchBytes b = a;
    b[125] = 50; // Arp Tempo 50
    b[126] = 0;
    b[15] = 14; // Pan -50
    b[93] = 2;  // Layer string 4
    SetName(b, "WireLead 2");
    const auto diff = Formatted(DiffPatches(a, b));
    const std::vector<std::string> expected = {
        "Common / Patch Name: WireLead     -> WireLead 2  ",
        "Common / Pan: 0 -> -50",
        "Tone / Layer / String 4: Mute -> 2nd Tone",
        "Effects / Arp Tempo: 120 -> 50",
    };
    EXPECT_EQ(diff, expected);
    // And backwards.
    const auto back = Formatted(DiffPatches(b, a));
    ASSERT_EQ(back.size(), 4u);
    EXPECT_EQ(back[1], "Common / Pan: -50 -> 0");
}

TEST(PatchDump, DiffOfDifferentEffectTypes) {
    PatchBytes a = ValidPatch(); // overdrive: 10, 64, 2, 15, 15, 100
    PatchBytes b = a;
    b[107] = 2; // distortion: the same slots but for the pan caption
    b[108] = 20;
    const auto diff = Formatted(DiffPatches(a, b));
    const std::vector<std::string> expected = {
        "Effects / Multi-FX Type: overdrive -> distortion",
        "Multi-FX Parameters / * Drive (0..127): 10 -> 20",
        "Multi-FX Parameters / Pan (L64..R63): 64 -> (not used)",
        "Multi-FX Parameters / Pan (R64-L63): (not used) -> 64",
    };
    EXPECT_EQ(diff, expected);

    // Against a type with other slots the lines of both types appear, a's first at each byte.
    PatchBytes c = a;
    c[107] = 23; // reverb
    const auto lines = DiffPatches(a, c);
    const auto v = ByKey(lines);
    EXPECT_EQ(v.at("Multi-FX Parameters / Level (0..127)"), "100 -> 0"); // slot 6 vs slot 8
    EXPECT_EQ(v.at("Multi-FX Parameters / High Gain (-15..+15 db)"), "15 -> 100 (out of range)");
    EXPECT_EQ(v.at("Multi-FX Parameters / * Time (0..127)"), "(not used) -> 2");
    EXPECT_EQ(v.at("Multi-FX Parameters / * Drive (0..127)"), "10 -> (not used)");
    EXPECT_EQ(v.count("Multi-FX Parameters / Low Gain (-15..+15 db)"), 0u); // 15 in both
    for (std::size_t i = 1; i < lines.size(); ++i)
        EXPECT_GE(lines[i].byte, lines[i - 1].byte) << lines[i].key;
    EXPECT_EQ(lines.front().key, "Effects / Multi-FX Type");
    EXPECT_EQ(lines[1].key, "Multi-FX Parameters / * Drive (0..127)");
    EXPECT_EQ(lines[2].key,
              "Multi-FX Parameters / Type (Room1, Room2, Stage1, Stage2, Hall1, Hall2)");
}

} // namespace
