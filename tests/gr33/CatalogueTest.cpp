// What holds for every entry of the parameter catalogue, and a few texts as the pages show them.
#include "gr33/Catalogue.h"

#include <gtest/gtest.h>

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
    struct Numbered {
        std::span<const std::string_view> entries, names;
        int width;
    };
    for (const Numbered& n : {Numbered{ToneEntries(), ToneNames(), 3},
                              Numbered{ArpPatternEntries(), ArpPatternNames(), 2}}) {
        ASSERT_EQ(n.entries.size(), n.names.size());
        std::set<std::string_view> distinct(n.names.begin(), n.names.end());
        EXPECT_EQ(distinct.size(), n.names.size());
        for (std::size_t i = 0; i < n.entries.size(); ++i) {
            char number[16];
            std::snprintf(number, sizeof number, "%*zu ", n.width, i + 1);
            ASSERT_EQ(n.entries[i], number + std::string{n.names[i]});
            ASSERT_FALSE(n.names[i].empty() || n.names[i].front() == ' ' ||
                         n.names[i].back() == ' ')
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
    struct Rule {
        std::string_view text;
        int max, base;
    };
    const std::vector<Rule> rules = {{"(-15..+15 db)", 30, 15},   {"(L64..R63)", 127, 64},
                                     {"(-98..98 %)", 98, 49},     {"(D100:0E..D0:100E)", 100, 50},
                                     {"(0.0..100 msec)", 125, 0}, {"(0.0..500 msec)", 126, 0},
                                     {", 6300, 8000 Hz)", 16, 0}, {", 8000 Hz, Bypass)", 17, 0},
                                     {"(0..127)", 127, 0},        {"(0.05..10.0 Hz)", 125, -1}};
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
            for (const Rule& rule : rules) {
                if (slot.caption.find(rule.text) == std::string_view::npos) continue;
                const bool step = slot.caption == "* Step Rate (0.05..10.0 Hz)";
                EXPECT_EQ(slot.max, step ? 115 : rule.max);
                EXPECT_TRUE(rule.base < 0 || slot.base == rule.base);
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

} // namespace
