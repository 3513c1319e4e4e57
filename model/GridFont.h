#pragma once
// The text form of the grid font as the GridFont setting stores it: size in points, the style
// bits (1 bold, 2 italic, 4 underline, 8 strike-out) and the family name, which is the whole
// rest of the text and may contain blanks: "8 0 MS Sans Serif".

#include "base/Dialogs.h"

#include <string>

std::string FontToString(const FontSpec& font);

// Applies a GridFont text to the font. A text without two blanks (also the empty text of a
// missing setting) changes nothing. A size or style that is not a decimal integer raises
// "'<text>' is not a valid integer value"; a style outside 0..255 or a size outside 1..200
// raises as well. Nothing is applied before both numbers were read.
void StringToFont(FontSpec& font, const std::string& text);
