#pragma once
// Internal to the catalogue: the data arrays that its source files share. Each array is
// defined constexpr in one source file (ToneNames.cpp, ChoiceLists.cpp, EffectTypes.cpp) and
// referred to by address from the others, so every table is constant-initialised. Use the
// functions of gr33/Catalogue.h instead.

#include "gr33/Catalogue.h"

#include <array>
#include <cstddef>
#include <string_view>

namespace catalogue_data {

extern const std::array<std::string_view, 384> ToneEntries;
extern const std::array<std::string_view, 384> ToneNames;
extern const std::array<std::string_view, 50> ArpPatternEntries;
extern const std::array<std::string_view, 50> ArpPatternNames;

extern const std::array<std::string_view, 16> PlayFeel;
extern const std::array<std::string_view, 12> PanMode;
extern const std::array<std::string_view, 4> Chromatic;
extern const std::array<std::string_view, 36> WahType;
extern const std::array<std::string_view, 14> GlideType;
extern const std::array<std::string_view, 15> HoldTypeAMinus;
extern const std::array<std::string_view, 4> HoldTypeAPlus;
extern const std::array<std::string_view, 2> CtrlPedal;
extern const std::array<std::string_view, 81> ExpPedal;
extern const std::array<std::string_view, 6> Layer;
extern const std::array<std::string_view, 8> ReverbType;
extern const std::array<std::string_view, 18> HfDamp;
extern const std::array<std::string_view, 4> MultiFxSwitch;
extern const std::array<std::string_view, 14> HarArpSelect;
extern const std::array<std::string_view, 13> HarmonyStyle;
extern const std::array<std::string_view, 24> HarmonyKey;

extern const std::array<EffectTypeInfo, EffectTypeCount> EffectTypes;
extern const std::array<std::string_view, EffectTypeCount> EffectTypeNames;

// The names behind numbered entries: each entry with its first `prefix` characters (the
// right-aligned number and the blank) removed.
template <std::size_t N>
constexpr std::array<std::string_view, N>
StripNumbers(const std::array<std::string_view, N>& entries, std::size_t prefix) {
    std::array<std::string_view, N> names{};
    for (std::size_t i = 0; i < N; ++i)
        names[i] = entries[i].substr(prefix);
    return names;
}

} // namespace catalogue_data
