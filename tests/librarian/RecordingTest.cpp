// A collection loaded through the menu goes into the window's patch library, each patch seen
// in the file at its slot.

#include "WindowFixture.h"
#include "library/Library.h"
#include "sim/DemoBank.h"

#include <set>

namespace {

TEST_F(WindowTest, LoadedCollectionIsInThePatchLibrary) {
    const std::string bank = BankFile("bank.G33", {1, 2, 3});
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
