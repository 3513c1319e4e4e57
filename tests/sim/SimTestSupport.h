#pragma once
// Helpers shared by the tests of the simulated GR-33: a scratch folder and message builders.

#include "base/AtomicFile.h"
#include "gr33/Patch.h"
#include "gr33/SysEx.h"
#include "tests/support/ScratchFolder.h"

#include <filesystem>
#include <string>

// The data message of the bytes under the number's address.
Bytes DataMessage(int number, const PatchBytes& bytes);
// A patch whose every byte is `fill`, named by the text.
PatchBytes FilledPatch(std::uint8_t fill, const std::string& name);
