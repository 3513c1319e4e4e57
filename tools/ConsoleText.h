#pragma once
// Texts of the MIDI console's fields.

#include <cstdint>
#include <string>

// The frequency of a key with two decimals, right-aligned in at least 7 characters:
// key 69 gives " 440.00". Independent of the user's locale.
std::string FrequencyText(std::uint8_t key);
