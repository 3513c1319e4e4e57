#pragma once
// Runs gr33 in-process and builds patch files in a scratch folder.

#include "base/AtomicFile.h"
#include "gr33/Patch.h"
#include "tests/support/ScratchFolder.h"

#include <array>
#include <filesystem>
#include <string>
#include <vector>

struct CliRun {
    int code = -1;
    std::string out;
    std::string err;
    std::vector<std::string> OutLines() const;
};

CliRun Gr33(const std::vector<std::string>& args);

// A patch with a recognisable name and every other byte `fill`.
PatchBytes NamedPatch(const std::string& name, std::uint8_t fill = 0x40);
// Writes a collection file of the slots (an empty PatchBytes stands for an empty slot).
void WriteCollection(const std::string& file, const std::array<PatchBytes, 128>& slots);
// Writes and reads a single-patch file.
void WriteSinglePatch(const std::string& file, const PatchBytes& bytes);
PatchBytes ReadSinglePatch(const std::string& file);
// The patch's name without trailing blanks, as the library and the log show it.
std::string NameOf(const PatchBytes& bytes);
