// What the collection reports for the patch library is checked where each way in is driven
// (files, device); here: patches shown from the library are not reported back to it.

#include "CollectionFixture.h"

namespace {

// Patches shown from the library fill the slots as an unsaved collection and are not reported
// again.
TEST_F(CollectionTest, SlotsShownFromTheLibraryAreNotReportedAgain) {
    Fill(collection, Range(1, 128));
    collection.ShowSlots(std::vector<PatchBytes>{NamedPatch(7), NamedPatch(8)});
    for (int n = 1; n <= PatchCount; ++n)
        ASSERT_EQ(collection.Slot(n).Bytes(), n <= 2 ? NamedPatch(n + 6) : TPatch().Bytes()) << n;
    EXPECT_EQ(collection.Title(), "KelvoLight 1.01 (* Untitled)");
    EXPECT_TRUE(view.seen.empty());
}

} // namespace
