// Cut, copy and the two pastes through the temporary patch; title and modified mark.

#include "FakeView.h"
#include "base/RecordingDialogs.h"
#include "model/Collection.h"

#include <gtest/gtest.h>

namespace {

class CollectionEdit : public ::testing::Test {
protected:
    // Slots 1..count hold patches P1..Pcount.
    void Fill(int count) {
        for (int n = 1; n <= count; ++n)
            collection.Slot(n).SetBytes(NamedPatch("P" + std::to_string(n)), n);
    }
    std::string Name(int number) { return collection.Slot(number).GetName(); }
    std::string TempName() { return collection.TempPatch().GetName(); }

    RecordingDialogs prompts;
    ScopedPrompts guard{prompts};
    FakeView view;
    TCollection collection{view};
};

// An editor stand-in that records the reload questions it is asked.
struct RecordingEditor : PatchEditorLink {
    std::vector<std::string> questions;
    void LoadControls(const std::string& question) override { questions.push_back(question); }
    void SetupEffectPage() override {}
};

TEST_F(CollectionEdit, CellTextKeepsTrailingBlanksAndTitleNamesTheFile) {
    collection.Slot(9).SetBytes(NamedPatch("Lead"), 9);
    EXPECT_EQ(collection.CellText(9), "A31: Lead        ");
    collection.SetCollectionFile("/home/user/banks/Bank1.G33", true);
    EXPECT_EQ(collection.Title(), "KelvoLight 1.01 (* Bank1.G33)");
    collection.SetCollectionFile("C:\\GR\\Bank2.G33", false);
    EXPECT_EQ(collection.Title(), "KelvoLight 1.01 (Bank2.G33)");
}

TEST_F(CollectionEdit, CutClosesTheGapAndEmptiesTheLastSlot) {
    Fill(5);
    collection.CutPatch(2);
    EXPECT_EQ(TempName(), "P2          ");
    EXPECT_EQ(Name(1), "P1          ");
    EXPECT_EQ(Name(2), "P3          ");
    EXPECT_EQ(Name(4), "P5          ");
    EXPECT_TRUE(collection.Slot(5).IsEmpty());
    EXPECT_TRUE(collection.Slot(128).IsEmpty());
    EXPECT_TRUE(collection.Modified());
    EXPECT_EQ(collection.Title(), "KelvoLight 1.01 (* Untitled)");
    EXPECT_EQ(view.tempMenus, 1);
    // Every slot from the cut one to the end was rewritten.
    EXPECT_EQ(view.cells.size(), 127u);
    EXPECT_EQ(view.cells.back(), 128);
}

TEST_F(CollectionEdit, CutInAFullCollectionShiftsEverySlot) {
    Fill(128);
    collection.CutPatch(100);
    EXPECT_EQ(Name(99), "P99         ");
    EXPECT_EQ(Name(100), "P101        ");
    EXPECT_EQ(Name(127), "P128        ");
    EXPECT_TRUE(collection.Slot(128).IsEmpty());

    collection.Slot(128).SetBytes(NamedPatch("Last"), 128);
    collection.CutPatch(128); // the last slot: only copied and cleared
    EXPECT_EQ(TempName(), "Last        ");
    EXPECT_EQ(Name(127), "P128        ");
    EXPECT_TRUE(collection.Slot(128).IsEmpty());
}

TEST_F(CollectionEdit, CutOrCopyOfAnEmptySlotChangesNothing) {
    Fill(1);
    EXPECT_THROW(
        {
            try {
                collection.CutPatch(2);
            } catch (const EKelvoError& e) {
                EXPECT_STREQ(e.what(), "Patch (A12) is empty!");
                throw;
            }
        },
        EKelvoError);
    EXPECT_THROW(collection.CopyPatch(2), EKelvoError);
    EXPECT_EQ(Name(1), "P1          ");
    EXPECT_TRUE(collection.TempPatch().IsEmpty());
    EXPECT_FALSE(collection.Modified());
    EXPECT_EQ(view.tempMenus, 0);
}

TEST_F(CollectionEdit, CopyThenPasteOverTwice) {
    Fill(1);
    collection.Slot(1).SetBytes(NamedPatch("  Lead"), 1);
    collection.CopyPatch(1);
    EXPECT_FALSE(collection.Modified()); // copying leaves the collection as it was
    EXPECT_EQ(collection.TempPatchCaption(), "Temporary Patch (Lead)");

    collection.PasteOver(7);
    collection.PasteOver(20);
    EXPECT_EQ(collection.Slot(7).Bytes(), collection.Slot(1).Bytes());
    EXPECT_EQ(collection.Slot(20).Bytes(), collection.Slot(1).Bytes());
    EXPECT_EQ(collection.TempPatch().Bytes(), collection.Slot(1).Bytes());
    EXPECT_TRUE(collection.Modified());
}

TEST_F(CollectionEdit, PasteInsertMovesUpToTheFirstEmptySlot) {
    Fill(3);
    collection.Slot(5).SetBytes(NamedPatch("Keep"), 5);
    collection.TempPatch().SetBytes(NamedPatch("New"), 0);
    collection.PasteInsert(1);
    EXPECT_EQ(Name(1), "New         ");
    EXPECT_EQ(Name(2), "P1          ");
    EXPECT_EQ(Name(4), "P3          ");
    EXPECT_EQ(Name(5), "Keep        ");
    EXPECT_TRUE(collection.Slot(6).IsEmpty());
    EXPECT_TRUE(collection.Modified());

    collection.PasteInsert(10); // an empty slot is simply filled
    EXPECT_EQ(Name(10), "New         ");
    EXPECT_TRUE(collection.Slot(11).IsEmpty());
}

TEST_F(CollectionEdit, PasteInsertWithoutPlaceAfterTheSelectionChangesNothing) {
    collection.Slot(128).SetBytes(NamedPatch("Last"), 128);
    collection.TempPatch().SetBytes(NamedPatch("New"), 0);
    try {
        collection.PasteInsert(128);
        FAIL() << "no place expected";
    } catch (const EKelvoError& e) {
        EXPECT_STREQ(e.what(), "Unable to insert patch. No place!");
    }
    EXPECT_EQ(Name(128), "Last        ");
    EXPECT_TRUE(collection.Slot(127).IsEmpty());
    EXPECT_FALSE(collection.Modified());
}

TEST_F(CollectionEdit, PasteFromAnEmptyTemporaryPatchIsRefused) {
    Fill(2);
    for (auto paste : {&TCollection::PasteOver, &TCollection::PasteInsert}) {
        try {
            (collection.*paste)(1);
            FAIL() << "empty temporary patch accepted";
        } catch (const EKelvoError& e) {
            EXPECT_STREQ(e.what(), "Patch (Temporary Patch) is empty!");
        }
    }
    EXPECT_EQ(Name(1), "P1          ");
    EXPECT_FALSE(collection.Modified());
}

TEST_F(CollectionEdit, EditorsAreAskedWithTheirOwnSlotsLabel) {
    Fill(4);
    RecordingEditor onA13, onTemp;
    collection.Slot(3).Editor = &onA13;
    collection.TempPatch().Editor = &onTemp;
    collection.CutPatch(2);
    ASSERT_EQ(onA13.questions.size(), 1u);
    EXPECT_EQ(onA13.questions[0], "Editor: Patch (A13) has changed! Reload");
    ASSERT_EQ(onTemp.questions.size(), 1u);
    EXPECT_EQ(onTemp.questions[0], "Editor: Patch (Temporary Patch) has changed! Reload");
    collection.Slot(3).Editor = nullptr;
    collection.TempPatch().Editor = nullptr;
}

} // namespace
