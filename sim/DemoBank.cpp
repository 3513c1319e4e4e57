#include "sim/DemoBank.h"

#include "gr33/Catalogue.h"

#include <algorithm>
#include <string>

namespace {

// Byte positions of the settings the demo patches do not leave at their neutral value.
constexpr int PatchLevelByte = 12;
constexpr int PanByte = 15;
constexpr int MidiTransposeByte = 59;
constexpr int FirstToneByte = 66;
constexpr int FirstToneShapeByte = 68; // attack, release, brightness, transpose x6
constexpr int SecondToneByte = 78;
constexpr int SecondToneShapeByte = 80;
constexpr int BalanceByte = 89;
constexpr int LayerByte = 90;
constexpr int ReverbSendByte = 97;
constexpr int ReverbTimeByte = 98;
constexpr int HfDampByte = 99;
constexpr int ChorusRateByte = 102;
constexpr int ChorusDepthByte = 103;
constexpr int ArpTempoByte = 125;

constexpr int SignedZero = 64;
constexpr int LayerFirstTone = 1; // "1st Tone"
constexpr int HfDampBypass = 17;  // "Bypass"
constexpr int DemoArpTempo = 120;

PatchBytes templatePatch() {
    PatchBytes p{};
    p[PatchLevelByte] = 100;
    p[PanByte] = SignedZero;
    std::fill_n(p.begin() + MidiTransposeByte, StringCount, SignedZero);
    // Attack, release, brightness and the six per-string transpositions of both tones.
    std::fill_n(p.begin() + FirstToneShapeByte, 3 + StringCount, SignedZero);
    std::fill_n(p.begin() + SecondToneShapeByte, 3 + StringCount, SignedZero);
    p[BalanceByte] = SignedZero;
    std::fill_n(p.begin() + LayerByte, StringCount, LayerFirstTone);
    p[ReverbSendByte] = 40;
    p[ReverbTimeByte] = 64;
    p[HfDampByte] = HfDampBypass;
    p[ChorusRateByte] = 64;
    p[ChorusDepthByte] = 64;
    // Multi-FX switched off (byte 106 = 0), type 0 with its own defaults.
    auto defaults = EffectTypes()[0].Defaults();
    std::copy(defaults.begin(), defaults.end(), p.begin() + FirstEffectByte);
    ValueToPair(DemoArpTempo, p.data() + ArpTempoByte);
    return p;
}

} // namespace

PatchBytes DemoPatch(int number) {
    PatchBytes p = templatePatch();
    int tone = number - 1; // list position of tone `number`
    ValueToPair(tone, p.data() + FirstToneByte);
    ValueToPair(tone, p.data() + SecondToneByte);
    auto name = TextToName(std::string(ToneNames()[tone]));
    std::copy(name.begin(), name.end(), p.begin());
    return p;
}

std::array<PatchBytes, 128> DemoBank() {
    std::array<PatchBytes, 128> bank;
    for (int n = 1; n <= 128; ++n)
        bank[n - 1] = DemoPatch(n);
    return bank;
}
