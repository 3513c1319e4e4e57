// Loading and saving collections and patches; the save prompt, empty-slot warning, recovery.

#include "CollectionFixture.h"
#include "base/AtomicFile.h"
#include "model/Recovery.h"

namespace {

class CollectionFiles : public CollectionTest {
protected:
    // Writes a collection file whose slots in `filled` hold their P<n>.
    std::string WriteBank(const std::string& name, const std::set<int>& filled) {
        FakeObserver other;
        TCollection source(other);
        Fill(source, filled);
        WriteCollectionFile(folder.File(name), source.Records());
        return folder.File(name);
    }
    void ExpectSaved(const std::string& file) {
        auto saved = ReadCollectionFile(file);
        for (int n = 1; n <= PatchCount; ++n)
            ASSERT_EQ(saved[n - 1], collection.Slot(n).Bytes()) << n;
    }
};

TEST_F(CollectionFiles, LoadAndSaveThroughTheDialogs) {
    std::string file = WriteBank("bank.G33", {1, 2, 128});
    Fill(collection, {50});
    collection.SetCollectionFile("", true);
    prompts.confirmAnswers = {false}; // "Save first ?" No: the changes are dropped
    prompts.fileAnswers = {file, std::nullopt};
    collection.LoadCollection();
    collection.LoadCollection(); // cancelled: nothing happens
    EXPECT_EQ(prompts.Texts("confirm"),
              std::vector<std::string>{"Patch collection modified! Save first ?"});
    for (int n = 1; n <= PatchCount; ++n)
        ASSERT_EQ(Name(n), P(n <= 2 || n == 128 ? n : 0)) << n;
    EXPECT_EQ(collection.Title(), "KelvoLight 1.01 (bank.G33)");
    EXPECT_EQ(view.cells.size(), 128u);
    ExpectSeen(view, collection, SightingKind::File, file, Range(1, 128));

    collection.CutPatch(1);
    prompts.fileAnswers = {folder.File("copy.G33")};
    collection.SaveCollection();
    EXPECT_EQ(collection.Title(), "KelvoLight 1.01 (copy.G33)");
    EXPECT_EQ(collection.CollectionFile(), folder.File("copy.G33"));
    ExpectSaved(folder.File("copy.G33"));
    // Load proposes Default.G33 without a file, then its own last name; save the collection's.
    EXPECT_EQ(view.presets, (std::vector<std::string>{"Default.G33", file, file}));
    EXPECT_EQ(view.busyDepth, 0);
}

TEST_F(CollectionFiles, OpenFilePicksTheKindByExtension) {
    std::string bank = WriteBank("start.G33", {2});
    TPatch lead;
    lead.SetBytes(NamedPatch(1), 0);
    lead.SaveToFile(folder.File("lead.p33"), 0);
    collection.OpenFile(folder.File("lead.p33"));
    EXPECT_EQ(collection.TempPatch().GetName(), P(1));
    EXPECT_FALSE(collection.Modified() || view.tempMenus != 1);
    ExpectSeen(view, collection, SightingKind::File, folder.File("lead.p33"), {0});
    collection.OpenFile(bank);
    EXPECT_EQ(Name(2), P(2));
    ExpectSeen(view, collection, SightingKind::File, bank, Range(1, 128));
    EXPECT_EQ(collection.CollectionFile(), bank);
    prompts.fileAnswers = {std::nullopt, std::nullopt}; // the dialogs start from those files
    collection.LoadCollection();
    collection.LoadTempPatch();
    EXPECT_EQ(view.presets, (std::vector<std::string>{bank, folder.File("lead.p33")}));
}

TEST_F(CollectionFiles, MalformedOrMissingFileReplacesNothing) {
    Bytes image = ReadWholeFile(WriteBank("bank.G33", Range(1, 5)));
    image[4 * 140 + 7] = 5; // message 5 carries the address of slot 6
    WriteFileAtomically(folder.File("bad.G33"), image);
    Fill(collection, {7});
    collection.SetCollectionFile("mine.G33", true);
    EXPECT_NE(FailureOf([&] { collection.LoadCollectionFile(folder.File("bad.G33")); }), "");
    collection.LoadCollectionFile(folder.File("missing.G33"));
    EXPECT_EQ(prompts.Texts("message"),
              std::vector<std::string>{"File " + folder.File("missing.G33") + " not found"});
    EXPECT_EQ(Name(7), P(7));
    EXPECT_TRUE(collection.Slot(1).IsEmpty() && view.cells.empty() && view.seen.empty());
    EXPECT_EQ(collection.Title(), "KelvoLight 1.01 (* mine.G33)");
}

TEST_F(CollectionFiles, SavePromptOnlyWhenModifiedAndAFailedSaveKeepsTheMark) {
    collection.QuerySave();
    EXPECT_TRUE(prompts.shown.empty());
    collection.SetCollectionFile("mine.G33", true);
    prompts.confirmAnswers = {true, true, true};
    prompts.fileAnswers = {std::nullopt, folder.File("no/such/x.G33"), folder.File("a.G33")};
    collection.QuerySave(); // Yes, then the dialog cancelled
    EXPECT_NE(FailureOf([&] { collection.QuerySave(); }), "");
    EXPECT_TRUE(collection.Modified());
    EXPECT_EQ(collection.CollectionFile(), "mine.G33");
    collection.QuerySave();
    EXPECT_FALSE(collection.Modified());
    ExpectSaved(folder.File("a.G33"));
}

// A quit signal before the save question, while it is open or while the save dialog is: the
// commands that would replace a modified collection stop there and leave it for the recovery.
TEST_F(CollectionFiles, AQuitSignalStopsWhatWouldReplaceAModifiedCollection) {
    const std::string bank = WriteBank("bank.G33", {1});
    const std::vector<std::function<void()>> commands = {
        [&] { collection.LoadCollection(); }, [&] { collection.LoadRecentCollection(bank); },
        [&] { collection.OpenDroppedFile(1, bank); },
        [&] { collection.ShowSlots(std::vector<PatchBytes>{NamedPatch(9)}); },
        [&] { collection.ReceiveCollection(); }};
    Fill(collection, {2});
    collection.SetCollectionFile("mine.G33", true);
    for (int asked : {0, 1, 2})
        for (const auto& command : commands) {
            SCOPED_TRACE(asked);
            prompts.Clear(), prompts.endAfter = asked;
            prompts.confirmAnswers = {true}, prompts.fileAnswers = {folder.File("saved.G33")};
            EXPECT_EQ(FailureOf(command), "Operation cancelled");
            EXPECT_EQ(prompts.shown.size(), std::size_t(asked));
            EXPECT_EQ(Name(1) + Name(2), P(0) + P(2));
            EXPECT_TRUE(collection.Modified() && !FileExists(folder.File("saved.G33")));
        }
}

TEST_F(CollectionFiles, EmptySlotWarningFollowsTheSetting) {
    const std::string warning =
        "Please note that this patch collection file contains empty patches\r\n"
        "and should only be used with KelvoLight (that can deal with this)";
    const std::vector<std::tuple<const char*, std::set<int>, bool>> cases = {
        {"", {}, false},
        {"yes", {}, true},
        {"No", {}, false},
        {"YES", {128}, true},
        {"Yes", Range(1, 127), true},
        {"Yes", Range(2, 128), true},
        {"Yes", Range(1, 128), false}};
    for (const auto& [setting, filled, warned] : cases) {
        SCOPED_TRACE(std::string(setting) + " " + std::to_string(filled.size()));
        WriteSetting("CompatibilityWarnings", setting);
        FakeObserver observer;
        TCollection target(observer);
        Fill(target, filled);
        prompts.Clear();
        target.SaveCollectionFile(folder.File("a.G33"));
        EXPECT_EQ(prompts.Texts("message"), std::vector<std::string>(warned, warning));
    }
}

TEST_F(CollectionFiles, SinglePatchFilesForSlotsAndTemporaryPatch) {
    Fill(collection, {23});
    std::string file = folder.File("solo.P33");
    prompts.fileAnswers = {file, file, file, folder.File("empty.P33"), folder.File("no.P33")};
    collection.SavePatch(23);
    Bytes bytes = ReadWholeFile(file);
    ASSERT_EQ(bytes.size(), 140u);
    EXPECT_EQ(bytes[6], 2); // always addressed to the temporary patch
    EXPECT_FALSE(collection.Modified());
    collection.LoadPatch(5);
    EXPECT_EQ(Name(5), P(23));
    EXPECT_TRUE(collection.Modified());
    EXPECT_EQ(view.cells, std::vector<int>{5});
    ExpectSeen(view, collection, SightingKind::File, file, {5});

    collection.SetCollectionFile("", false);
    collection.LoadTempPatch();
    EXPECT_EQ(collection.TempPatch().GetName(), P(23));
    ExpectSeen(view, collection, SightingKind::File, file, {0});
    EXPECT_EQ(view.tempMenus, 1);
    EXPECT_EQ(FailureOf([&] { collection.SavePatch(6); }), "Patch (A22) is empty!");
    EXPECT_FALSE(FileExists(folder.File("empty.P33")));
    EXPECT_NE(FailureOf([&] { collection.LoadPatch(7); }), "");
    EXPECT_TRUE(collection.Slot(7).IsEmpty() && view.seen.empty());
    EXPECT_FALSE(collection.Modified()); // the temporary patch is not part of the collection
    EXPECT_EQ(view.busyDepth, 0);
    EXPECT_EQ(view.presets, (std::vector<std::string>{"", "", file, file, file}));
}

// A collection kept at a quit by signal goes to a new file each time, never over another.
TEST_F(CollectionFiles, RecoveredCollectionsGetFreshNamesAndLeaveTheCollectionAsItIs) {
    Fill(collection, {1, 128});
    collection.SetCollectionFile("mine.G33", true);
    std::string data = folder.File("data/KelvoLight");
    std::string first = SaveRecoveredCollection(collection, data, 1700000000);
    std::string second = SaveRecoveredCollection(collection, data, 1700000000);
    EXPECT_NE(first, second);
    EXPECT_EQ(first.substr(0, data.size() + 11), data + "/recovered-");
    ExpectSaved(first);
    ExpectSaved(second);
    EXPECT_EQ(collection.CollectionFile(), "mine.G33");
    EXPECT_TRUE(collection.Modified());

    // The next start learns where, once, even when the settings file was refused at start
    // (here a folder), and it still reads the setting an earlier version wrote.
    Settings().Start(data);
    RememberRecovered(data, second);
    Settings().End();
    Settings().Start(data);
    EXPECT_EQ(TakeRecovered(data), second);
    EXPECT_EQ(TakeRecovered(data), "");
    Settings().Start(folder.File("settings.ini"));
    WriteSetting(RecoveredFileSetting, first);
    EXPECT_EQ(TakeRecovered(data), first);
    EXPECT_EQ(ReadSetting(RecoveredFileSetting), "");
}

} // namespace
