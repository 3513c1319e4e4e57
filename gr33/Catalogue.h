#pragma once
// The parameter catalogue of a GR-33 patch, as compile-time data: every parameter of the patch
// record with the editor page, caption, bytes, coding and range or list of choices
// that the editor shows, and the 40 multi-effect types with their twelve
// parameter slots. List entries and captions are exactly the texts the user sees,
// misspellings and blanks included. Where a control stands on its page, and how wide it is,
// belongs to the editor, not here.

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

// ---------------------------------------------------------------------------------------------
// Pages, codings, controls

// The editor's four pages, in tab order.
enum class ParamPage { Common, Tone, Effects, MultiFx };

// "Common", "Tone", "Effects", "Multi-FX Parameters".
std::string_view PageName(ParamPage page);

// How a parameter's byte(s) turn into the value the editor shows.
enum class ParamCoding {
    Name,     // bytes 0..11: NameToText / TextToName
    Plain,    // value = byte
    List,     // value = 0-based position in the parameter's list of entries
    Signed,   // value = ByteToSigned(byte) = byte - 64
    PlusOne,  // value = byte + 1
    Flag,     // 0 off, 1 on (the editor shows any other byte as on and stores it back as 1)
    Pair,     // value = PairToValue(byte k, byte k+1)
    PairList, // list position = PairToValue(byte k, byte k+1)
};

// The kind of control the editor shows for a parameter.
enum class ControlKind {
    NameField,       // the 12-character name field
    NumberField,     // one numeric field with arrows (TFrameOnepack)
    StringNumbers,   // six numeric fields, one per string (TFrameSixpack)
    StringChecks,    // six check boxes, one per string (TFrameSixCheck)
    DropDown,        // one select-only drop-down list
    StringDropDowns, // one drop-down list per string under a heading (the Layer lists)
    CheckBox,        // one check box, caption to the left
    EffectBar,       // a bar of the Multi-FX Parameters page; caption and range per effect type
};

// ---------------------------------------------------------------------------------------------
// Strings of the guitar

constexpr int StringCount = 6;

// String k (1..6) as the pages name it: "1/E", "2/B", "3/G", "4/D", "5/A", "6/E". String 1 is
// the high E string and the first byte of a per-string group.
std::string_view StringName(int string);

// Caption of the drop-down list of string k (1..6) under the Layer heading: "String #1/E" ..
// "String #6/E".
std::string_view StringListCaption(int string);

// The order in which the pages show the six strings: left to right in the per-string frames,
// top to bottom in the Layer lists. String 6 comes first, so a group's bytes run backwards on
// screen (the top Layer list is byte 95, the lowest byte 90).
constexpr std::array<int, StringCount> ScreenStringOrder = {6, 5, 4, 3, 2, 1};

// ---------------------------------------------------------------------------------------------
// Lists of choices

// A list of choices; an entry's position is the value of the byte (or pair) that selects it.
struct ChoiceList {
    std::string_view name; // "Play Feel", "HF Damp", "Tone", "Multi-FX Type", ...
    std::span<const std::string_view> entries;
};

// The 19 lists of the Common, Tone and Effects pages, in the byte order of their first use:
// Play Feel, Pan Mode, Chromatic, Wah Type, Glide Type, Hold Type (A-), Hold Type (A+),
// Ctrl Pedal, Exp Pedal, Tone, Layer, Reverb Type, HF Damp, Multi-FX SW, Multi-FX Type,
// Har/Arp Select, Harmony Style, Harmony Key, Arp Pattern.
std::span<const ChoiceList> ChoiceLists();
// The list of that name, or nullptr.
const ChoiceList* FindChoiceList(std::string_view name);

// The tone list of "1st Select" and "2nd Select": entry k (1..384, position k-1) is k
// right-aligned in three characters, a blank and the tone name ("  1 GR Piano" ..
// "384 Indus. Kit").
std::span<const std::string_view> ToneEntries();
// The 384 tone names alone ("GR Piano" .. "Indus. Kit"), position k-1 for tone k.
std::span<const std::string_view> ToneNames();

// The Arp Pattern list: entry k (1..50, position k-1) is k right-aligned in two characters,
// a blank and the pattern name (" 1 Arpeggio 1" .. "50 Finale").
std::span<const std::string_view> ArpPatternEntries();
// The 50 pattern names alone ("Arpeggio 1" .. "Finale").
std::span<const std::string_view> ArpPatternNames();

// ---------------------------------------------------------------------------------------------
// Parameters

struct ParameterInfo {
    ParamPage page;
    // The editor's caption ("Play Feel", "MIDI [PC]", "1st Select", "Layer"). The twelve
    // effect parameter bytes are "Parameter 1" .. "Parameter 12"; their real captions depend on
    // the effect type (EffectTypeInfo).
    std::string_view caption;
    int firstByte;
    // 12 for the name, 2 for a pair, 6 for a per-string group (byte firstByte + k - 1 is string
    // k), otherwise 1.
    int byteCount;
    ParamCoding coding;
    ControlKind control;
    // The values the editor allows, in shown units (signed -50..50, MIDI [PC] 1..128, Arp Tempo
    // 50..250); a list's positions 0..entries-1; a flag 0..1. Both 0 for the name.
    int min;
    int max;
    // Lists (List, PairList) only: the list's name and entries; empty otherwise.
    std::string_view listName;
    std::span<const std::string_view> entries;
    // 1..12 for the effect parameter bytes 108..119, 0 for every other parameter.
    int effectSlot;

    constexpr bool IsPerString() const { return byteCount == StringCount; }
    constexpr bool IsList() const {
        return coding == ParamCoding::List || coding == ParamCoding::PairList;
    }
    constexpr int LastByte() const { return firstByte + byteCount - 1; }
    constexpr bool Covers(int byte) const { return byte >= firstByte && byte <= LastByte(); }
};

// Every parameter of the patch record in ascending byte order, the name first: each byte 0..127
// except 65 and 77 belongs to exactly one of them.
std::span<const ParameterInfo> Parameters();
// The parameter with that caption (exact, case-sensitive), or nullptr. Captions are unique.
const ParameterInfo* FindParameter(std::string_view caption);
// The parameter that covers the byte, or nullptr (bytes 65 and 77, and bytes outside 0..127).
const ParameterInfo* ParameterAtByte(int byte);

// The two bytes that no control reads or writes; the editor leaves them as received.
constexpr std::array<int, 2> UnusedBytes = {65, 77};

// Value helpers. "Raw" is the byte itself, or PairToValue of a pair; "shown" is the value the
// editor shows after the coding (ByteToSigned for signed, byte + 1 for plus one).
// The raw value of a parameter (not the name) in a patch's 128 bytes; string 1..6 selects the
// byte of a per-string parameter and is ignored otherwise.
int ReadRaw(const ParameterInfo& parameter, std::span<const std::uint8_t> patch, int string = 1);
int RawToShown(const ParameterInfo& parameter, int raw);
int ShownToRaw(const ParameterInfo& parameter, int shown);
// Whether the editor can show the raw value: its shown value lies in min..max (a list position
// names an entry). Always true for the name.
bool IsRawInRange(const ParameterInfo& parameter, int raw);
// The entry a list parameter's raw value selects; nothing when it is beyond the list or the
// parameter is not a list.
std::optional<std::string_view> ListEntry(const ParameterInfo& parameter, int raw);

// ---------------------------------------------------------------------------------------------
// Multi-FX types

constexpr int EffectTypeCount = 40;
constexpr int EffectSlotCount = 12;
constexpr int EffectSwitchByte = 106;
constexpr int EffectTypeByte = 107;
constexpr int FirstEffectByte = 108; // slot i is byte 107 + i
constexpr std::string_view UnusedSlotCaption = "-";

// One of the twelve parameter slots of an effect type. The parameter's value is the patch byte
// itself, a whole number 0..max, shown on a bar from 0 to max whose slide starts at base; the
// caption names the range in the device's units and the editor converts nothing.
struct EffectSlot {
    // Shown exactly as written; "-" for a slot the type does not use. One caption per type
    // carries the mark "*", which has no behaviour.
    std::string_view caption;
    int max;  // 0 for an unused slot
    int base; // the default value and the bar's base; 0 for an unused slot

    // A slot is unused only when its caption is exactly "-" ("-CHO Balance ..." is used).
    constexpr bool IsUsed() const { return caption != UnusedSlotCaption; }
    constexpr bool IsMarked() const { return caption.find('*') != std::string_view::npos; }
    constexpr bool IsInRange(int value) const { return value >= 0 && value <= max; }
};

struct EffectTypeInfo {
    int number;            // the type's list position, the value of byte 107
    std::string_view name; // "stereo-eq" .. "chorus/flanger"
    std::array<EffectSlot, EffectSlotCount> parameters; // slot i at index i-1, byte 107 + i

    int UsedSlotCount() const;
    // The twelve default bytes (every slot's base), as the editor sets them when the type is
    // chosen.
    std::array<std::uint8_t, EffectSlotCount> Defaults() const;
};

// The 40 types in list order.
std::span<const EffectTypeInfo> EffectTypes();
// The type of that number, or nullptr unless 0..39 (a type byte of 40 or more selects nothing).
const EffectTypeInfo* EffectType(int number);
// The 40 type names: the entries of the Multi-FX Type list.
std::span<const std::string_view> EffectTypeNames();

// ---------------------------------------------------------------------------------------------
// Fixed texts of the pages

// The note of the Common page.
constexpr std::string_view StringOrderNote =
    "Note: String order is 6/E - 5/A - 4/D - 3/G - 2/B - 1/E";
// The two lines of the read-only note on the Effects page (the first ends in a blank).
constexpr std::array<std::string_view, 2> EffectTypeNoteLines = {
    "Note: If you change the FX type then all FX ", "parameters are set to default values."};
// The design caption of the Multi-FX Parameters page's heading.
constexpr std::string_view EffectHeadingDesignCaption = "Multi-FX Type";
// The message shown when the Multi-FX Parameters page is set up with no type selected.
constexpr std::string_view EffectTypeErrorText = "Implementation error in effects";
// The heading of the Multi-FX Parameters page: "Effect: " + type text + " (Switch: " + switch
// text + ")"; a list without a selection gives an empty text.
std::string EffectHeading(std::string_view typeText, std::string_view switchText);
