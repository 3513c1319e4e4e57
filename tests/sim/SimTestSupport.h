#pragma once
// Helpers shared by the tests of the simulated GR-33: a scratch folder and message builders.

#include "base/AtomicFile.h"
#include "gr33/Patch.h"
#include "gr33/SysEx.h"

#include <filesystem>
#include <string>

// A fresh folder under the system's temporary folder, removed with everything in it.
class ScratchFolder {
public:
    ScratchFolder();
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;
    std::string File(const std::string& name) const { return (path_ / name).string(); }
    std::filesystem::path Path() const { return path_; }

private:
    std::filesystem::path path_;
};

// The data message of the bytes under the number's address.
Bytes DataMessage(int number, const PatchBytes& bytes);
// A patch whose every byte is `fill`, named by the text.
PatchBytes FilledPatch(std::uint8_t fill, const std::string& name);
