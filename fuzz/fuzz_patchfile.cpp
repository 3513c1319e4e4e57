// .G33/.P33 files of arbitrary content through the loaders that read them from disk: a file is
// loaded or refused, a loaded patch writes back to its bytes, a refused one stays unchanged.
#include "base/Errors.h"
#include "gr33/CollectionFile.h"
#include "gr33/PatchNumber.h"

#include "tests/support/ScratchFolder.h"

#include <cstdlib>
#include <fstream>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static ScratchFolder scratch;
    const std::string file = scratch.File("input.G33");
    std::ofstream(file, std::ios::binary).write(reinterpret_cast<const char*>(data), size);
    try {
        ReadCollectionFile(file);
        if (size < CollectionFileSize) std::abort();
    } catch (const EKelvoError&) {
    }
    TPatch patch;
    patch.Data()[0] = 0x41;
    auto before = patch.Bytes();
    try {
        patch.LoadFromFile(file);
        Bytes written;
        patch.WriteSysEx(TempPatchNumber, written);
        if (size < written.size() || !std::equal(written.begin(), written.end(), data))
            std::abort();
    } catch (const EKelvoError&) {
        if (patch.Bytes() != before) std::abort();
    }
    return 0;
}
