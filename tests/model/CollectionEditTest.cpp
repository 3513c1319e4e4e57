// Cut, copy and pastes over all 128 slots; cell texts, titles, editor reloads, library shows.

#include "CollectionFixture.h"

#include <algorithm>

namespace {

using CollectionEdit = CollectionTest;
// Slots first..last hold P<n + offset>.
struct Slots {
    int first, last, offset = 0;
};
int Holds(const std::vector<Slots>& runs, int n) {
    for (const Slots& run : runs)
        if (n >= run.first && n <= run.last) return n + run.offset;
    return 0;
}

TEST_F(CollectionEdit, EditsMoveSlotsThroughTheTemporaryPatch) {
    const char* noPlace = "Unable to insert patch. No place!";
    const char* noTemp = "Patch (Temporary Patch) is empty!";
    struct Case {
        const char* what;
        std::vector<Slots> before;
        int temp;                                // the temporary patch holds P<temp>
        std::vector<std::pair<char, int>> steps; // cut, copy, paste-over, paste-insert of slot
        std::vector<Slots> after;
        int tempAfter;
        const char* error;
    };
    const std::vector<Case> cases = {
        {"cut", {{1, 5}}, 0, {{'x', 2}}, {{1, 1}, {2, 4, 1}}, 2, ""},
        {"cut in a full bank", {{1, 128}}, 0, {{'x', 100}}, {{1, 99}, {100, 127, 1}}, 100, ""},
        {"cut of the last slot", {{1, 128}}, 0, {{'x', 128}}, {{1, 127}}, 128, ""},
        {"cut of an empty slot", {{1, 1}}, 0, {{'x', 2}}, {{1, 1}}, 0, "Patch (A12) is empty!"},
        {"copy of an empty slot", {{1, 1}}, 0, {{'c', 128}}, {{1, 1}}, 0, "Patch (D84) is empty!"},
        {"copy alone", {{1, 1}}, 0, {{'c', 1}}, {{1, 1}}, 1, ""},
        {"copy, paste over twice",
         {{1, 1}, {7, 7}},
         0,
         {{'c', 1}, {'v', 7}, {'v', 128}},
         {{1, 1}, {7, 7, -6}, {128, 128, -127}},
         1,
         ""},
        {"insert", {{1, 3}, {5, 5}}, 9, {{'i', 1}}, {{1, 1, 8}, {2, 4, -1}, {5, 5}}, 9, ""},
        {"insert, empty slot", {{1, 2}}, 9, {{'i', 10}}, {{1, 2}, {10, 10, -1}}, 9, ""},
        {"insert, last free", {{1, 127}}, 200, {{'i', 1}}, {{1, 1, 199}, {2, 128, -1}}, 200, ""},
        {"insert, full bank", {{1, 128}}, 200, {{'i', 1}}, {{1, 128}}, 200, noPlace},
        {"insert, none after", {{128, 128}}, 200, {{'i', 128}}, {{128, 128}}, 200, noPlace},
        {"paste-over, empty temporary", {{1, 1}}, 0, {{'v', 1}}, {{1, 1}}, 0, noTemp},
        {"insert, empty temporary", {{1, 1}}, 0, {{'i', 2}}, {{1, 1}}, 0, noTemp},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        FakeObserver observer;
        TCollection target(observer);
        for (int n = 1; n <= PatchCount; ++n)
            if (int p = Holds(c.before, n)) target.Slot(n).SetBytes(NamedPatch(p), n);
        if (c.temp) target.TempPatch().SetBytes(NamedPatch(c.temp), 0);
        const std::string title = target.Title();
        EXPECT_EQ(FailureOf([&] {
                      for (auto [step, n] : c.steps)
                          step == 'x'   ? target.CutPatch(n)
                          : step == 'c' ? target.CopyPatch(n)
                          : step == 'v' ? target.PasteOver(n)
                                        : target.PasteInsert(n);
                  }),
                  c.error);
        bool changed = false;
        for (int n = 1; n <= PatchCount; ++n) {
            ASSERT_EQ(target.Slot(n).GetName(), P(Holds(c.after, n))) << "slot " << n;
            bool moved = Holds(c.after, n) != Holds(c.before, n);
            changed |= moved;
            EXPECT_TRUE(!moved || std::ranges::count(observer.cells, n)) << "slot " << n;
        }
        EXPECT_EQ(target.TempPatch().GetName(), P(c.tempAfter));
        EXPECT_EQ(observer.tempMenus > 0, c.tempAfter != c.temp);
        // An edit that changes a slot marks the collection; copying and refusals do not.
        EXPECT_EQ(target.Modified(), changed);
        EXPECT_EQ(target.Title() != title, changed);
    }
}

TEST_F(CollectionEdit, CellTextsAndTitles) {
    collection.Slot(9).SetBytes(NamedPatch(9), 9);
    collection.TempPatch().SetBytes(NamedPatch(20), 0);
    EXPECT_EQ(collection.CellText(9), "A31: P9          ");
    EXPECT_EQ(collection.CellText(128), "D84: Empty");
    EXPECT_EQ(collection.TempPatchCaption(), "Temporary Patch (P20)");
    const std::vector<std::tuple<std::string, bool, std::string>> titles = {
        {"", false, "KelvoLight 1.01 (Untitled)"},
        {"", true, "KelvoLight 1.01 (* Untitled)"},
        {"/home/user/banks/Bank1.G33", true, "KelvoLight 1.01 (* Bank1.G33)"},
        {"C:\\GR\\Bank2.G33", false, "KelvoLight 1.01 (Bank2.G33)"},
    };
    for (const auto& [file, modified, title] : titles) {
        collection.SetCollectionFile(file, modified);
        EXPECT_EQ(
            std::tuple(collection.Title(), collection.Modified(), collection.CollectionFile()),
            std::tuple(title, modified, file));
    }
    EXPECT_EQ(view.titles, 4);
}

// An editor stand-in that records the reloads it is asked for.
struct RecordingEditor : PatchEditorLink {
    std::vector<EditorReload> reloads;
    void LoadControls(EditorReload how) override { reloads.push_back(how); }
    void SetupEffectPage() override {}
};

TEST_F(CollectionEdit, EditorsOfRefilledSlotsAreAskedToReload) {
    Fill(collection, Range(1, 4));
    RecordingEditor onA13, onTemp;
    collection.Slot(3).Editor = &onA13;
    collection.TempPatch().Editor = &onTemp;
    collection.CutPatch(2);
    EXPECT_EQ(onA13.reloads, std::vector{EditorReload::AfterAsking});
    EXPECT_EQ(onTemp.reloads, std::vector{EditorReload::AfterAsking});
    collection.Slot(3).Editor = collection.TempPatch().Editor = nullptr;
}

// A whole bank put back (the undo's way) changes and reports only the slots that differ,
// up to the last one.
TEST_F(CollectionEdit, PutBackChangesOnlyTheSlotsThatDiffer) {
    Fill(collection, {1, 2});
    std::array<PatchBytes, PatchCount> patches;
    for (int n = 1; n <= PatchCount; ++n)
        patches[n - 1] = collection.Slot(n).Bytes();
    patches[1] = NamedPatch(5);
    patches[127] = NamedPatch(128);
    collection.PutBack(patches);
    EXPECT_EQ(view.cells, (std::vector<int>{2, 128}));
    EXPECT_EQ(std::pair(collection.Slot(2).Bytes(), collection.Slot(128).Bytes()),
              std::pair(NamedPatch(5), NamedPatch(128)));
}

// Patches shown from the library fill the slots as an unsaved collection, not reported again.
TEST_F(CollectionEdit, SlotsShownFromTheLibraryAreNotReportedAgain) {
    Fill(collection, Range(1, 128));
    collection.ShowSlots(std::vector<PatchBytes>{NamedPatch(7), NamedPatch(8)});
    for (int n = 1; n <= PatchCount; ++n)
        ASSERT_EQ(collection.Slot(n).Bytes(), n <= 2 ? NamedPatch(n + 6) : TPatch().Bytes()) << n;
    EXPECT_EQ(collection.Title(), "KelvoLight 1.01 (* Untitled)");
    EXPECT_TRUE(view.seen.empty());
}

} // namespace
