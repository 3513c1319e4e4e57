#pragma once
// Collection files (.G33): the 128 user patches as data messages in slot order, 17,920 bytes.
// A .syx file is the same stream of data messages under the common SysEx extension: it is a
// collection or a single patch by what it holds, and must hold exactly that and nothing more.

#include "base/Bytes.h"
#include "gr33/Patch.h"
#include "gr33/SysEx.h"

#include <array>
#include <string>

constexpr std::size_t CollectionFileSize = DataMessageSize * 128;

enum class FileKind { Collection, SinglePatch };

// True for a name ending in ".syx" in any case.
bool IsSysExFileName(const std::string& fileName);

// What a .syx file holds: one data message (a single patch, 140 bytes) or 128 (a collection,
// 17,920 bytes); the patch and collection readers then check the messages themselves. Raises
// "File <name> not found" when it is missing and "Illegal patch data format" for any other
// length.
FileKind SysExFileKind(const std::string& fileName);

// Parses a collection image into 128 blocks of patch bytes; every message is validated before
// anything is returned, so a malformed file changes no slot. Raises "Illegal patch data
// format". Bytes after the 128th message are ignored.
std::array<PatchBytes, 128> ParseCollection(const Bytes& image);

// Reads and validates a collection file; raises "File <name> not found" when it is missing. A
// .syx file with anything after the 128th message is refused as "Illegal patch data format".
std::array<PatchBytes, 128> ReadCollectionFile(const std::string& fileName);

// The 17,920-byte image of 128 slots (slot k as patch number k+1).
Bytes CollectionImage(const std::array<const TPatch*, 128>& slots);

// Writes the image atomically: a failed write keeps the previous file.
void WriteCollectionFile(const std::string& fileName, const std::array<const TPatch*, 128>& slots);
