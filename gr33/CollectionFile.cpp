#include "gr33/CollectionFile.h"

#include "base/AtomicFile.h"
#include "base/Errors.h"
#include "gr33/SysEx.h"

#include <algorithm>
#include <cctype>
#include <filesystem>

namespace {
constexpr const char* IllegalFormat = "Illegal patch data format";
} // namespace

bool IsSysExFileName(const std::string& fileName) {
    std::string extension = std::filesystem::path(fileName).extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return extension == ".syx";
}

FileKind SysExFileKind(const std::string& fileName) {
    if (!FileExists(fileName)) throw EKelvoError("File " + fileName + " not found");
    // One byte past a collection is enough to tell a longer file from one.
    const std::size_t size = ReadFileStart(fileName, CollectionFileSize + 1).size();
    if (size == DataMessageSize) return FileKind::SinglePatch;
    if (size == CollectionFileSize) return FileKind::Collection;
    throw EKelvoError(IllegalFormat);
}

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
    // Only the 128 messages are read: what follows them is ignored, however large, except in a
    // .syx file, which holds the messages alone.
    const bool exact = IsSysExFileName(fileName);
    Bytes image = ReadFileStart(fileName, CollectionFileSize + (exact ? 1 : 0));
    if (exact && image.size() != CollectionFileSize) throw EKelvoError(IllegalFormat);
    return ParseCollection(image);
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
