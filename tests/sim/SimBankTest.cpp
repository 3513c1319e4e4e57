#include "sim/SimBank.h"
#include "SimTestSupport.h"
#include "base/Errors.h"
#include "gr33/Catalogue.h"
#include "gr33/CollectionFile.h"
#include "sim/DemoBank.h"
#include "tests/support/FailureOf.h"

#include <gtest/gtest.h>

// Each demo patch plays its tone, is named after it, and holds only values the editor can show.
TEST(DemoBank, EachPatchPlaysItsToneWithValidParameters) {
    const auto* firstSelect = FindParameter("1st Select");
    ASSERT_NE(firstSelect, nullptr);
    for (int k = 1; k <= 128; ++k) {
        SCOPED_TRACE(k);
        const auto patch = DemoPatch(k);
        EXPECT_EQ(ReadRaw(*firstSelect, patch), k - 1);
        std::string name(patch.begin(), patch.begin() + NameSize);
        EXPECT_EQ(name.substr(0, name.find_last_not_of(' ') + 1),
                  std::string(ToneNames()[k - 1]).substr(0, NameSize));
        for (const auto& p : Parameters())
            for (int s = 1;
                 p.coding != ParamCoding::Name && s <= (p.IsPerString() ? StringCount : 1); ++s)
                EXPECT_TRUE(IsRawInRange(p, ReadRaw(p, patch, s))) << p.caption << " " << s;
        const auto* type = EffectType(patch[EffectTypeByte]);
        ASSERT_NE(type, nullptr);
        for (int slot = 1; slot <= EffectSlotCount; ++slot)
            EXPECT_TRUE(type->parameters[slot - 1].IsInRange(patch[EffectTypeByte + slot]));
    }
}

// A missing file is made with the demo bank (folders on the way); a store rewrites the whole
// file, leaves no scratch file and keeps the temporary patch out of it.
TEST(SimBank, KeepsItsFile) {
    ScratchFolder folder;
    auto file = folder.File("data/KelvoLight/bank.G33");
    {
        SimBank bank(file);
        EXPECT_EQ(ReadWholeFile(file), bank.Image());
        EXPECT_EQ(ParseCollection(bank.Image()), DemoBank());
        bank.Store(128, FilledPatch(0x33, "Last"));
        bank.Store(0, FilledPatch(0x44, "Temp only"));
        EXPECT_EQ(bank.Patch(0), FilledPatch(0x44, "Temp only"));
    }
    EXPECT_EQ(
        std::distance(std::filesystem::directory_iterator(folder.File("data/KelvoLight")), {}), 1);
    SimBank again(file);
    EXPECT_EQ(again.Patch(128), FilledPatch(0x33, "Last"));
    EXPECT_EQ(again.Patch(0), DemoPatch(1));
    EXPECT_EQ(again.Patch(1), DemoPatch(1));

    // A folder in the file's place: the rename over it fails whatever the user's rights, and
    // the patch stays in memory.
    std::filesystem::remove(file);
    std::filesystem::create_directory(file);
    EXPECT_THROW(again.Store(3, FilledPatch(0x15, "Blocked")), EKelvoError);
    EXPECT_EQ(again.Patch(3), FilledPatch(0x15, "Blocked"));
    EXPECT_TRUE(std::filesystem::is_directory(file));
}

TEST(SimBank, ForeignFileIsRefusedAndLeftAlone) {
    ScratchFolder folder;
    auto file = folder.File("notes.G33");
    const Bytes junk(CollectionFileSize - 1, 0x20);
    WriteFileAtomically(file, junk);
    EXPECT_EQ(FailureOf([&] { SimBank bank(file); }), "Illegal patch data format");
    EXPECT_EQ(ReadWholeFile(file), junk);
}
