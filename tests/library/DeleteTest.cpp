// Deleting a library patch: searches leave it out, its snapshot slots and sightings stay, and
// it comes back when undeleted.
#include "library/Library.h"

#include <gtest/gtest.h>

namespace {

PatchBytes Named(const std::string& name, std::uint8_t body) {
    PatchBytes bytes{};
    bytes.fill(body);
    auto text = TextToName(name);
    std::copy(text.begin(), text.end(), bytes.begin());
    return bytes;
}

std::size_t Found(const TPatchLibrary& library, const std::string& query) {
    return library.Search(query).size();
}

TEST(LibraryDelete, DeletedPatchesLeaveSearchesButNotSnapshots) {
    TPatchLibrary library(":memory:");
    const std::vector<PatchBytes> slots = {Named("Piano", 1), Named("Pad", 2)};
    const std::int64_t snapshot = library.AddSnapshot(slots, "port", 10);
    const std::int64_t pad = library.Search("pad").at(0).id;
    library.SetFavourite(pad, true);
    library.AddTag(pad, "live");
    library.SetDeleted(std::array{pad}, true);
    // Only Piano is left, whatever finds the pad.
    for (const char* query : {"", "pad", "tag:live", "is:favourite", "snapshot:1"}) {
        SCOPED_TRACE(query);
        for (const PatchSummary& found : library.Search(query))
            EXPECT_EQ(found.name, "Piano");
    }
    EXPECT_EQ(library.RestoreSnapshot(snapshot)[1], slots[1]);
    EXPECT_EQ(library.Bytes(pad), slots[1]);
    EXPECT_EQ(library.SlotHistory(2).at(0).patch, pad);
    EXPECT_TRUE(library.Favourite(pad));
    library.SetDeleted(std::array{pad}, false);
    EXPECT_EQ(Found(library, "tag:live is:favourite"), 1u);
    EXPECT_EQ(Found(library, ""), 2u);
}

} // namespace
