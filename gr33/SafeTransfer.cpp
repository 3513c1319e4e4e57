#include "gr33/SafeTransfer.h"

#include "base/AtomicFile.h"
#include "base/Errors.h"
#include "base/FileRead.h"
#include "gr33/CollectionFile.h"
#include "gr33/PatchNumber.h"
#include "gr33/SysEx.h"

#include <filesystem>

namespace {

constexpr const char* IllegalFormat = "Illegal patch data format";

} // namespace

VerifyResult VerifySent(std::span<const SentPatch> sent, int outDevice, int inDevice,
                        const TransferStepFn& step) {
    VerifyResult result;
    for (const SentPatch& patch : sent) {
        if (patch.number == TempPatchNumber) continue;
        if (step) step(patch.number);
        TPatch back; // no editor: reading into it tells nobody
        back.ReceiveFromDevice(outDevice, inDevice, patch.number);
        ++result.verified;
        if (back.Bytes() != patch.bytes) result.differing.push_back(patch.number);
    }
    return result;
}

std::string VerifiedText(int verified) {
    return "Sent and verified " + std::to_string(verified) + " patches";
}

std::string DiffersText(int number) {
    return "Patch (" + PatchLabel(number) + ") differs after sending";
}

std::string DiffersLines(const VerifyResult& result) {
    std::string lines;
    for (int number : result.differing) {
        if (!lines.empty()) lines += '\n';
        lines += DiffersText(number);
    }
    return lines;
}

std::string SnapshotFailedText(const std::string& reason, const std::string& way) {
    return "No snapshot before sending, nothing was sent: " + MessageText(reason) +
           " (to send anyway, " + way + ")";
}

void ReceiveRest(std::vector<PatchBytes>& received, int outDevice, int inDevice,
                 const TransferStepFn& step) {
    for (int n = static_cast<int>(received.size()) + 1; n <= PatchCount; ++n) {
        if (step) step(n);
        TPatch patch;
        patch.ReceiveFromDevice(outDevice, inDevice, n);
        received.push_back(patch.Bytes());
    }
}

std::string PartialFileName(const std::string& collectionFile) {
    std::filesystem::path path(collectionFile);
    const std::string extension = path.has_extension() ? path.extension().string() : ".G33";
    return path.replace_extension().string() + ".partial" + extension;
}

void WritePartialFile(const std::string& fileName, std::span<const PatchBytes> received) {
    Bytes image;
    TPatch scratch;
    for (std::size_t k = 0; k < received.size() && k < PatchCount; ++k) {
        scratch.SetBytes(received[k], static_cast<int>(k) + 1);
        scratch.WriteSysEx(static_cast<int>(k) + 1, image);
    }
    WriteFileAtomically(fileName, image);
}

std::vector<PatchBytes> ReadPartialFile(const std::string& fileName) {
    if (!FileExists(fileName)) throw EKelvoError("File " + fileName + " not found");
    const Bytes image = ReadFileStart(fileName, CollectionFileSize);
    if (image.size() % DataMessageSize != 0 || image.size() == CollectionFileSize)
        throw EKelvoError(IllegalFormat);
    std::vector<PatchBytes> received;
    ByteReader reader(image);
    TPatch scratch;
    for (int n = 1; n <= static_cast<int>(image.size() / DataMessageSize); ++n) {
        scratch.ReadSysEx(n, reader);
        received.push_back(scratch.Bytes());
    }
    return received;
}
