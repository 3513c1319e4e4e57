// Data messages and collection images from arbitrary bytes: every input is either read whole
// or refused with the format error, and a refused read leaves the record unchanged.
#include "base/Errors.h"
#include "gr33/CollectionFile.h"
#include "gr33/Patch.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Bytes bytes(data, data + size);
    try {
        auto slots = ParseCollection(bytes);
        // A collection that parses must write back to the same first 17,920 bytes.
        std::array<TPatch, 128> patches;
        std::array<const TPatch*, 128> refs;
        for (int i = 0; i < 128; ++i) {
            patches[i].SetBytes(slots[i], i + 1);
            refs[i] = &patches[i];
        }
        if (!std::equal(bytes.begin(), bytes.begin() + CollectionFileSize,
                        CollectionImage(refs).begin()))
            std::abort();
    } catch (const EKelvoError&) {
    }
    for (int number : {0, 1, 128}) {
        TPatch patch;
        patch.Data()[0] = 0x41;
        auto before = patch.Bytes();
        ByteReader reader(bytes);
        try {
            patch.ReadSysEx(number, reader);
            if (reader.Position() != DataMessageSize) std::abort();
        } catch (const EKelvoError&) {
            if (patch.Bytes() != before) std::abort();
        }
    }
    return 0;
}
