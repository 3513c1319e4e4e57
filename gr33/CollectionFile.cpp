#include "gr33/CollectionFile.h"

#include "base/AtomicFile.h"
#include "base/Errors.h"
#include "gr33/SysEx.h"

std::array<PatchBytes, 128> ParseCollection(const Bytes& image) {
    std::array<PatchBytes, 128> slots;
    ByteReader reader(image);
    TPatch scratch; // no editor: reading into it tells nobody
    for (int n = 1; n <= 128; ++n) {
        scratch.ReadSysEx(n, reader);
        slots[n - 1] = scratch.Bytes();
    }
    return slots;
}

std::array<PatchBytes, 128> ReadCollectionFile(const std::string& fileName) {
    if (!FileExists(fileName)) throw EKelvoError("File " + fileName + " not found");
    // Only the 128 messages are read: what follows them is ignored, however large.
    return ParseCollection(ReadFileStart(fileName, CollectionFileSize));
}

Bytes CollectionImage(const std::array<const TPatch*, 128>& slots) {
    Bytes image;
    image.reserve(CollectionFileSize);
    for (int n = 1; n <= 128; ++n)
        slots[n - 1]->WriteSysEx(n, image);
    return image;
}

void WriteCollectionFile(const std::string& fileName, const std::array<const TPatch*, 128>& slots) {
    WriteFileAtomically(fileName, CollectionImage(slots));
}
