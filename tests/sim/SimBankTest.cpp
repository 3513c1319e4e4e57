#include "sim/SimBank.h"
#include "SimTestSupport.h"
#include "base/Errors.h"
#include "gr33/Catalogue.h"
#include "gr33/CollectionFile.h"
#include "sim/DemoBank.h"

#include <gtest/gtest.h>

namespace {
std::string trimmedName(const PatchBytes& bytes) {
    std::string name(bytes.begin(), bytes.begin() + NameSize);
    return name.substr(0, name.find_last_not_of(' ') + 1);
}
} // namespace

TEST(DemoBank, EachPatchPlaysItsToneAndIsNamedAfterIt) {
    const auto* firstSelect = FindParameter("1st Select");
    ASSERT_NE(firstSelect, nullptr);
    for (int k : {1, 2, 64, 128}) {
        auto patch = DemoPatch(k);
        EXPECT_EQ(ReadRaw(*firstSelect, patch), k - 1);
        std::string tone(ToneNames()[k - 1]);
        EXPECT_EQ(trimmedName(patch), tone.substr(0, NameSize));
    }
}

TEST(DemoBank, EveryParameterIsOneTheEditorCanShow) {
    for (int k = 1; k <= 128; ++k) {
        auto patch = DemoPatch(k);
        for (const auto& p : Parameters()) {
            if (p.coding == ParamCoding::Name) continue;
            for (int s = 1; s <= (p.IsPerString() ? StringCount : 1); ++s)
                EXPECT_TRUE(IsRawInRange(p, ReadRaw(p, patch, s)))
                    << "patch " << k << " " << p.caption << " string " << s;
        }
        const auto* type = EffectType(patch[EffectTypeByte]);
        ASSERT_NE(type, nullptr);
        for (int slot = 1; slot <= EffectSlotCount; ++slot)
            EXPECT_TRUE(type->parameters[slot - 1].IsInRange(patch[EffectTypeByte + slot]));
    }
}

TEST(SimBank, MissingFileIsCreatedWithTheDemoBank) {
    ScratchFolder folder;
    auto file = folder.File("data/KelvoLight/bank.G33"); // folders created on the way
    SimBank bank(file);
    ASSERT_TRUE(FileExists(file));
    auto image = ReadWholeFile(file);
    EXPECT_EQ(image.size(), CollectionFileSize);
    EXPECT_EQ(ParseCollection(image), DemoBank());
    EXPECT_EQ(image, bank.Image());
}

TEST(SimBank, StoreWritesTheWholeFileAndLeavesNoScratchFiles) {
    ScratchFolder folder;
    auto file = folder.File("bank.G33");
    {
        SimBank bank(file);
        bank.Store(128, FilledPatch(0x33, "Last"));
        bank.Store(0, FilledPatch(0x44, "Temp only"));
    }
    auto slots = ReadCollectionFile(file);
    EXPECT_EQ(slots[127], FilledPatch(0x33, "Last"));
    EXPECT_EQ(slots[0], DemoPatch(1));
    std::size_t entries = 0;
    for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(folder.Path()))
        ++entries;
    EXPECT_EQ(entries, 1u);
    // Reopened, the bank has the stored patch; the temporary patch was not kept.
    SimBank again(file);
    EXPECT_EQ(again.Patch(128), FilledPatch(0x33, "Last"));
    EXPECT_EQ(again.Patch(0), DemoPatch(1));
}

TEST(SimBank, ForeignFileIsRefusedAndLeftAlone) {
    ScratchFolder folder;
    auto file = folder.File("notes.G33");
    Bytes junk(CollectionFileSize - 1, 0x20);
    WriteFileAtomically(file, junk);
    try {
        SimBank bank(file);
        FAIL() << "accepted a file that is not a collection";
    } catch (const EKelvoError& e) {
        EXPECT_STREQ(e.what(), "Illegal patch data format");
    }
    EXPECT_EQ(ReadWholeFile(file), junk);
}

TEST(SimBank, FailedWriteKeepsThePatchInMemory) {
    ScratchFolder folder;
    auto file = folder.File("bank.G33");
    SimBank bank(file);
    // A folder in the file's place: the rename over it fails whatever the user's rights.
    std::filesystem::remove(file);
    std::filesystem::create_directory(file);
    EXPECT_THROW(bank.Store(3, FilledPatch(0x15, "Blocked")), EKelvoError);
    EXPECT_EQ(bank.Patch(3), FilledPatch(0x15, "Blocked"));
    EXPECT_TRUE(std::filesystem::is_directory(file));
}
