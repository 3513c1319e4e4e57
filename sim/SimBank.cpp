#include "sim/SimBank.h"

#include "base/AtomicFile.h"
#include "gr33/CollectionFile.h"
#include "gr33/PatchNumber.h"
#include "sim/DemoBank.h"

#include <filesystem>
#include <utility>

SimBank::SimBank() : user_(DemoBank()), temp_(DemoPatch(1)) {}

SimBank::SimBank(std::string fileName) : fileName_(std::move(fileName)), temp_(DemoPatch(1)) {
    if (FileExists(fileName_)) {
        user_ = ParseCollection(ReadFileStart(fileName_, CollectionFileSize));
    } else {
        user_ = DemoBank();
        // A first run may find no data folder yet; the write itself reports any other trouble.
        std::error_code ignored;
        auto folder = std::filesystem::path(fileName_).parent_path();
        if (!folder.empty()) std::filesystem::create_directories(folder, ignored);
        save();
    }
}

const PatchBytes& SimBank::Patch(int number) const {
    return number == TempPatchNumber ? temp_ : user_.at(number - 1);
}

void SimBank::Store(int number, const PatchBytes& bytes) {
    if (number == TempPatchNumber) {
        temp_ = bytes;
        return;
    }
    user_.at(number - 1) = bytes;
    if (!fileName_.empty()) save();
}

Bytes SimBank::Image() const {
    Bytes image;
    image.reserve(CollectionFileSize);
    TPatch scratch;
    for (int n = 1; n <= 128; ++n) {
        scratch.SetBytes(user_[n - 1], n);
        scratch.WriteSysEx(n, image);
    }
    return image;
}

void SimBank::save() const {
    WriteFileAtomically(fileName_, Image());
}
