#pragma once
// Texts of the MIDI console's fields and the reading of its stored channel.

#include <cstdint>
#include <optional>
#include <string>

// The frequency of a key with two decimals, right-aligned in at least 7 characters:
// key 69 gives " 440.00". Independent of the user's locale.
std::string FrequencyText(std::uint8_t key);

// The integer a stored setting holds: optional leading blanks, an optional sign and decimal
// digits, nothing after them, within -32768..32767. Nothing otherwise.
std::optional<int> SettingInteger(const std::string& text);
