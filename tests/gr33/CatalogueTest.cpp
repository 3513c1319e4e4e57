// What holds for every entry of the parameter catalogue, a few texts as the pages show them,
// and the readable dump of a patch and the difference of two.
#include "gr33/Catalogue.h"
#include "gr33/Patch.h"
#include "gr33/PatchDump.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <set>
#include <string>
#include <vector>

namespace {

const ParameterInfo& Param(std::string_view caption) {
    const ParameterInfo* p = FindParameter(caption);
    EXPECT_NE(p, nullptr) << caption;
    return p ? *p : Parameters().front();
}

TEST(Catalogue, EveryByteButTheUnusedTwoBelongsToExactlyOneParameter) {
    std::array<int, 128> cover{};
    for (const ParameterInfo& p : Parameters())
        for (int b = std::max(p.firstByte, 0); b <= std::min(p.LastByte(), 127); ++b)
            ++cover[b];
    for (int b = 0; b < 128; ++b) {
        const bool unused = b == UnusedBytes[0] || b == UnusedBytes[1];
        EXPECT_EQ(cover[b], unused ? 0 : 1) << "byte " << b;
        const ParameterInfo* owner = ParameterAtByte(b);
        EXPECT_EQ(owner == nullptr, unused) << "byte " << b;
        EXPECT_TRUE(!owner || (owner->Covers(b) && !owner->Covers(owner->LastByte() + 1)));
    }
    EXPECT_FALSE(ParameterAtByte(-1) || ParameterAtByte(128));
}

TEST(Catalogue, EveryParameterFitsItsBytesAndListAndIsFoundByItsCaption) {
    std::set<std::string_view> captions, served;
    const ParameterInfo* previous = nullptr;
    for (const ParameterInfo& p : Parameters()) {
        SCOPED_TRACE(std::string{p.caption});
        EXPECT_TRUE(captions.insert(p.caption).second);
        EXPECT_EQ(FindParameter(p.caption), &p);
        EXPECT_TRUE(!previous || p.firstByte > previous->LastByte());
        previous = &p;
        const bool pair = p.coding == ParamCoding::Pair || p.coding == ParamCoding::PairList;
        EXPECT_EQ(p.byteCount, p.coding == ParamCoding::Name ? 12
                               : pair                        ? 2
                               : p.IsPerString()             ? 6
                                                             : 1);
        EXPECT_EQ(p.effectSlot != 0, p.page == ParamPage::MultiFx);
        EXPECT_EQ(std::pair(p.IsList(), p.IsList()),
                  std::pair(!p.entries.empty(), !p.listName.empty()));
        if (p.IsList()) {
            // Every entry of the list is selected by a value the parameter's bytes can hold.
            const ChoiceList* list = FindChoiceList(p.listName);
            ASSERT_NE(list, nullptr);
            EXPECT_EQ(list->entries.data(), p.entries.data());
            EXPECT_EQ(std::pair(p.min, p.max + 1),
                      std::pair(0, static_cast<int>(p.entries.size())));
            for (int raw = -1; raw <= p.max + 1; ++raw)
                ASSERT_EQ(ListEntry(p, raw),
                          raw < 0 || raw > p.max ? std::nullopt : std::optional{p.entries[raw]});
            served.insert(p.listName);
        }
        if (p.coding == ParamCoding::Name) continue;
        // Every value the editor allows is stored within the bytes and reads back as itself.
        EXPECT_LE(p.min, p.max);
        for (int shown = p.min; shown <= p.max; ++shown) {
            const int raw = ShownToRaw(p, shown);
            ASSERT_TRUE(raw >= 0 && raw <= (p.byteCount == 2 ? 16383 : 127)) << shown;
            ASSERT_EQ(RawToShown(p, raw), shown);
            ASSERT_TRUE(IsRawInRange(p, raw)) << raw;
        }
        EXPECT_FALSE(IsRawInRange(p, ShownToRaw(p, p.min) - 1));
        EXPECT_FALSE(IsRawInRange(p, ShownToRaw(p, p.max) + 1));
    }
    EXPECT_EQ(std::pair(Parameters().size(), ChoiceLists().size()), std::pair(62ul, 19ul));
    EXPECT_EQ(FindParameter("pan"), nullptr); // captions are case-sensitive
    // Each list serves a parameter (the Multi-FX Type list names the effect types).
    for (const ChoiceList& list : ChoiceLists()) {
        EXPECT_TRUE(served.contains(list.name)) << list.name;
        for (std::string_view entry : list.entries)
            EXPECT_FALSE(entry.empty()) << list.name;
    }
    EXPECT_EQ(ListEntry(Param("Pan"), 0), std::nullopt); // not a list
    EXPECT_EQ(FindChoiceList("No such list"), nullptr);
    EXPECT_EQ(FindChoiceList("Multi-FX Type")->entries.data(), EffectTypeNames().data());
    EXPECT_EQ(FindChoiceList("Tone")->entries.data(), ToneEntries().data());
}

// Numbered lists: the number right-aligned in a fixed width, a blank, then the name.
TEST(Catalogue, NumberedEntriesCarryTheirNames) {
    for (auto [entries, names, width] : {std::tuple{ToneEntries(), ToneNames(), 3},
                                         std::tuple{ArpPatternEntries(), ArpPatternNames(), 2}}) {
        ASSERT_EQ(entries.size(), names.size());
        EXPECT_EQ(std::set(names.begin(), names.end()).size(), names.size());
        for (std::size_t i = 0; i < entries.size(); ++i) {
            char number[16];
            std::snprintf(number, sizeof number, "%*zu ", width, i + 1);
            ASSERT_EQ(entries[i], number + std::string{names[i]});
            ASSERT_FALSE(names[i].empty() || names[i].front() == ' ' || names[i].back() == ' ')
                << i;
        }
    }
    EXPECT_EQ(ToneEntries().size(), 384u);
    // Exp Pedal: 18 named entries, then CC 1..31 and CC 64..95.
    const auto pedal = FindChoiceList("Exp Pedal")->entries;
    ASSERT_EQ(pedal.size(), 81u);
    for (int i = 18; i < 81; ++i)
        EXPECT_EQ(pedal[i], "CC " + std::to_string(i < 49 ? i - 17 : i + 15));
}

// String names, and the codings on known bytes: pairs low 7 bits first, per-string
// bytes from string 1, nothing read beyond the bytes given.
TEST(Catalogue, NamesAndCodings) {
    std::string names;
    for (int k = 0; k <= 7; ++k)
        names += std::string{StringName(k)} + "|" + std::string{StringListCaption(k)} + " ";
    EXPECT_EQ(names, "| 1/E|String #1/E 2/B|String #2/B 3/G|String #3/G 4/D|String #4/D "
                     "5/A|String #5/A 6/E|String #6/E | ");
    EXPECT_EQ(EffectHeading("overdrive", "Both"), "Effect: overdrive (Switch: Both)");
    std::array<std::uint8_t, 128> bytes{};
    bytes[13] = 7, bytes[66] = 0x05, bytes[67] = 0x02, bytes[90] = 1, bytes[95] = 5;
    // The last Layer read asks for string 9 and is clamped to string 6.
    EXPECT_EQ((std::vector{ReadRaw(Param("1st Select"), bytes), ReadRaw(Param("Layer"), bytes, 1),
                           ReadRaw(Param("Layer"), bytes, 9), ReadRaw(Param("Play Feel"), bytes),
                           ReadRaw(Param("Play Feel"), std::span(bytes).first(13))}),
              (std::vector{261, 1, 5, 7, 0}));
    EXPECT_EQ(RawToShown(Param("MIDI [PC]"), 127), 128);
    EXPECT_TRUE(IsRawInRange(Param("Patch Name"), 0));
}

// Every type follows the rules of the table; the ranges a caption names recur across the
// types and give the same max and base wherever they appear; the rates are 0..125, except the
// step rate of "step-flanger".
TEST(Catalogue, EveryEffectTypeFollowsTheRulesOfTheTable) {
    const std::vector<std::tuple<std::string_view, int, int>> rules = {
        {"(-15..+15 db)", 30, 15},       {"(L64..R63)", 127, 64},       {"(-98..98 %)", 98, 49},
        {"(D100:0E..D0:100E)", 100, 50}, {"(0.0..100 msec)", 125, 0},   {"(0.0..500 msec)", 126, 0},
        {", 6300, 8000 Hz)", 16, 0},     {", 8000 Hz, Bypass)", 17, 0}, {"(0..127)", 127, 0},
        {"(0.05..10.0 Hz)", 125, -1}};
    int checked = 0;
    ASSERT_EQ(EffectTypes().size(), 40u);
    for (const EffectTypeInfo& type : EffectTypes()) {
        SCOPED_TRACE(std::string{type.name});
        EXPECT_EQ(EffectType(type.number), &type);
        EXPECT_EQ(EffectTypeNames()[type.number], type.name);
        int marked = 0, used = 0;
        std::set<std::string_view> captions;
        for (int i = 0; i < EffectSlotCount; ++i) {
            const EffectSlot& slot = type.parameters[i];
            SCOPED_TRACE(std::string{slot.caption});
            EXPECT_EQ(type.Defaults()[i], slot.base);
            if (!slot.IsUsed()) {
                EXPECT_EQ(slot.max + slot.base, 0);
                continue;
            }
            ++used;
            EXPECT_TRUE(captions.insert(slot.caption).second);
            EXPECT_TRUE(slot.max > 0 && slot.max <= 127);
            EXPECT_TRUE(slot.IsInRange(slot.base) && slot.IsInRange(slot.max) &&
                        !slot.IsInRange(slot.max + 1) && !slot.IsInRange(-1));
            marked += slot.IsMarked() ? 1 : 0;
            for (const auto& [text, max, base] : rules) {
                if (slot.caption.find(text) == std::string_view::npos) continue;
                const bool step = slot.caption == "* Step Rate (0.05..10.0 Hz)";
                EXPECT_EQ(slot.max, step ? 115 : max);
                EXPECT_TRUE(base < 0 || slot.base == base);
                ++checked;
            }
        }
        EXPECT_EQ(marked, 1);
        EXPECT_EQ(type.UsedSlotCount(), used);
    }
    EXPECT_GT(checked, 200);
    EXPECT_FALSE(EffectType(-1) || EffectType(40));
    // Captions as on the page, slips kept, and the reverb's defaults.
    EXPECT_EQ(EffectType(9)->parameters[0].caption, "Treshold (0..127)");
    EXPECT_EQ(EffectType(25)->parameters[6].caption, "-CHO Balance (D110:0E..D0:100E)");
    const std::array<std::uint8_t, 12> reverb = {0, 0, 0, 0, 15, 15, 50, 0, 0, 0, 0, 0};
    EXPECT_EQ(EffectType(23)->Defaults(), reverb);
    EXPECT_EQ(EffectType(23)->UsedSlotCount(), 8);
}

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
    const std::string fx = "Multi-FX Parameters / ";
    const std::tuple<std::vector<std::pair<int, int>>, std::string, std::string> cases[] = {
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
        {{{110, 4}}, fx + "Amp Type (Small, Built-In, 2-Stack, 3-Stack)", "4 (out of range)"},
        // stereo-delay: slot 2 (0..126) holding 127 is out of range, slot 3 holding 126 is not.
        {{{107, 16}, {109, 127}}, fx + "Delay Left (0.0..500 msec)", "127 (out of range)"},
        {{{107, 16}, {110, 126}}, fx + "Delay Right (0.0..500 msec)", "126"},
        {{{107, 17}, {119, 9}}, fx + "Level (0..127)", "9"}, // all twelve
        {{{107, 40}, {119, 9}}, fx + "Parameter 12", "9"},   // no type
        {{{107, 40}}, "Effects / Multi-FX Type", "40 (out of range)"},
    };
    for (const auto& [bytes, key, value] : cases) {
        SCOPED_TRACE(key + ": " + value);
        PatchBytes b = ValidPatch();
        for (auto [at, byte] : bytes)
            b[at] = static_cast<std::uint8_t>(byte);
        const auto lines = DumpPatch(b);
        const auto line = std::ranges::find(lines, key, &DumpLine::key);
        ASSERT_NE(line, lines.end());
        EXPECT_EQ(line->value, value);
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
