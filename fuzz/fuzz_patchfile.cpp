// Collection and single-patch files of arbitrary content, through the loaders that read them
// from disk (a file in this process's scratch folder): a file is loaded or refused with the
// format error, a loaded one writes back to the bytes it was read from, and a refused single
// patch leaves the record unchanged.
#include "base/Errors.h"
#include "gr33/CollectionFile.h"
#include "gr33/PatchNumber.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace {
const std::filesystem::path& scratch() {
    static const std::filesystem::path folder = [] {
        std::string name = (std::filesystem::temp_directory_path() / "kelvo-fuzz-XXXXXX").string();
        if (!mkdtemp(name.data())) std::abort();
        std::atexit([] { std::filesystem::remove_all(scratch()); });
        return std::filesystem::path(name);
    }();
    return folder;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string file = (scratch() / "input.G33").string();
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
