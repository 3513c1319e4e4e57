#pragma once
// The program's byte buffer: MIDI messages, patch data and file contents.

#include <cstdint>
#include <vector>

using Bytes = std::vector<std::uint8_t>;
