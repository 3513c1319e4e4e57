// e2e_make_bank OUT.G33 SEED: writes a collection of 128 non-empty patches whose bytes follow
// from the seed, so the end-to-end runs can send a collection that differs from the demo bank.

#include "base/Errors.h"
#include "gr33/CollectionFile.h"

#include <array>
#include <iostream>
#include <memory>
#include <string>

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: e2e_make_bank OUT.G33 SEED\n";
        return 2;
    }
    const int seed = std::stoi(argv[2]);
    auto records = std::make_unique<std::array<TPatch, 128>>();
    std::array<const TPatch*, 128> slots;
    for (int n = 1; n <= 128; ++n) {
        PatchBytes bytes;
        for (std::size_t i = 0; i < PatchSize; ++i)
            bytes[i] = static_cast<std::uint8_t>((n * 7 + static_cast<int>(i) * 3 + seed) % 128);
        auto name = TextToName("Seed" + std::to_string(seed) + " #" + std::to_string(n));
        std::copy(name.begin(), name.end(), bytes.begin());
        (*records)[n - 1].SetBytes(bytes, n);
        slots[n - 1] = &(*records)[n - 1];
    }
    try {
        WriteCollectionFile(argv[1], slots);
    } catch (const EKelvoError& e) {
        std::cerr << MessageText(e.what()) << "\n";
        return 1;
    }
    return 0;
}
