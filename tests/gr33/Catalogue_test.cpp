#include "gr33/Catalogue.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

const ParameterInfo& Param(std::string_view caption) {
    const ParameterInfo* p = FindParameter(caption);
    if (p == nullptr) throw std::runtime_error("no parameter " + std::string{caption});
    return *p;
}

std::span<const std::string_view> List(std::string_view name) {
    const ChoiceList* list = FindChoiceList(name);
    if (list == nullptr) throw std::runtime_error("no list " + std::string{name});
    return list->entries;
}

// ---------------------------------------------------------------------------------------------
// Lists

TEST(Catalogue, EveryListHasTheCountOfThePatchTable) {
    const std::vector<std::pair<std::string_view, std::size_t>> expected = {
        {"Play Feel", 16},      {"Pan Mode", 12},      {"Chromatic", 4},
        {"Wah Type", 36},       {"Glide Type", 14},    {"Hold Type (A-)", 15},
        {"Hold Type (A+)", 4},  {"Ctrl Pedal", 2},     {"Exp Pedal", 81},
        {"Tone", 384},          {"Layer", 6},          {"Reverb Type", 8},
        {"HF Damp", 18},        {"Multi-FX SW", 4},    {"Multi-FX Type", 40},
        {"Har/Arp Select", 14}, {"Harmony Style", 13}, {"Harmony Key", 24},
        {"Arp Pattern", 50}};
    auto lists = ChoiceLists();
    ASSERT_EQ(lists.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(lists[i].name, expected[i].first) << "list " << i;
        EXPECT_EQ(lists[i].entries.size(), expected[i].second) << expected[i].first;
    }
    EXPECT_EQ(FindChoiceList("No such list"), nullptr);
}

// Entries as on the pages, misspellings and trailing blanks kept ("Random 1sr", "Sostenuto ");
// position -1 is the last entry.
TEST(Catalogue, ListEntriesAreTheTextsOfThePages) {
    struct Entry {
        std::string_view list;
        int position;
        std::string_view text;
    };
    // clang-format off
    const Entry entries[] = {
        {"Play Feel", 0, "Normal"}, {"Play Feel", 9, "Accl Finger Picking"},
        {"Play Feel", -1, "Accl Envelope2"}, {"Pan Mode", 7, "Random 1sr"},
        {"Pan Mode", -1, "Alternate 2nd"}, {"Chromatic", -1, "Type 3"}, {"Wah Type", 0, "Wah1"},
        {"Wah Type", 20, "R.Wah1"}, {"Wah Type", -1, "Modulation"}, {"Glide Type", 0, "Down7"},
        {"Glide Type", 7, "Up1"}, {"Glide Type", -1, "Up7"}, {"Hold Type (A-)", 3, "Damper 1&2"},
        {"Hold Type (A-)", -1, "String"}, {"Hold Type (A+)", 1, "Sostenuto "},
        {"Hold Type (A+)", -1, "Latch TypeB"}, {"Ctrl Pedal", 0, "HAR/ARP Control"},
        {"Ctrl Pedal", 1, "Multi-Fx Bypass"}, {"Layer", 0, "Mute"}, {"Layer", 3, "Both Tones"},
        {"Layer", -1, "Strong Detune"}, {"Reverb Type", 0, "Room1"},
        {"Reverb Type", -1, "Pan Delay"}, {"Multi-FX SW", 0, "Off"}, {"Multi-FX SW", 3, "Both"},
        {"Har/Arp Select", 0, "Harmony All"}, {"Har/Arp Select", 7, "Arpeggio All"},
        {"Har/Arp Select", -1, "Arpeggio Ext&2"}, {"Harmony Style", 0, "-7th"},
        {"Harmony Style", 4, "-3th"}, {"Harmony Style", 6, "+2th"},
        {"Harmony Style", -1, "Diminish"}, {"Harmony Key", 0, "C"}, {"Harmony Key", 11, "B"},
        {"Harmony Key", 12, "Cm"}, {"Harmony Key", -1, "Bm"}};
    // clang-format on
    for (const Entry& e : entries) {
        auto list = List(e.list);
        std::size_t at = e.position < 0 ? list.size() - 1 : static_cast<std::size_t>(e.position);
        ASSERT_LT(at, list.size()) << e.list;
        EXPECT_EQ(list[at], e.text) << e.list << " " << e.position;
    }
}

TEST(Catalogue, ExpPedalHasNamedEntriesThenControllerNumbers) {
    auto list = List("Exp Pedal");
    EXPECT_EQ(list[0], "Volume");
    EXPECT_EQ(list[17], "Tempo & Pitch");
    for (int cc = 1; cc <= 31; ++cc)
        EXPECT_EQ(list[17 + cc], "CC " + std::to_string(cc));
    for (int cc = 64; cc <= 95; ++cc)
        EXPECT_EQ(list[cc - 15], "CC " + std::to_string(cc));
}

TEST(Catalogue, ToneEntriesAreNumberedInThreeCharacters) {
    auto entries = ToneEntries();
    auto names = ToneNames();
    ASSERT_EQ(entries.size(), 384u);
    ASSERT_EQ(names.size(), 384u);
    EXPECT_EQ(entries.front(), "  1 GR Piano");
    EXPECT_EQ(entries[261], "262 WireString");
    EXPECT_EQ(entries.back(), "384 Indus. Kit");
    std::set<std::string_view> distinct;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        char number[32];
        std::snprintf(number, sizeof number, "%3zu ", i + 1);
        EXPECT_EQ(entries[i].substr(0, 4), number) << i;
        EXPECT_EQ(entries[i].substr(4), names[i]) << i;
        EXPECT_FALSE(names[i].empty());
        EXPECT_NE(names[i].front(), ' ') << i;
        EXPECT_NE(names[i].back(), ' ') << i;
        distinct.insert(names[i]);
    }
    EXPECT_EQ(distinct.size(), 384u);
    EXPECT_EQ(FindChoiceList("Tone")->entries.data(), entries.data());
}

TEST(Catalogue, ArpPatternEntriesAreNumberedInTwoCharacters) {
    auto entries = ArpPatternEntries();
    auto names = ArpPatternNames();
    ASSERT_EQ(entries.size(), 50u);
    EXPECT_EQ(entries[0], " 1 Arpeggio 1");
    EXPECT_EQ(entries[49], "50 Finale");
    for (std::size_t i = 0; i < entries.size(); ++i) {
        char number[32];
        std::snprintf(number, sizeof number, "%2zu ", i + 1);
        EXPECT_EQ(entries[i].substr(0, 3), number) << i;
        EXPECT_EQ(entries[i].substr(3), names[i]) << i;
    }
}

// ---------------------------------------------------------------------------------------------
// Parameters

TEST(Catalogue, EveryUsedByteIsCoveredExactlyOnce) {
    std::array<int, 128> cover{};
    for (const ParameterInfo& p : Parameters()) {
        ASSERT_GE(p.firstByte, 0) << p.caption;
        ASSERT_LE(p.LastByte(), 127) << p.caption;
        for (int b = p.firstByte; b <= p.LastByte(); ++b)
            ++cover[b];
    }
    for (int b = 0; b < 128; ++b) {
        const int expected = (b == 65 || b == 77) ? 0 : 1;
        EXPECT_EQ(cover[b], expected) << "byte " << b;
        if (expected == 1) {
            ASSERT_NE(ParameterAtByte(b), nullptr) << b;
            EXPECT_TRUE(ParameterAtByte(b)->Covers(b));
        } else {
            EXPECT_EQ(ParameterAtByte(b), nullptr) << b;
        }
    }
    EXPECT_EQ(ParameterAtByte(-1), nullptr);
    EXPECT_EQ(ParameterAtByte(128), nullptr);
}

TEST(Catalogue, ParametersRunInByteOrderWithUniqueCaptions) {
    auto params = Parameters();
    ASSERT_EQ(params.size(), 62u);
    EXPECT_EQ(params.front().caption, "Patch Name");
    EXPECT_EQ(params.back().caption, "Arp Pattern");
    std::set<std::string_view> captions;
    for (std::size_t i = 0; i < params.size(); ++i) {
        if (i > 0) {
            EXPECT_GT(params[i].firstByte, params[i - 1].LastByte()) << params[i].caption;
        }
        EXPECT_TRUE(captions.insert(params[i].caption).second) << params[i].caption;
        EXPECT_EQ(FindParameter(params[i].caption), &params[i]);
    }
    EXPECT_EQ(FindParameter("pan"), nullptr);
}

TEST(Catalogue, ByteCountsFollowTheCoding) {
    for (const ParameterInfo& p : Parameters()) {
        SCOPED_TRACE(std::string{p.caption});
        switch (p.coding) {
        case ParamCoding::Name:
            EXPECT_EQ(p.byteCount, 12);
            break;
        case ParamCoding::Pair:
        case ParamCoding::PairList:
            EXPECT_EQ(p.byteCount, 2);
            break;
        default:
            EXPECT_TRUE(p.byteCount == 1 || p.byteCount == 6);
        }
        if (p.IsList()) {
            EXPECT_EQ(p.min, 0);
            EXPECT_EQ(p.max, static_cast<int>(p.entries.size()) - 1);
            ASSERT_NE(FindChoiceList(p.listName), nullptr);
            EXPECT_EQ(FindChoiceList(p.listName)->entries.data(), p.entries.data());
        } else {
            EXPECT_TRUE(p.entries.empty());
            EXPECT_TRUE(p.listName.empty());
        }
        EXPECT_EQ(p.effectSlot != 0, p.page == ParamPage::MultiFx);
        // Every value the editor allows fits in a 7-bit byte (or 14-bit pair).
        if (p.coding != ParamCoding::Name) {
            EXPECT_GE(ShownToRaw(p, p.min), 0);
            EXPECT_LE(ShownToRaw(p, p.max), p.byteCount == 2 ? 16383 : 127);
        }
    }
}

TEST(Catalogue, EffectParameterBytesAreTwelveGenericBars) {
    for (int slot = 1; slot <= EffectSlotCount; ++slot) {
        const ParameterInfo* p = ParameterAtByte(EffectTypeByte + slot);
        ASSERT_NE(p, nullptr);
        EXPECT_EQ(p->page, ParamPage::MultiFx);
        EXPECT_EQ(p->caption, "Parameter " + std::to_string(slot));
        EXPECT_EQ(p->effectSlot, slot);
        EXPECT_EQ(p->byteCount, 1);
        EXPECT_EQ(p->coding, ParamCoding::Plain);
        EXPECT_EQ(p->control, ControlKind::EffectBar);
        EXPECT_EQ(p->min, 0);
        EXPECT_EQ(p->max, 127);
    }
}

TEST(Catalogue, PagesAndStringsAreNamedAsInTheEditor) {
    EXPECT_EQ(PageName(ParamPage::Common), "Common");
    EXPECT_EQ(PageName(ParamPage::Tone), "Tone");
    EXPECT_EQ(PageName(ParamPage::Effects), "Effects");
    EXPECT_EQ(PageName(ParamPage::MultiFx), "Multi-FX Parameters");
    const std::array<std::string_view, 6> names = {"1/E", "2/B", "3/G", "4/D", "5/A", "6/E"};
    for (int k = 1; k <= 6; ++k) {
        EXPECT_EQ(StringName(k), names[k - 1]);
        EXPECT_EQ(StringListCaption(k), "String #" + std::string{names[k - 1]});
    }
    EXPECT_EQ(StringName(0), "");
    EXPECT_EQ(StringName(7), "");
    EXPECT_EQ(ScreenStringOrder.front(), 6); // leftmost field / top Layer list
    EXPECT_EQ(ScreenStringOrder.back(), 1);
    EXPECT_EQ(StringOrderNote, "Note: String order is 6/E - 5/A - 4/D - 3/G - 2/B - 1/E");
    EXPECT_EQ(EffectTypeNoteLines[0], "Note: If you change the FX type then all FX ");
    EXPECT_EQ(EffectTypeNoteLines[1], "parameters are set to default values.");
}

TEST(Catalogue, CodingsConvertAsTheEditorStores) {
    const std::array<std::uint8_t, 128> none{};
    // Pan: byte 64 shows 0; -50 stores 14; +50 stores 114.
    EXPECT_EQ(RawToShown(Param("Pan"), 64), 0);
    EXPECT_EQ(ShownToRaw(Param("Pan"), -50), 14);
    EXPECT_EQ(ShownToRaw(Param("Pan"), 50), 114);
    EXPECT_TRUE(IsRawInRange(Param("Pan"), 14));
    EXPECT_FALSE(IsRawInRange(Param("Pan"), 13));
    EXPECT_FALSE(IsRawInRange(Param("Pan"), 115));
    // Transpose -36..+24 is bytes 28..88.
    EXPECT_EQ(ShownToRaw(Param("MIDI Transpose"), -36), 28);
    EXPECT_EQ(ShownToRaw(Param("1st Transpose"), 24), 88);
    // MIDI [PC] 1..128 is bytes 0..127.
    EXPECT_EQ(ShownToRaw(Param("MIDI [PC]"), 1), 0);
    EXPECT_EQ(RawToShown(Param("MIDI [PC]"), 127), 128);
    EXPECT_TRUE(IsRawInRange(Param("MIDI [PC]"), 0));
    EXPECT_FALSE(IsRawInRange(Param("MIDI [PC]"), 128));
    // Patch Level stops at 100.
    EXPECT_TRUE(IsRawInRange(Param("Patch Level"), 100));
    EXPECT_FALSE(IsRawInRange(Param("Patch Level"), 101));
    // Arp Tempo 250 is the pair (122, 1); the empty pair is out of range.
    std::array<std::uint8_t, 128> bytes{};
    bytes[125] = 122;
    bytes[126] = 1;
    EXPECT_EQ(ReadRaw(Param("Arp Tempo"), bytes), 250);
    EXPECT_TRUE(IsRawInRange(Param("Arp Tempo"), 250));
    EXPECT_FALSE(IsRawInRange(Param("Arp Tempo"), ReadRaw(Param("Arp Tempo"), none)));
    // The pair 0x05, 0x02 selects position 261, "262 WireString".
    bytes[66] = 0x05;
    bytes[67] = 0x02;
    EXPECT_EQ(ReadRaw(Param("1st Select"), bytes), 261);
    EXPECT_EQ(ListEntry(Param("1st Select"), 261), "262 WireString");
    EXPECT_EQ(ListEntry(Param("1st Select"), 384), std::nullopt);
    EXPECT_EQ(ListEntry(Param("Pan"), 0), std::nullopt);
    // Per-string bytes: string 1 is the first byte, string 6 the last.
    bytes[90] = 1;
    bytes[95] = 5;
    EXPECT_EQ(ReadRaw(Param("Layer"), bytes, 1), 1);
    EXPECT_EQ(ReadRaw(Param("Layer"), bytes, 6), 5);
    EXPECT_EQ(ListEntry(Param("Layer"), 5), "Strong Detune");
    // Exp Pedal positions.
    EXPECT_EQ(ListEntry(Param("Exp Pedal"), 5), "Multi-FX Param");
    EXPECT_EQ(ListEntry(Param("Exp Pedal"), 49), "CC 64");
    EXPECT_EQ(ListEntry(Param("Exp Pedal"), 80), "CC 95");
    EXPECT_TRUE(IsRawInRange(Param("Exp Pedal"), 80));
    EXPECT_FALSE(IsRawInRange(Param("Exp Pedal"), 81));
    EXPECT_TRUE(IsRawInRange(Param("Patch Name"), 0));
}

// ---------------------------------------------------------------------------------------------
// Effect types

TEST(Catalogue, FortyEffectTypesInListOrder) {
    auto types = EffectTypes();
    ASSERT_EQ(types.size(), 40u);
    for (int i = 0; i < EffectTypeCount; ++i) {
        EXPECT_EQ(types[i].number, i);
        EXPECT_EQ(EffectType(i), &types[i]);
        EXPECT_EQ(EffectTypeNames()[i], types[i].name);
    }
    EXPECT_EQ(EffectType(-1), nullptr);
    EXPECT_EQ(EffectType(40), nullptr);
    EXPECT_EQ(types[0].name, "stereo-eq");
    EXPECT_EQ(types[1].name, "overdrive");
    EXPECT_EQ(types[12].name, "space-d");
    EXPECT_EQ(types[21].name, "2voice-pitch-shifter");
    EXPECT_EQ(types[23].name, "reverb");
    EXPECT_EQ(types[25].name, "overdrive chorus");
    EXPECT_EQ(types[34].name, "chorus delay");
    EXPECT_EQ(types[37].name, "chorus/delay");
    EXPECT_EQ(types[39].name, "chorus/flanger");
}

TEST(Catalogue, EverySlotFollowsTheRulesOfTheTable) {
    for (const EffectTypeInfo& type : EffectTypes()) {
        SCOPED_TRACE(std::string{type.name});
        int marked = 0;
        std::set<std::string_view> captions;
        for (const EffectSlot& slot : type.parameters) {
            if (!slot.IsUsed()) {
                EXPECT_EQ(slot.caption, "-");
                EXPECT_EQ(slot.max, 0);
                EXPECT_EQ(slot.base, 0);
                continue;
            }
            EXPECT_TRUE(captions.insert(slot.caption).second) << slot.caption;
            EXPECT_GT(slot.max, 0) << slot.caption;
            EXPECT_LE(slot.max, 127) << slot.caption;
            EXPECT_GE(slot.base, 0) << slot.caption;
            EXPECT_LE(slot.base, slot.max) << slot.caption;
            marked += slot.IsMarked() ? 1 : 0;
        }
        EXPECT_EQ(marked, 1);
    }
}

TEST(Catalogue, RecurringRangesOfTheCaptions) {
    struct Rule {
        std::string_view text;
        int max;
        int base;
    };
    const std::vector<Rule> rules = {
        {"(-15..+15 db)", 30, 15},       {"(L64..R63)", 127, 64},       {"(-98..98 %)", 98, 49},
        {"(D100:0E..D0:100E)", 100, 50}, {"(0.0..100 msec)", 125, 0},   {"(0.0..500 msec)", 126, 0},
        {", 6300, 8000 Hz)", 16, 0},     {", 8000 Hz, Bypass)", 17, 0}, {"(0..127)", 127, 0},
    };
    int checked = 0;
    for (const EffectTypeInfo& type : EffectTypes())
        for (const EffectSlot& slot : type.parameters)
            for (const Rule& rule : rules)
                if (slot.caption.find(rule.text) != std::string_view::npos) {
                    EXPECT_EQ(slot.max, rule.max) << type.name << ": " << slot.caption;
                    EXPECT_EQ(slot.base, rule.base) << type.name << ": " << slot.caption;
                    ++checked;
                }
    EXPECT_GT(checked, 200);
    // Rates are 0..125, except the step rate of "step-flanger".
    for (const EffectTypeInfo& type : EffectTypes())
        for (const EffectSlot& slot : type.parameters)
            if (slot.caption.find("(0.05..10.0 Hz)") != std::string_view::npos) {
                EXPECT_EQ(slot.max, slot.caption == "* Step Rate (0.05..10.0 Hz)" ? 115 : 125)
                    << type.name << ": " << slot.caption;
            }
    EXPECT_EQ(EffectType(15)->parameters[4].caption, "* Step Rate (0.05..10.0 Hz)");
}

// Captions exactly as on the page, slips kept (unclosed brackets, "Treshold", "((0..127)").
TEST(Catalogue, EffectSlotCaptions) {
    struct Caption {
        int type;
        int index; // slot - 1
        std::string_view text;
    };
    // clang-format off
    const Caption captions[] = {
        {0, 0, "Low Freq (200,400 Hz)"}, {0, 5, "P1 Q (0.5 1 2 4 9)"},
        {0, 10, "* Level (0..127)"}, {1, 0, "* Drive (0..127)"}, {1, 1, "Pan (L64..R63)"},
        {1, 2, "Amp Type (Small, Built-In, 2-Stack, 3-Stack)"}, {1, 5, "Level (0..127)"},
        {2, 1, "Pan (R64-L63)"}, {7, 5, "High Accl (0..15"}, {7, 4, "* Speed (Slow, Fast)"},
        {9, 0, "Treshold (0..127)"}, {13, 7, "Low Gain (-15..+15 db)"},
        {14, 0, "Filter Type (OFF; LPF, HPF)"}, {16, 1, "Delay Left (0.0..500 msec)"},
        {16, 2, "Delay Right (0.0..500 msec)"}, {16, 9, "Balance (D100:0E..D0:100E"},
        {17, 3, "Feedback -98..98 %)"}, {17, 11, "Level (0..127)"},
        {21, 1, "* Coarse A (-24..+12)"}, {21, 10, "Balance (d100:0E..D0:100E)"},
        {22, 9, "Level ((0..127)"}, {24, 2, "Gate Time (5..500 msec)"},
        {25, 6, "-CHO Balance (D110:0E..D0:100E)"}, {25, 3, "CHO Rate (0.05..10.0 Hz"},
        {27, 0, "-* OD Drive (0..127)"}, {34, 1, "-* CHO Rate (0.05..10.0 Hz)"},
        {32, 3, "* FL Rate (0.05...10.0 Hz)"}, {35, 1, "* FL Rate (0.0..10.0 Hz)"},
        {39, 5, "* FL Rate (0.05..10.0 Hz)"}, {39, 9, "Level (0..127)"}};
    // clang-format on
    for (const Caption& c : captions)
        EXPECT_EQ(EffectType(c.type)->parameters[c.index].caption, c.text)
            << c.type << " " << c.index;
}

// Ranges no recurring caption rule gives (-1: not checked), and the slots left unused between
// or after used ones.
TEST(Catalogue, EffectSlotSpotValues) {
    struct Range {
        int type, index, max, base;
    };
    // clang-format off
    const Range ranges[] = {{0, 0, 1, -1}, {0, 4, 16, -1}, {1, 2, 3, -1}, {2, 1, -1, 64},
        {7, 5, 15, -1}, {16, 9, -1, 50}, {17, 3, -1, 49}, {21, 1, 36, 24}, {21, 3, 100, 50},
        {24, 2, 99, -1}, {25, 6, 100, 50}, {35, 1, 125, -1}};
    // clang-format on
    for (const Range& r : ranges) {
        const EffectSlot& slot = EffectType(r.type)->parameters[r.index];
        SCOPED_TRACE(std::string{slot.caption});
        EXPECT_TRUE(r.max < 0 || slot.max == r.max) << slot.max;
        EXPECT_TRUE(r.base < 0 || slot.base == r.base) << slot.base;
    }
    for (auto [type, index] : {std::pair{0, 11}, {1, 6}, {1, 11}, {13, 6}, {25, 5}, {39, 10}})
        EXPECT_FALSE(EffectType(type)->parameters[index].IsUsed()) << type << " " << index;
    EXPECT_TRUE(EffectType(13)->parameters[5].IsUsed());
    EXPECT_TRUE(EffectType(25)->parameters[6].IsUsed());   // "-CHO Balance ..." is used
    EXPECT_TRUE(EffectType(27)->parameters[0].IsMarked()); // a mark after a "-"
    EXPECT_TRUE(EffectType(34)->parameters[1].IsMarked());
    EXPECT_TRUE(EffectType(16)->parameters[2].IsInRange(5));
    EXPECT_FALSE(EffectType(16)->parameters[1].IsInRange(127));
}

TEST(Catalogue, ReverbDefaults) {
    // Choosing "reverb": slots 1..4 and 8 to 0, 5 and 6 to 15, 7 to 50; 9..12 unused.
    const EffectTypeInfo& reverb = *EffectType(23);
    const std::array<std::uint8_t, 12> expected = {0, 0, 0, 0, 15, 15, 50, 0, 0, 0, 0, 0};
    EXPECT_EQ(reverb.Defaults(), expected);
    for (int i = 0; i < 12; ++i)
        EXPECT_EQ(reverb.parameters[i].IsUsed(), i < 8) << i;
    EXPECT_EQ(reverb.parameters[0].caption, "Type (Room1, Room2, Stage1, Stage2, Hall1, Hall2)");
    EXPECT_EQ(reverb.parameters[0].max, 5);
}

TEST(Catalogue, EffectHeadingText) {
    EXPECT_EQ(EffectHeading("overdrive", "Both"), "Effect: overdrive (Switch: Both)");
    EXPECT_EQ(EffectHeading("", ""), "Effect:  (Switch: )");
}

} // namespace
