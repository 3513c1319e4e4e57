#pragma once
// Number text of the bar control: values are shown in fixed-point notation with three decimals
// and '.' as decimal point, whatever the user's locale; typed values are read back the same way.

#include <optional>
#include <string>
#include <string_view>

// 69 gives "69.000", -0.5 gives "-0.500"; no padding, negative zero shows as "0.000".
std::string ValueText(float value);

// Reads a decimal number: optional sign, digits with an optional '.' part, an optional exponent,
// leading blanks allowed and nothing after the number. Numbers beyond the range of a single
// float, and texts such as "inf" or "nan", are not numbers here.
std::optional<float> ParseValue(std::string_view text);
