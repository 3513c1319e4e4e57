// The parameter table of the patch record with the editor's captions, codings and
// ranges, the twelve effect parameter bytes, and the value helpers.

#include "gr33/CatalogueData.h"

#include <algorithm>

namespace {

using namespace catalogue_data;

constexpr ParamPage Common = ParamPage::Common;
constexpr ParamPage Tone = ParamPage::Tone;
constexpr ParamPage Effects = ParamPage::Effects;

constexpr ParameterInfo Number(ParamPage page, std::string_view caption, int byte, int min, int max,
                               ParamCoding coding = ParamCoding::Plain) {
    return {page, caption, byte, 1, coding, ControlKind::NumberField, min, max, {}, {}, 0};
}

constexpr ParameterInfo StringNumbers(ParamPage page, std::string_view caption, int byte, int min,
                                      int max, ParamCoding coding) {
    return {page, caption, byte, StringCount, coding, ControlKind::StringNumbers,
            min,  max,     {},   {},          0};
}

constexpr ParameterInfo StringChecks(std::string_view caption, int byte) {
    return {Common, caption, byte, StringCount, ParamCoding::Flag, ControlKind::StringChecks, 0, 1,
            {},     {},      0};
}

constexpr ParameterInfo Check(std::string_view caption, int byte) {
    return {Effects, caption, byte, 1, ParamCoding::Flag, ControlKind::CheckBox, 0, 1, {}, {}, 0};
}

constexpr ParameterInfo DropDown(ParamPage page, std::string_view caption, int byte,
                                 std::string_view listName,
                                 std::span<const std::string_view> entries) {
    return {page,
            caption,
            byte,
            1,
            ParamCoding::List,
            ControlKind::DropDown,
            0,
            static_cast<int>(entries.size()) - 1,
            listName,
            entries,
            0};
}

constexpr ParameterInfo ToneSelect(std::string_view caption, int byte) {
    return {Tone,
            caption,
            byte,
            2,
            ParamCoding::PairList,
            ControlKind::DropDown,
            0,
            static_cast<int>(catalogue_data::ToneEntries.size()) - 1,
            "Tone",
            catalogue_data::ToneEntries,
            0};
}

constexpr ParameterInfo EffectParameter(int slot) {
    constexpr std::array<std::string_view, EffectSlotCount> captions = {
        "Parameter 1", "Parameter 2",  "Parameter 3",  "Parameter 4",
        "Parameter 5", "Parameter 6",  "Parameter 7",  "Parameter 8",
        "Parameter 9", "Parameter 10", "Parameter 11", "Parameter 12"};
    return {ParamPage::MultiFx,
            captions[slot - 1],
            EffectTypeByte + slot,
            1,
            ParamCoding::Plain,
            ControlKind::EffectBar,
            0,
            127,
            {},
            {},
            slot};
}

constexpr ParamCoding Signed = ParamCoding::Signed;
constexpr ParamCoding Plain = ParamCoding::Plain;

constexpr auto Table = std::to_array<ParameterInfo>({
    {Common, "Patch Name", 0, 12, ParamCoding::Name, ControlKind::NameField, 0, 0, {}, {}, 0},
    Number(Common, "Patch Level", 12, 0, 100),
    DropDown(Common, "Play Feel", 13, "Play Feel", PlayFeel),
    DropDown(Common, "Pan Mode", 14, "Pan Mode", PanMode),
    Number(Common, "Pan", 15, -50, 50, Signed),
    DropDown(Common, "Chromatic", 16, "Chromatic", Chromatic),
    DropDown(Common, "Wah Type", 17, "Wah Type", WahType),
    DropDown(Common, "Glide Type", 18, "Glide Type", GlideType),
    DropDown(Common, "Hold Type (A-)", 19, "Hold Type (A-)", HoldTypeAMinus),
    DropDown(Common, "Hold Type (A+)", 20, "Hold Type (A+)", HoldTypeAPlus),
    DropDown(Common, "Ctrl Pedal", 21, "Ctrl Pedal", CtrlPedal),
    DropDown(Common, "Exp Pedal", 22, "Exp Pedal", ExpPedal),
    StringNumbers(Common, "MIDI [PC]", 23, 1, 128, ParamCoding::PlusOne),
    StringChecks("PC On", 29),
    StringNumbers(Common, "MIDI [CC0]", 35, 0, 127, Plain),
    StringChecks("CC0 On", 41),
    StringNumbers(Common, "MIDI [CC32]", 47, 0, 127, Plain),
    StringChecks("CC32 On", 53),
    StringNumbers(Common, "MIDI Transpose", 59, -36, 24, Signed),
    // byte 65: no control
    ToneSelect("1st Select", 66),
    Number(Tone, "1st Attack", 68, -50, 50, Signed),
    Number(Tone, "1st Release", 69, -50, 50, Signed),
    Number(Tone, "1st Brightness", 70, -50, 50, Signed),
    StringNumbers(Tone, "1st Transpose", 71, -36, 24, Signed),
    // byte 77: no control
    ToneSelect("2nd Select", 78),
    Number(Tone, "2nd Attack", 80, -50, 50, Signed),
    Number(Tone, "2nd Release", 81, -50, 50, Signed),
    Number(Tone, "2nd Brightness", 82, -50, 50, Signed),
    StringNumbers(Tone, "2nd Transpose", 83, -36, 24, Signed),
    Number(Tone, "1:2 Balance", 89, -50, 50, Signed),
    {Tone, "Layer", 90, StringCount, ParamCoding::List, ControlKind::StringDropDowns, 0,
     static_cast<int>(Layer.size()) - 1, "Layer", Layer, 0},
    DropDown(Effects, "Reverb Type", 96, "Reverb Type", ReverbType),
    Number(Effects, "Rev Send Level", 97, 0, 127),
    Number(Effects, "Reverb Time", 98, 0, 127),
    DropDown(Effects, "Rev HF Damp", 99, "HF Damp", HfDamp),
    Number(Effects, "Delay Feedback", 100, 0, 127),
    Number(Effects, "Cho Send Level", 101, 0, 127),
    Number(Effects, "Chorus Rate", 102, 0, 127),
    Number(Effects, "Chorus Depth", 103, 0, 127),
    Number(Effects, "Cho Pre-Delay", 104, 0, 127),
    Number(Effects, "Cho Feedback", 105, 0, 127),
    DropDown(Effects, "Multi-FX SW", EffectSwitchByte, "Multi-FX SW", MultiFxSwitch),
    DropDown(Effects, "Multi-FX Type", EffectTypeByte, "Multi-FX Type",
             catalogue_data::EffectTypeNames),
    EffectParameter(1),
    EffectParameter(2),
    EffectParameter(3),
    EffectParameter(4),
    EffectParameter(5),
    EffectParameter(6),
    EffectParameter(7),
    EffectParameter(8),
    EffectParameter(9),
    EffectParameter(10),
    EffectParameter(11),
    EffectParameter(12),
    Check("Har/Arp Control", 120),
    DropDown(Effects, "Har/Arp Select", 121, "Har/Arp Select", HarArpSelect),
    DropDown(Effects, "Harmony Style", 122, "Harmony Style", HarmonyStyle),
    DropDown(Effects, "Harmony Key", 123, "Harmony Key", HarmonyKey),
    Check("Harmony Remote", 124),
    {Effects, "Arp Tempo", 125, 2, ParamCoding::Pair, ControlKind::NumberField, 50, 250, {}, {}, 0},
    DropDown(Effects, "Arp Pattern", 127, "Arp Pattern", catalogue_data::ArpPatternEntries),
});

constexpr std::array<std::string_view, StringCount> StringNames = {"1/E", "2/B", "3/G",
                                                                   "4/D", "5/A", "6/E"};
constexpr std::array<std::string_view, StringCount> StringListCaptions = {
    "String #1/E", "String #2/B", "String #3/G", "String #4/D", "String #5/A", "String #6/E"};

} // namespace

std::string_view PageName(ParamPage page) {
    switch (page) {
    case ParamPage::Common:
        return "Common";
    case ParamPage::Tone:
        return "Tone";
    case ParamPage::Effects:
        return "Effects";
    case ParamPage::MultiFx:
        return "Multi-FX Parameters";
    }
    return {};
}

std::string_view StringName(int string) {
    if (string < 1 || string > StringCount) return {};
    return StringNames[string - 1];
}

std::string_view StringListCaption(int string) {
    if (string < 1 || string > StringCount) return {};
    return StringListCaptions[string - 1];
}

std::span<const ParameterInfo> Parameters() {
    return Table;
}

const ParameterInfo* FindParameter(std::string_view caption) {
    auto it = std::find_if(Table.begin(), Table.end(),
                           [caption](const ParameterInfo& p) { return p.caption == caption; });
    return it == Table.end() ? nullptr : &*it;
}

const ParameterInfo* ParameterAtByte(int byte) {
    auto it = std::find_if(Table.begin(), Table.end(),
                           [byte](const ParameterInfo& p) { return p.Covers(byte); });
    return it == Table.end() ? nullptr : &*it;
}

int ReadRaw(const ParameterInfo& parameter, std::span<const std::uint8_t> patch, int string) {
    auto at = [&patch](int index) {
        return index >= 0 && static_cast<std::size_t>(index) < patch.size() ? int{patch[index]} : 0;
    };
    switch (parameter.coding) {
    case ParamCoding::Pair:
    case ParamCoding::PairList:
        // PairToValue: the first byte holds the low 7 bits.
        return at(parameter.firstByte + 1) * 128 + at(parameter.firstByte);
    case ParamCoding::Name:
        return 0;
    default:
        if (parameter.IsPerString())
            return at(parameter.firstByte + std::clamp(string, 1, StringCount) - 1);
        return at(parameter.firstByte);
    }
}

int RawToShown(const ParameterInfo& parameter, int raw) {
    switch (parameter.coding) {
    case ParamCoding::Signed:
        return raw - 64;
    case ParamCoding::PlusOne:
        return raw + 1;
    default:
        return raw;
    }
}

int ShownToRaw(const ParameterInfo& parameter, int shown) {
    switch (parameter.coding) {
    case ParamCoding::Signed:
        return shown + 64;
    case ParamCoding::PlusOne:
        return shown - 1;
    default:
        return shown;
    }
}

bool IsRawInRange(const ParameterInfo& parameter, int raw) {
    if (parameter.coding == ParamCoding::Name) return true;
    int shown = RawToShown(parameter, raw);
    return shown >= parameter.min && shown <= parameter.max;
}

std::optional<std::string_view> ListEntry(const ParameterInfo& parameter, int raw) {
    if (!parameter.IsList() || raw < 0 || static_cast<std::size_t>(raw) >= parameter.entries.size())
        return std::nullopt;
    return parameter.entries[raw];
}
