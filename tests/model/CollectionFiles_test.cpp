// Loading and saving the collection, single patches and the temporary patch; the save prompt.

#include "FakeView.h"
#include "base/AtomicFile.h"
#include "base/RecordingDialogs.h"
#include "gr33/CollectionFile.h"
#include "model/Collection.h"
#include "model/Recovery.h"
#include "model/Settings.h"

#include <gtest/gtest.h>

namespace {

class CollectionFiles : public ::testing::Test {
protected:
    void SetUp() override { Settings().Start(folder.File("settings.ini")); }

    // Writes a collection file whose slot n holds "F<n>" for n <= count.
    std::string WriteBank(const std::string& name, int count) {
        RecordingDialogs quiet;
        ScopedPrompts inner(quiet);
        FakeView other;
        TCollection source(other);
        for (int n = 1; n <= count; ++n)
            source.Slot(n).SetBytes(NamedPatch("F" + std::to_string(n)), n);
        source.SaveCollectionFile(folder.File(name));
        return folder.File(name);
    }

    ScratchFolder folder;
    RecordingDialogs prompts;
    ScopedPrompts guard{prompts};
    FakeView view;
    TCollection collection{view};
};

TEST_F(CollectionFiles, SaveAndLoadRoundTripClearsTheModifiedMark) {
    std::string file = WriteBank("bank.G33", 3);
    EXPECT_EQ(ReadWholeFile(file).size(), 17920u);

    collection.Slot(50).SetBytes(NamedPatch("Stale"), 50);
    collection.SetCollectionFile("", true);
    prompts.confirmAnswers = {false}; // "Save first ?" No: the changes are dropped
    prompts.fileAnswers = {file};
    collection.LoadCollection();
    EXPECT_EQ(prompts.Texts("confirm"),
              std::vector<std::string>{"Patch collection modified! Save first ?"});
    EXPECT_EQ(collection.Slot(2).GetName(), "F2          ");
    EXPECT_TRUE(collection.Slot(50).IsEmpty());
    EXPECT_EQ(collection.Title(), "KelvoLight 1.01 (bank.G33)");
    EXPECT_EQ(view.cells.size(), 128u);
    EXPECT_EQ(view.busyDepth, 0);

    collection.CutPatch(1);
    EXPECT_EQ(collection.Title(), "KelvoLight 1.01 (* bank.G33)");
    std::string copy = folder.File("copy.G33");
    prompts.fileAnswers = {copy};
    collection.SaveCollection();
    EXPECT_EQ(collection.Title(), "KelvoLight 1.01 (copy.G33)");
    EXPECT_EQ(collection.CollectionFile(), copy);
    EXPECT_EQ(ParseCollection(ReadWholeFile(copy))[0], collection.Slot(1).Bytes());
}

TEST_F(CollectionFiles, OpenDialogProposesDefaultNameOnlyWithoutAFile) {
    std::string file = WriteBank("bank.G33", 1);
    prompts.fileAnswers = {file, std::nullopt};
    collection.LoadCollection();
    collection.LoadCollection(); // cancelled: nothing happens
    ASSERT_EQ(view.presets.size(), 2u);
    EXPECT_EQ(view.presets[0], "Default.G33");
    EXPECT_EQ(view.presets[1], file); // the dialog's own last name

    prompts.fileAnswers = {std::nullopt};
    collection.SaveCollection();
    EXPECT_EQ(view.presets.back(), file); // the save dialog starts at the collection's file
}

TEST_F(CollectionFiles, MalformedOrMissingFileReplacesNothing) {
    std::string file = WriteBank("bank.G33", 5);
    Bytes image = ReadWholeFile(file);
    image[4 * 140 + 7] = 5; // message 5 carries the address of slot 6
    std::string bad = folder.File("bad.G33");
    WriteFileAtomically(bad, image);

    collection.Slot(1).SetBytes(NamedPatch("Mine"), 1);
    collection.SetCollectionFile("mine.G33", true);
    EXPECT_THROW(collection.LoadCollectionFile(bad), EKelvoError);
    EXPECT_EQ(prompts.Last(), "");
    EXPECT_EQ(collection.Slot(1).GetName(), "Mine        ");
    EXPECT_EQ(collection.Title(), "KelvoLight 1.01 (* mine.G33)");

    collection.LoadCollectionFile(folder.File("missing.G33"));
    EXPECT_EQ(prompts.Last(), "File " + folder.File("missing.G33") + " not found");
    EXPECT_EQ(collection.Slot(1).GetName(), "Mine        ");
}

TEST_F(CollectionFiles, SavePromptOnlyWhenModifiedAndGoesOnAfterCancel) {
    collection.QuerySave();
    EXPECT_TRUE(prompts.shown.empty());

    collection.Slot(1).SetBytes(NamedPatch("X"), 1);
    collection.SetCollectionFile("", true);
    prompts.confirmAnswers = {true};
    prompts.fileAnswers = {std::nullopt}; // Yes, then the save dialog cancelled
    collection.QuerySave();
    EXPECT_TRUE(collection.Modified());

    prompts.confirmAnswers = {true};
    prompts.fileAnswers = {folder.File("saved.G33")};
    collection.QuerySave();
    EXPECT_FALSE(collection.Modified());
    EXPECT_TRUE(FileExists(folder.File("saved.G33")));
}

TEST_F(CollectionFiles, EmptySlotWarningFollowsTheSettingInAnyCase) {
    const std::string warning =
        "Please note that this patch collection file contains empty patches\r\n"
        "and should only be used with KelvoLight (that can deal with this)";
    collection.SaveCollectionFile(folder.File("a.G33"));
    EXPECT_TRUE(prompts.Texts("message").empty()); // absent: not shown

    WriteSetting("CompatibilityWarnings", "yes");
    collection.SaveCollectionFile(folder.File("b.G33"));
    EXPECT_EQ(prompts.Texts("message"), std::vector<std::string>{warning});

    prompts.Clear();
    for (int n = 1; n <= 128; ++n)
        collection.Slot(n).SetBytes(NamedPatch("Full"), n);
    collection.SaveCollectionFile(folder.File("c.G33"));
    EXPECT_TRUE(prompts.Texts("message").empty()); // no empty slot
}

TEST_F(CollectionFiles, FailedSaveKeepsTitleAndOldFile) {
    std::string file = WriteBank("bank.G33", 2);
    collection.Slot(1).SetBytes(NamedPatch("X"), 1);
    collection.SetCollectionFile(file, true);
    EXPECT_THROW(collection.SaveCollectionFile(folder.File("no/such/folder/x.G33")), EKelvoError);
    EXPECT_TRUE(collection.Modified());
    EXPECT_EQ(collection.CollectionFile(), file);
}

TEST_F(CollectionFiles, SinglePatchFilesForSlotsAndTemporaryPatch) {
    collection.Slot(23).SetBytes(NamedPatch("Solo"), 23);
    std::string file = folder.File("solo.P33");
    prompts.fileAnswers = {file};
    collection.SavePatch(23);
    Bytes bytes = ReadWholeFile(file);
    ASSERT_EQ(bytes.size(), 140u);
    EXPECT_EQ(bytes[6], 2); // always addressed to the temporary patch
    EXPECT_FALSE(collection.Modified());

    prompts.fileAnswers = {file};
    collection.LoadPatch(5);
    EXPECT_EQ(collection.Slot(5).GetName(), "Solo        ");
    EXPECT_TRUE(collection.Modified());
    EXPECT_EQ(view.cells.back(), 5);

    collection.SetCollectionFile("", false);
    prompts.fileAnswers = {file};
    collection.LoadTempPatch();
    EXPECT_EQ(collection.TempPatchCaption(), "Temporary Patch (Solo)");
    EXPECT_EQ(view.tempMenus, 1);
    EXPECT_FALSE(collection.Modified()); // the temporary patch is not part of the collection

    prompts.fileAnswers = {folder.File("empty.P33")};
    try {
        collection.SavePatch(6);
        FAIL() << "empty slot saved";
    } catch (const EKelvoError& e) {
        EXPECT_STREQ(e.what(), "Patch (A22) is empty!");
    }
    EXPECT_FALSE(FileExists(folder.File("empty.P33")));

    prompts.fileAnswers = {folder.File("missing.P33")};
    EXPECT_THROW(collection.LoadPatch(7), EKelvoError);
    EXPECT_TRUE(collection.Slot(7).IsEmpty());
    EXPECT_EQ(view.busyDepth, 0);
}

// A collection kept at a quit by signal goes to a new file each time, never over another.
TEST_F(CollectionFiles, RecoveredCollectionsGetFreshNamesAndLeaveTheCollectionAsItIs) {
    collection.Slot(128).SetBytes(NamedPatch("Last"), 128);
    collection.SetCollectionFile("mine.G33", true);
    std::string data = folder.File("data/KelvoLight");
    std::time_t when = 1700000000;
    std::string first = SaveRecoveredCollection(collection, data, when);
    std::string second = SaveRecoveredCollection(collection, data, when);
    EXPECT_NE(first, second);
    EXPECT_EQ(first.substr(0, data.size() + 11), data + "/recovered-");
    for (const auto& file : {first, second})
        EXPECT_EQ(ReadCollectionFile(file)[127], NamedPatch("Last"));
    EXPECT_EQ(collection.CollectionFile(), "mine.G33");
    EXPECT_TRUE(collection.Modified());
}

} // namespace
