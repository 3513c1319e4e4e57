#pragma once
// Collection files (.G33): the 128 user patches as data messages in slot order, 17,920 bytes.

#include "base/Bytes.h"
#include "gr33/Patch.h"
#include "gr33/SysEx.h"

#include <array>
#include <string>

constexpr std::size_t CollectionFileSize = DataMessageSize * 128;

// Parses a collection image into 128 blocks of patch bytes; every message is validated before
// anything is returned, so a malformed file changes no slot. Raises "Illegal patch data
// format". Bytes after the 128th message are ignored.
std::array<PatchBytes, 128> ParseCollection(const Bytes& image);

// Reads and validates a collection file; raises "File <name> not found" when it is missing.
std::array<PatchBytes, 128> ReadCollectionFile(const std::string& fileName);

// The 17,920-byte image of 128 slots (slot k as patch number k+1).
Bytes CollectionImage(const std::array<const TPatch*, 128>& slots);

// Writes the image atomically: a failed write keeps the previous file.
void WriteCollectionFile(const std::string& fileName, const std::array<const TPatch*, 128>& slots);
