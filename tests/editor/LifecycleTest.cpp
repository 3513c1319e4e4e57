// Opening, reloading, storing and closing an editor, and what the librarian is told.

#include "EditorFixture.h"

#include "gr33/PatchNumber.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>

namespace {
int OpenEditors() {
    int count = 0;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (qobject_cast<TFormEdit*>(w) && w->isVisible()) ++count;
    return count;
}

QSpinBox* Level(TFormEdit& editor) {
    return editor.findChild<QWidget*>("frameOnepack1")->findChild<QSpinBox*>("Edit1");
}

void Click(TFormEdit& editor, const char* button) {
    editor.findChild<QPushButton*>(button)->click();
}
} // namespace

TEST_F(EditorTest, OpensOnTheRecordWithItsLabelAndTheFirstPage) {
    TFormEdit& editor = Open(6);
    EXPECT_EQ(editor.windowTitle(), "Patch Editor (A22)");
    EXPECT_EQ(editor.size(), QSize(608, 350));
    // The tool bar's buttons stand edge to edge from the left, none of them clipped.
    QWidget* bar = Find<QWidget>(editor, "ToolBar1");
    EXPECT_EQ(bar->geometry(), QRect(0, 325, 608, 25));
    int left = 0;
    for (const char* name : {"ButtonReload", "ButtonSend", "ToolButton3", "ButtonCancel",
                             "ButtonOkStay", "ButtonOkClose"}) {
        QWidget* w = Find<QWidget>(editor, name);
        const QRect place(w->mapTo(bar, QPoint()), w->size());
        left += place.width();
        EXPECT_EQ(place,
                  QRect(left - place.width(), 2, std::string(name) == "ToolButton3" ? 23 : 117, 21))
            << name;
        EXPECT_EQ(w->visibleRegion(), QRegion(w->rect())) << name;
    }
    EXPECT_EQ(editor.findChild<QTabWidget*>("PageControl1")->currentIndex(), 0);
    EXPECT_EQ(Slot(6).Editor, &editor);
    EXPECT_EQ(editor.Column(), 2);
    EXPECT_EQ(editor.Row(), 2);
    EXPECT_FALSE(editor.Changed());
    EXPECT_EQ(host.waitShown, (std::vector<bool>{true, false}));
    EXPECT_TRUE(prompts.shown.empty());
}

TEST_F(EditorTest, EmptyRecordOpensNothing) {
    try {
        OpenEditor(Slot(1), 1, host);
        FAIL() << "an empty slot opened";
    } catch (const EKelvoError& e) {
        EXPECT_STREQ(e.what(), "Patch (A11) is empty!");
    }
    EXPECT_THROW(OpenEditor(host.temp, TempPatchNumber, host), EKelvoError);
    EXPECT_EQ(Slot(1).Editor, nullptr);
    EXPECT_EQ(host.temp.Editor, nullptr);
    EXPECT_EQ(OpenEditors(), 0);
    EXPECT_TRUE(host.waitShown.empty());
}

TEST_F(EditorTest, SecondEditBringsTheOpenWindowBackWithoutReload) {
    TFormEdit& editor = Open(2);
    Level(editor)->setValue(7);
    const int before = OpenEditors();
    OpenEditor(Slot(2), 2, host);
    EXPECT_EQ(EditorOf(Slot(2)), &editor);
    EXPECT_EQ(OpenEditors(), before);
    EXPECT_EQ(Level(editor)->value(), 7); // the unstored edit stays

    // The empty check still comes first.
    Slot(2).Clear();
    EXPECT_THROW(OpenEditor(Slot(2), 2, host), EKelvoError);
}

TEST_F(EditorTest, ReloadYesShowsTheNewBytes) {
    TFormEdit& editor = Open(1);
    Level(editor)->setValue(7);
    prompts.confirmAnswers = {true};
    PatchBytes incoming = DemoPatch(9);
    incoming[12] = 55;
    Slot(1).SetBytes(incoming, 1);
    EXPECT_EQ(prompts.Texts("confirm"),
              std::vector<std::string>{"Editor: Patch (A11) has changed! Reload ?"});
    EXPECT_EQ(Level(editor)->value(), 55);
    EXPECT_FALSE(editor.Changed());
}

TEST_F(EditorTest, ReloadNoKeepsTheValuesAndTheNextOkWritesThem) {
    TFormEdit& editor = Open(1);
    prompts.confirmAnswers = {false};
    PatchBytes incoming = DemoPatch(9);
    Slot(1).SetBytes(incoming, 1);
    EXPECT_TRUE(editor.Changed());
    EXPECT_EQ(Slot(1).Bytes(), incoming);

    Click(editor, "ButtonOkStay"); // nothing touched by the user
    EXPECT_EQ(Slot(1).Bytes(), DemoPatch(1));
    EXPECT_EQ(host.modifiedMarks, std::vector<bool>{true});
    EXPECT_EQ(host.updatedCells, (std::vector<std::pair<int, int>>{{1, 1}}));
}

TEST_F(EditorTest, CopyBetweenSlotsAsksWithTheEditorsOwnLabel) {
    // A cut refills slot after slot; each open editor asks with its own label.
    Open(2);
    Open(3);
    Fill(Slot(4), DemoPatch(4));
    prompts.defaultYes = true;
    Slot(2).Assign(Slot(3));
    Slot(3).Assign(Slot(4));
    EXPECT_EQ(prompts.Texts("confirm"),
              (std::vector<std::string>{"Editor: Patch (A12) has changed! Reload ?",
                                        "Editor: Patch (A13) has changed! Reload ?"}));
    const PatchBytes fourth = DemoPatch(4);
    EXPECT_EQ(Find<QLineEdit>(*EditorOf(Slot(3)), "Edit1")->text().toStdString(),
              NameToText(std::span(fourth).first(NameSize)));
}

TEST_F(EditorTest, ClearingARecordAsksNothing) {
    // The last slot of a cut is cleared, not refilled.
    TFormEdit& editor = Open(8);
    Slot(8).Clear();
    EXPECT_TRUE(prompts.shown.empty());
    EXPECT_FALSE(editor.Changed());
}

TEST_F(EditorTest, OkMarksTheCollectionAfterAChangeAndAgainAfterThat) {
    TFormEdit& editor = Open(5);
    Click(editor, "ButtonOkStay"); // nothing changed: record and title alone
    EXPECT_EQ(Slot(5).Bytes(), DemoPatch(5));
    EXPECT_TRUE(host.modifiedMarks.empty());
    EXPECT_TRUE(host.WaitBalanced());
    Level(editor)->setValue(99);
    Click(editor, "ButtonOkStay");
    EXPECT_EQ(Slot(5).Data()[12], 99);
    EXPECT_TRUE(editor.Changed());
    Click(editor, "ButtonOkStay");
    EXPECT_EQ(host.modifiedMarks, (std::vector<bool>{true, true}));
    EXPECT_EQ(host.collectionFile, "Bank.G33");
    EXPECT_EQ(host.updatedCells, (std::vector<std::pair<int, int>>{{1, 2}, {1, 2}}));

    // Reset loads the record and clears Changed; the next Ok is quiet again.
    Click(editor, "ButtonReload");
    EXPECT_FALSE(editor.Changed());
    Click(editor, "ButtonOkStay");
    EXPECT_EQ(host.modifiedMarks.size(), 2u);
}

TEST_F(EditorTest, OkOnTheTemporaryPatchRefreshesItsMenu) {
    Fill(host.temp, DemoPatch(3));
    OpenEditor(host.temp, TempPatchNumber, host);
    TFormEdit& editor = *EditorOf(host.temp);
    EXPECT_EQ(editor.windowTitle(), "Patch Editor (Temporary Patch)");
    Level(editor)->setValue(1);
    Click(editor, "ButtonOkClose");
    EXPECT_EQ(host.temp.Data()[12], 1);
    EXPECT_EQ(host.tempMenuUpdates, 1);
    EXPECT_TRUE(host.updatedCells.empty());
    EXPECT_EQ(host.modifiedMarks, std::vector<bool>{true});
    EXPECT_EQ(host.temp.Editor, nullptr);
}

TEST_F(EditorTest, CancelAndCloseBoxStoreNothing) {
    for (const char* how : {"cancel", "close box", "owner"}) {
        TFormEdit& editor = Open(4);
        Level(editor)->setValue(1);
        if (std::string(how) == "cancel")
            Click(editor, "ButtonCancel");
        else if (std::string(how) == "close box")
            editor.close();
        else
            CloseEditor(Slot(4));
        EXPECT_EQ(Slot(4).Editor, nullptr) << how;
        EXPECT_EQ(Slot(4).Bytes(), DemoPatch(4)) << how;
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    EXPECT_TRUE(prompts.shown.empty());
    EXPECT_TRUE(host.modifiedMarks.empty());

    // The next Edit builds a fresh window loaded from the record.
    TFormEdit& fresh = Open(4);
    EXPECT_EQ(Level(fresh)->value(), DemoPatch(4)[12]);
}
