// A collection loaded through the menu goes into the window's patch library, each patch seen
// in the file at its slot.

#include "WindowFixture.h"
#include "gr33/CollectionFile.h"
#include "library/Library.h"
#include "sim/DemoBank.h"

#include <set>

namespace {

TEST_F(WindowTest, LoadedCollectionIsInThePatchLibrary) {
    std::array<TPatch, PatchCount> patches;
    std::array<const TPatch*, PatchCount> records{};
    for (int n = 1; n <= PatchCount; ++n) {
        if (n <= 3) patches[n - 1].SetBytes(DemoPatch(n), n);
        records[n - 1] = &patches[n - 1];
    }
    const std::string bank = File("bank.G33");
    WriteCollectionFile(bank, records);
    TPatchLibrary library(":memory:");
    Open().SetPatchLibrary(&library);
    prompts.fileAnswers = {bank};
    Choose("LoadCollection");
    std::set<int> numbers;
    for (const PatchSummary& patch : library.Search("seen:bank.G33")) {
        const auto sightings = library.Sightings(patch.id);
        ASSERT_EQ(sightings.size(), 1u) << patch.name;
        const Sighting& seen = sightings[0];
        EXPECT_TRUE(seen.kind == SightingKind::File && seen.place == bank && seen.when > 0);
        EXPECT_EQ(library.Bytes(patch.id), DemoPatch(seen.slot)) << seen.slot;
        numbers.insert(seen.slot);
    }
    EXPECT_EQ(numbers, (std::set<int>{1, 2, 3}));
    EXPECT_EQ(library.PatchCount(), 3);
    window_.reset(); // before the library it records in
}

} // namespace
