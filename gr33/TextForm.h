#pragma once
// The plain-text exchange form of one patch (<Patch> ... <HexBlock> ... <Check> ...), read
// line by line at fixed places; the patch operations are TPatch::ExportText/ImportText.

#include "base/Version.h"

#include <cstdint>
#include <ctime>
#include <span>
#include <string>

// Sum of b[i] << ((i+1) mod 7), folded as ((N mod 128) << 24) + (sum mod 2^24), mod 65535.
std::uint16_t TextChecksum(std::span<const std::uint8_t> bytes);

// "m/d/yyyy h:nn" of a local time: month, day and hour without leading zeros.
std::string TextFormDate(const std::tm& local);

// The application name and version written into the form and shown in captions.
inline constexpr const char* AppName = "KelvoLight";
inline constexpr const char* AppVersion = KelvoVersion;
