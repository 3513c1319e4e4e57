#pragma once
// The plain-text exchange form of one patch (<Patch> ... <HexBlock> ... <Check> ...), read
// line by line at fixed places; the patch operations are TPatch::ExportText/ImportText.

#include "base/Version.h"
#include "gr33/Patch.h"

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

// What TPatch::ImportText made of the lines: imported, or the first thing that stopped it (no
// "<Data>" line with eight lines after it, a line that is not a 32-digit hex block, a check
// line that is missing or does not carry the checksum of the bytes).
enum class TPatch::TextImport : int { Imported, NoData, BadBlock, BadCheck };
using TextImport = TPatch::TextImport;

inline constexpr const char* ImportedText = "Data imported";
inline constexpr const char* NotImportedText = "Unable to import data";

// The message a window shows for an import: ImportedText or NotImportedText.
const char* TextImportMessage(TextImport result);
