#pragma once
// Colours of the bar control. A TColor is 32 bits: a value with the top bit set names a system
// colour by the index in its low byte (0x80000000 + index); any other value is 0x00BBGGRR.

#include <QColor>
#include <QPalette>

#include <cstdint>

using TColor = std::uint32_t;

inline constexpr TColor clBtnShadow = 0x80000010;
inline constexpr TColor clBtnFace = 0x8000000F;
inline constexpr TColor clBtnHighlight = 0x80000014;
inline constexpr TColor clInactiveBorder = 0x8000000B;
inline constexpr TColor clInactiveCaption = 0x80000003;
inline constexpr TColor clWindowText = 0x80000008;
inline constexpr TColor cl3DLight = 0x80000016;
inline constexpr TColor cl3DDkShadow = 0x80000015;
inline constexpr TColor clBlue = 0x00FF0000;
inline constexpr TColor clYellow = 0x0000FFFF;
inline constexpr TColor clRed = 0x000000FF;
inline constexpr TColor clSilver = 0x00C0C0C0;
inline constexpr TColor clWhite = 0x00FFFFFF;

// True when the colour names a system colour rather than an RGB value.
constexpr bool IsSystemColor(TColor color) {
    return (color & 0x80000000u) != 0;
}

// The palette role that stands for a system colour index on this platform.
QPalette::ColorRole SystemColorRole(int index);

// The colour to draw with: system colours come from the active group of the palette, any
// other value is taken as 0x00BBGGRR.
QColor ToQColor(TColor color, const QPalette& palette);
