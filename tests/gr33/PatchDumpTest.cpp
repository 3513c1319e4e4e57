// The readable dump of a patch and the difference of two.
#include "gr33/PatchDump.h"
#include "gr33/Patch.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

namespace {

std::vector<std::string> Formatted(const std::vector<DumpLine>& lines) {
    std::vector<std::string> texts;
    for (const DumpLine& line : lines)
        texts.push_back(FormatDumpLine(line));
    return texts;
}

// A patch the editor shows without any value out of range: "overdrive" with six slots.
PatchBytes ValidPatch() {
    PatchBytes b{};
    std::ranges::copy(TextToName("WireLead"), b.begin());
    b[12] = 100; // Patch Level
    for (int i : {15, 59, 60, 61, 62, 63, 64, 68, 69, 70, 71, 72, 73,
                  74, 75, 76, 80, 81, 82, 83, 84, 85, 86, 87, 88, 89})
        b[i] = 64;              // signed values 0
    b[66] = 0x05, b[67] = 0x02; // 1st Select: position 261
    std::ranges::copy(std::array<std::uint8_t, 7>{1, 10, 64, 2, 15, 15, 100}, b.begin() + 107);
    b[125] = 120; // Arp Tempo 120
    return b;
}

// Whatever the bytes: 100 lines and one per used effect slot, in byte order, each keyed once by
// the page and caption of the parameter at its byte.
TEST(PatchDump, EveryLineIsKeyedByTheParameterAtItsByte) {
    PatchBytes noisy;
    for (std::size_t i = 0; i < PatchSize; ++i)
        noisy[i] = static_cast<std::uint8_t>(i * 37 % 128);
    for (const PatchBytes& bytes : {PatchBytes{}, ValidPatch(), noisy}) {
        const auto lines = DumpPatch(bytes);
        const EffectTypeInfo* type = EffectType(bytes[EffectTypeByte]);
        EXPECT_EQ(lines.size(), 100u + (type ? type->UsedSlotCount() : 12));
        std::set<std::string> keys;
        for (std::size_t i = 0; i < lines.size(); ++i) {
            SCOPED_TRACE(lines[i].key);
            EXPECT_TRUE(keys.insert(lines[i].key).second);
            EXPECT_TRUE(i == 0 || lines[i].byte > lines[i - 1].byte);
            const ParameterInfo* p = ParameterAtByte(lines[i].byte);
            ASSERT_NE(p, nullptr);
            std::string key = std::string{PageName(p->page)} + " / ";
            key += type && p->effectSlot ? type->parameters[p->effectSlot - 1].caption : p->caption;
            if (p->IsPerString())
                key += " / String " + std::to_string(lines[i].byte - p->firstByte + 1);
            EXPECT_EQ(lines[i].key, key);
        }
    }
}

// The effect slots of the type stand between it and Har/Arp Control, in slot order.
TEST(PatchDump, ValidPatchInByteOrder) {
    const auto lines = Formatted(DumpPatch(ValidPatch()));
    ASSERT_EQ(lines.size(), 106u);
    EXPECT_EQ(lines[0], "Common / Patch Name: WireLead    ");
    EXPECT_EQ(lines.back(), "Effects / Arp Pattern:  1 Arpeggio 1");
    const std::vector<std::string> effects = {
        "Effects / Multi-FX Type: overdrive",
        "Multi-FX Parameters / * Drive (0..127): 10",
        "Multi-FX Parameters / Pan (L64..R63): 64",
        "Multi-FX Parameters / Amp Type (Small, Built-In, 2-Stack, 3-Stack): 2",
        "Multi-FX Parameters / Low Gain (-15..+15 db): 15",
        "Multi-FX Parameters / High Gain (-15..+15 db): 15",
        "Multi-FX Parameters / Level (0..127): 100",
        "Effects / Har/Arp Control: Off"};
    auto at = std::find(lines.begin(), lines.end(), effects.front());
    ASSERT_LE(at + effects.size(), lines.end());
    EXPECT_EQ(std::vector<std::string>(at, at + effects.size()), effects);
    for (const std::string& line : lines)
        EXPECT_EQ(line.find("out of range"), std::string::npos) << line;
}

// Each case changes bytes of the valid patch and names a line it shows.
TEST(PatchDump, ValueTexts) {
    const struct {
        std::vector<std::pair<int, int>> bytes;
        std::string key, value;
    } cases[] = {
        {{{1, 0x5C}}, "Common / Patch Name", "W\u00A5reLead    "},
        {{{13, 15}}, "Common / Play Feel", "Accl Envelope2"},
        {{{14, 12}}, "Common / Pan Mode", "12 (out of range)"},
        {{{15, 0}}, "Common / Pan", "0 (out of range)"},
        {{{28, 127}}, "Common / MIDI [PC] / String 6", "128"},
        {{{29, 1}}, "Common / PC On / String 1", "On"},
        {{{124, 2}}, "Effects / Harmony Remote", "2 (out of range)"},
        {{{71, 89}}, "Tone / 1st Transpose / String 1", "89 (out of range)"},
        {{{95, 5}}, "Tone / Layer / String 6", "Strong Detune"},
        {{{78, 0x7F}, {79, 0x02}}, "Tone / 2nd Select", "384 Indus. Kit"},
        {{{78, 0x00}, {79, 0x03}}, "Tone / 2nd Select", "384 (out of range)"},
        {{{125, 122}, {126, 1}}, "Effects / Arp Tempo", "250"},
        {{{125, 49}}, "Effects / Arp Tempo", "49 (out of range)"},
        {{{12, 200}}, "Common / Patch Level", "200 (out of range)"}, // a byte a file may carry
        {{{110, 4}},
         "Multi-FX Parameters / Amp Type (Small, Built-In, 2-Stack, 3-Stack)",
         "4 (out of range)"},
        // stereo-delay: slot 2 (0..126) holding 127 is out of range, slot 3 holding 126 is not.
        {{{107, 16}, {109, 127}},
         "Multi-FX Parameters / Delay Left (0.0..500 msec)",
         "127 (out of range)"},
        {{{107, 16}, {110, 126}}, "Multi-FX Parameters / Delay Right (0.0..500 msec)", "126"},
        {{{107, 17}, {119, 9}}, "Multi-FX Parameters / Level (0..127)", "9"}, // all twelve
        {{{107, 40}, {119, 9}}, "Multi-FX Parameters / Parameter 12", "9"},   // no type
        {{{107, 40}}, "Effects / Multi-FX Type", "40 (out of range)"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.key + ": " + c.value);
        PatchBytes b = ValidPatch();
        for (auto [at, value] : c.bytes)
            b[at] = static_cast<std::uint8_t>(value);
        const auto lines = DumpPatch(b);
        auto line = std::find_if(lines.begin(), lines.end(),
                                 [&](const DumpLine& l) { return l.key == c.key; });
        ASSERT_NE(line, lines.end());
        EXPECT_EQ(line->value, c.value);
    }
}

TEST(PatchDump, DiffShowsChangedValuesInByteOrder) {
    const PatchBytes a = ValidPatch();
    PatchBytes b = a;
    b[65] = 33, b[77] = 44; // unused bytes do not show
    EXPECT_EQ(DumpPatch(a), DumpPatch(b));
    EXPECT_TRUE(DiffPatches(a, b).empty());
    b[125] = 50, b[126] = 0, b[15] = 14, b[93] = 2;
    std::ranges::copy(TextToName("WireLead 2"), b.begin());
    const std::vector<std::string> expected = {
        "Common / Patch Name: WireLead     -> WireLead 2  ", "Common / Pan: 0 -> -50",
        "Tone / Layer / String 4: Mute -> 2nd Tone", "Effects / Arp Tempo: 120 -> 50"};
    EXPECT_EQ(Formatted(DiffPatches(a, b)), expected);
    EXPECT_EQ(Formatted(DiffPatches(b, a))[1], "Common / Pan: -50 -> 0");

    // distortion has the same slots but for the pan caption; against a type with other slots
    // (reverb) the lines of both types appear, a's first at each byte.
    PatchBytes c = a, d = a;
    c[107] = 2, c[108] = 20, d[107] = 23;
    EXPECT_EQ(Formatted(DiffPatches(a, c)),
              (std::vector<std::string>{"Effects / Multi-FX Type: overdrive -> distortion",
                                        "Multi-FX Parameters / * Drive (0..127): 10 -> 20",
                                        "Multi-FX Parameters / Pan (L64..R63): 64 -> (not used)",
                                        "Multi-FX Parameters / Pan (R64-L63): (not used) -> 64"}));
    const auto lines = Formatted(DiffPatches(a, d));
    ASSERT_GE(lines.size(), 4u);
    EXPECT_EQ(lines[0], "Effects / Multi-FX Type: overdrive -> reverb");
    EXPECT_EQ(lines[1], "Multi-FX Parameters / * Drive (0..127): 10 -> (not used)");
    EXPECT_EQ(lines[2], "Multi-FX Parameters / Type (Room1, Room2, Stage1, Stage2, Hall1, Hall2): "
                        "(not used) -> 10 (out of range)");
    for (const char* line : {"Multi-FX Parameters / Level (0..127): 100 -> 0", // slot 6 vs 8
                             "Multi-FX Parameters / High Gain (-15..+15 db): 15 -> 100 (out of "
                             "range)",
                             "Multi-FX Parameters / * Time (0..127): (not used) -> 2"})
        EXPECT_NE(std::ranges::find(lines, line), lines.end()) << line;
    for (const std::string& line : lines) // 15 in both
        EXPECT_FALSE(line.starts_with("Multi-FX Parameters / Low Gain")) << line;
}

} // namespace
