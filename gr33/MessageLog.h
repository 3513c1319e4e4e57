#pragma once
// The MIDI log in the GR-33's terms: what a message is, naming patches by their labels
// ("Request A23", "Data A23 'Lead'", "Data Temporary Patch 'Lead'"), and the log's text
// of an entry with that description. Other messages keep their generic names.

#include "midi/MidiLog.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

std::string DescribeGr33Message(std::span<const std::uint8_t> bytes);

// MidiLogLines with the GR-33 description.
std::vector<std::string> Gr33LogLines(const MidiLogEntry& entry);
