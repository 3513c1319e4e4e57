#include "SimTestSupport.h"

#include <algorithm>
#include <random>

ScratchFolder::ScratchFolder() {
    std::random_device seed;
    path_ = std::filesystem::temp_directory_path() /
            ("kelvo-sim-test-" + std::to_string(seed()) + std::to_string(seed()));
    std::filesystem::create_directories(path_);
}

ScratchFolder::~ScratchFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

Bytes DataMessage(int number, const PatchBytes& bytes) {
    TPatch patch;
    patch.SetBytes(bytes, number);
    Bytes message;
    patch.WriteSysEx(number, message);
    return message;
}

PatchBytes FilledPatch(std::uint8_t fill, const std::string& name) {
    PatchBytes bytes;
    bytes.fill(fill);
    auto n = TextToName(name);
    std::copy(n.begin(), n.end(), bytes.begin());
    return bytes;
}
