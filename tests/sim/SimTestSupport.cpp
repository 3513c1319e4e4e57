#include "SimTestSupport.h"

#include <algorithm>

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
