// Single-patch files (.P33): one data message addressed to the temporary patch.
#include "base/AtomicFile.h"
#include "base/Errors.h"
#include "gr33/Patch.h"
#include "gr33/PatchNumber.h"
#include "gr33/SysEx.h"

void TPatch::LoadFromFile(const std::string& fileName) {
    if (!FileExists(fileName)) throw EKelvoError("Patch file not found");
    ::Bytes bytes = ReadFileStart(fileName, DataMessageSize);
    ByteReader reader(bytes);
    ReadSysEx(TempPatchNumber, reader);
}

void TPatch::SaveToFile(const std::string& fileName, int number) const {
    CheckNotEmpty(number);
    ::Bytes bytes;
    WriteSysEx(TempPatchNumber, bytes);
    WriteFileAtomically(fileName, bytes);
}
