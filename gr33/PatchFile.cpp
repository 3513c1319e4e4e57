// Single-patch files (.P33): one data message addressed to the temporary patch.
#include "base/AtomicFile.h"
#include "base/Errors.h"
#include "gr33/CollectionFile.h"
#include "gr33/Patch.h"
#include "gr33/PatchNumber.h"
#include "gr33/SysEx.h"

void TPatch::LoadFromFile(const std::string& fileName) {
    if (!FileExists(fileName)) throw EKelvoError("Patch file not found");
    // Bytes after the message are ignored, except in a .syx file, which holds the message alone.
    const bool exact = IsSysExFileName(fileName);
    ::Bytes bytes = ReadFileStart(fileName, DataMessageSize + (exact ? 1 : 0));
    if (exact && bytes.size() > DataMessageSize) bytes.clear(); // refused by ReadSysEx
    ByteReader reader(bytes);
    ReadSysEx(TempPatchNumber, reader);
}

void TPatch::SaveToFile(const std::string& fileName, int number) const {
    CheckNotEmpty(number);
    ::Bytes bytes;
    WriteSysEx(TempPatchNumber, bytes);
    WriteFileAtomically(fileName, bytes);
}
