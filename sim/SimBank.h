#pragma once
// The memory of the simulated GR-33: 128 user patches kept in a collection file (.G33), and the
// temporary patch, which lives in memory only.

#include "gr33/Patch.h"

#include <array>
#include <string>

class SimBank {
public:
    // A bank in memory only, holding the demo bank.
    SimBank();
    // A bank kept in the file: a missing file is created with the demo bank; an existing one is
    // read and validated (raising "Illegal patch data format" and leaving the file alone when it
    // is not a collection).
    explicit SimBank(std::string fileName);

    // Patch number 1..128, or 0 for the temporary patch.
    const PatchBytes& Patch(int number) const;
    // Takes the bytes as the new content of the patch; a user patch is written back to the file
    // at once (whole or not at all). Raises the system's error text when the file cannot be
    // written; the memory holds the new content regardless.
    void Store(int number, const PatchBytes& bytes);

    const std::string& FileName() const { return fileName_; }
    // The 17,920-byte collection image of the 128 user patches.
    Bytes Image() const;

private:
    void save() const;

    std::string fileName_;
    std::array<PatchBytes, 128> user_;
    PatchBytes temp_;
};
