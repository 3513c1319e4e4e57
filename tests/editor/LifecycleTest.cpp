// Opening, reloading, storing and closing an editor, and what the librarian is told.

#include "EditorFixture.h"

#include "gr33/PatchNumber.h"
#include "tests/support/UserClose.h"

#include <gmock/gmock.h>

namespace {
int OpenEditors() {
    int count = 0;
    for (QWidget* w : QApplication::topLevelWidgets())
        count += qobject_cast<TFormEdit*>(w) && w->isVisible();
    return count;
}
} // namespace

TEST_F(EditorTest, OpensOnTheRecordWithItsLabelAndTheFirstPage) {
    TFormEdit& editor = Open(6);
    EXPECT_EQ(editor.windowTitle(), "Patch Editor (A22)");
    EXPECT_EQ(editor.size(), QSize(608, 350));
    // The tool bar's buttons stand edge to edge from the left, none of them clipped.
    QWidget* bar = Find(editor, "ToolBar1");
    EXPECT_EQ(bar->geometry(), QRect(0, 325, 608, 25));
    int left = 0;
    for (const char* name : {"ButtonReload", "ButtonSend", "ToolButton3", "ButtonCancel",
                             "ButtonOkStay", "ButtonOkClose"}) {
        QWidget* w = Find(editor, name);
        const int width = left == 234 ? 23 : 117;
        EXPECT_EQ(QRect(w->mapTo(bar, QPoint()), w->size()), QRect(left, 2, width, 21)) << name;
        EXPECT_EQ(w->visibleRegion(), QRegion(w->rect())) << name;
        left += width;
    }
    EXPECT_EQ(Find<QTabWidget>(editor, "PageControl1")->currentIndex(), 0);
    EXPECT_EQ(Slot(6).Editor, &editor);
    EXPECT_EQ(std::pair(editor.Column(), editor.Row()), std::pair(2, 2));
    EXPECT_EQ(std::pair(host.waitShows, host.waitOpen), std::pair(1, 0));
    EXPECT_TRUE(prompts.shown.empty());
}

TEST_F(EditorTest, EmptyRecordOpensNothingAndASecondEditBringsTheOpenWindowBack) {
    EXPECT_THROW(OpenEditor(host.temp, TempPatchNumber, host), EKelvoError);
    EXPECT_THAT([&] { OpenEditor(Slot(1), 1, host); },
                testing::ThrowsMessage<EKelvoError>(testing::StrEq("Patch (A11) is empty!")));
    EXPECT_EQ(Slot(1).Editor, nullptr);
    EXPECT_EQ(host.temp.Editor, nullptr);
    EXPECT_EQ(OpenEditors(), 0);
    EXPECT_EQ(host.waitShows, 0);

    TFormEdit& editor = Open(2);
    Type(editor, "frameOnepack1", 0, "7");
    OpenEditor(Slot(2), 2, host);
    EXPECT_EQ(EditorOf(Slot(2)), &editor);
    EXPECT_EQ(OpenEditors(), 1);
    EXPECT_EQ(Shown(editor, "frameOnepack1"), 7); // the unstored edit stays
    Slot(2).Clear();                              // the empty check still comes first
    EXPECT_THROW(OpenEditor(Slot(2), 2, host), EKelvoError);
}

TEST_F(EditorTest, ReloadYesShowsTheNewBytesAndNoKeepsTheValuesForTheNextOk) {
    PatchBytes incoming = DemoPatch(9);
    incoming[12] = 55;
    for (int number : {1, 2}) {
        TFormEdit& editor = Open(number);
        Type(editor, "frameOnepack1", 0, "7");
        prompts.confirmAnswers = {number == 1};
        Slot(number).SetBytes(incoming, number);
        EXPECT_EQ(Shown(editor, "frameOnepack1"), number == 1 ? 55 : 7);
        EXPECT_EQ(editor.Changed(), number == 2);
    }
    // A copy between slots goes through the temporary patch; each editor asks with its label.
    Fill(Slot(4), DemoPatch(4));
    Open(3);
    prompts.defaultYes = true;
    Slot(3).Assign(Slot(4));
    EXPECT_EQ(prompts.Texts("confirm"),
              (std::vector<std::string>{"Editor: Patch (A11) has changed! Reload ?",
                                        "Editor: Patch (A12) has changed! Reload ?",
                                        "Editor: Patch (A13) has changed! Reload ?"}));
    EXPECT_EQ(Find<QLineEdit>(*EditorOf(Slot(3)), "Edit1")->text().toStdString(),
              NameToText(std::span(Slot(4).Bytes()).first(NameSize)));
    Slot(3).Clear(); // the last slot of a cut is cleared, not refilled: no question
    EXPECT_EQ(prompts.Texts("confirm").size(), 3u);

    // The No editor writes its values over the new bytes, though the user touched nothing since.
    Click(*EditorOf(Slot(2)), "ButtonOkStay");
    PatchBytes kept = DemoPatch(2);
    kept[12] = 7;
    kept[65] = incoming[65], kept[77] = incoming[77]; // no control covers them
    EXPECT_EQ(Slot(2).Bytes(), kept);
    EXPECT_EQ(host.modifiedMarks, std::vector<bool>{true});
    EXPECT_EQ(host.updatedCells, (std::vector<std::pair<int, int>>{{2, 1}}));
}

TEST_F(EditorTest, OkMarksTheCollectionAfterAChangeAndAgainAfterThat) {
    for (int number : {1, 8}) { // load then store changes nothing
        Click(Open(number), "ButtonOkStay");
        EXPECT_EQ(Slot(number).Bytes(), DemoPatch(number)) << number;
    }
    EXPECT_TRUE(host.modifiedMarks.empty());
    TFormEdit& editor = Open(5);
    Type(editor, "frameOnepack1", 0, "99");
    Click(editor, "ButtonOkStay");
    EXPECT_EQ(Slot(5).Data()[12], 99);
    EXPECT_TRUE(editor.Changed());
    Click(editor, "ButtonOkStay"); // Changed stays: marked again
    EXPECT_EQ(host.modifiedMarks, (std::vector<bool>{true, true}));
    EXPECT_EQ(host.collectionFile, "Bank.G33");
    EXPECT_EQ(host.updatedCells, (std::vector<std::pair<int, int>>{{1, 2}, {1, 2}}));
    EXPECT_EQ(host.waitOpen, 0);
    // Reset loads the record and clears Changed; the next Ok is quiet again.
    Type(editor, "frameOnepack1", 0, "3");
    Click(editor, "ButtonReload");
    EXPECT_EQ(Shown(editor, "frameOnepack1"), 99);
    EXPECT_FALSE(editor.Changed());
    Click(editor, "ButtonOkStay");
    EXPECT_EQ(host.modifiedMarks.size(), 2u);

    // On the temporary patch Ok refreshes its menu instead of a cell.
    TFormEdit& temp = Open(host.temp, TempPatchNumber, 3, [](PatchBytes&) {});
    EXPECT_EQ(temp.windowTitle(), "Patch Editor (Temporary Patch)");
    Type(temp, "frameOnepack1", 0, "1");
    Click(temp, "ButtonOkClose");
    EXPECT_EQ(host.temp.Data()[12], 1);
    EXPECT_EQ(host.tempMenuNames.size(), 1u);
    EXPECT_EQ(host.updatedCells.size(), 2u);
    EXPECT_EQ(host.temp.Editor, nullptr);
}

TEST_F(EditorTest, CancelCloseBoxAndOwnerStoreNothing) {
    for (const std::string how : {"cancel", "close box", "owner"}) {
        TFormEdit& editor = Open(4);
        Type(editor, "frameOnepack1", 0, "1");
        if (how == "cancel") Click(editor, "ButtonCancel");
        if (how == "close box") CloseAsTheUser(editor);
        if (how == "owner") CloseEditor(Slot(4));
        EXPECT_EQ(Slot(4).Editor, nullptr) << how;
        EXPECT_EQ(Slot(4).Bytes(), DemoPatch(4)) << how;
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    EXPECT_TRUE(prompts.shown.empty());
    EXPECT_TRUE(host.modifiedMarks.empty());
    // The next Edit builds a fresh window loaded from the record.
    EXPECT_EQ(Shown(Open(4), "frameOnepack1"), DemoPatch(4)[12]);
}
