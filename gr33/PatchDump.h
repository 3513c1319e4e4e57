#pragma once
// The readable dump of a patch used by the command-line tool: one line per parameter (six for a
// per-string parameter), in byte order, with the editor's page names, captions and value texts
// (gr33/Catalogue.h), and the difference of two patches in the same form.
//
// Values:
// - the name: NameToText of bytes 0..11 (trailing blanks kept);
// - a list: the entry text exactly as the list shows it ("Normal", "262 WireString",
//   "  1 GR Piano", " 1 Arpeggio 1");
// - signed numbers as "-50", "0", "50"; plus one as byte + 1 (MIDI [PC] 1..128); pairs as their
//   value (Arp Tempo "120"); flags as "Off" (0) and "On" (1);
// - the effect parameters: only the slots that the patch's effect type uses, keyed by the slot's
//   caption, the byte as a number; with a type byte of 40 or more (no type) all twelve bytes as
//   "Parameter 1" .. "Parameter 12";
// - any value the editor cannot show (beyond its list, outside its range, a flag byte other than
//   0 and 1, an effect byte above its slot's max): "<raw> (out of range)", raw being the byte or,
//   for a pair, PairToValue of its two bytes.

#include "gr33/Catalogue.h"
#include "gr33/Patch.h"

#include <string>
#include <vector>

struct DumpLine {
    std::string key;   // "Common / Pan", "Common / MIDI [PC] / String 1"
    std::string value; // "-50", "Normal", "130 (out of range)"; for a difference "a -> b"
    int byte = 0;      // the first patch byte the line stands for
    bool operator==(const DumpLine&) const = default;
};

// Text shown for a byte the editor cannot show: "<raw> (out of range)".
std::string OutOfRangeText(int raw);
// The value text of one parameter of the table (string 1..6 selects the byte of a per-string
// parameter). The generic effect parameters "Parameter 1" .. "Parameter 12" show their byte.
std::string ParameterValueText(const ParameterInfo& parameter, const PatchBytes& bytes,
                               int string = 1);
// The value text of an effect slot holding the byte.
std::string EffectSlotValueText(const EffectSlot& slot, int byte);

// What a patch list shows of a patch's sound: its tones ("1 GR Piano / 2 Cool Piano") and its
// multi-FX type, list entries without the blanks that right-align their numbers.
struct SoundText {
    std::string tones, effect;
};
SoundText PatchSoundText(const PatchBytes& bytes);

// Every parameter of the patch in byte order: 100 lines plus one per used effect slot (112 when
// no type is selected).
std::vector<DumpLine> DumpPatch(const PatchBytes& bytes);
std::vector<DumpLine> DumpPatch(const TPatch& patch);

// Shown in a difference for the side that has no line of that key: an effect slot caption that
// only one of the two patches' effect types uses.
constexpr std::string_view DiffMissingText = "(not used)";
// The lines whose values differ between a and b, with value "<value in a> -> <value in b>", in
// byte order (a key present on one side only shows DiffMissingText for the other side; at the
// same byte a's line comes first). Equal patches give no lines.
std::vector<DumpLine> DiffPatches(const PatchBytes& a, const PatchBytes& b);
std::vector<DumpLine> DiffPatches(const TPatch& a, const TPatch& b);

// "<key>: <value>".
std::string FormatDumpLine(const DumpLine& line);

// The lines `gr33 diff` prints and the compare window lists: each difference of a and b as
// "<key>: <value in a> -> <value in b>"; none for equal patches.
std::vector<std::string> DiffLines(const PatchBytes& a, const PatchBytes& b);
