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
    QTest::mouseClick(editor.findChild<QPushButton*>(button), Qt::LeftButton);
}
} // namespace

TEST_F(EditorTest, OpensOnTheRecordWithItsLabelAndTheFirstPage) {
    TFormEdit& editor = Open(6);
    EXPECT_EQ(editor.windowTitle(), "Patch Editor (A22)");
    EXPECT_EQ(editor.size(), QSize(608, 350));
    // The tool bar's buttons stand edge to edge from the left, none of them clipped.
    QWidget* bar = Find<QWidget>(editor, "ToolBar1");
    EXPECT_EQ(bar->geometry(), QRect(0, 325, 608, 25));
    const std::pair<const char*, int> buttons[] = {{"ButtonReload", 0},   {"ButtonSend", 117},
                                                   {"ToolButton3", 234},  {"ButtonCancel", 257},
                                                   {"ButtonOkStay", 374}, {"ButtonOkClose", 491}};
    for (auto [name, left] : buttons) {
        QWidget* w = Find<QWidget>(editor, name);
        EXPECT_EQ(QRect(w->mapTo(bar, QPoint()), w->size()),
                  QRect(left, 2, left == 234 ? 23 : 117, 21))
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

TEST_F(EditorTest, ReloadYesShowsTheNewBytesAndNoKeepsTheValuesForTheNextOk) {
    PatchBytes incoming = DemoPatch(9);
    incoming[12] = 55;
    for (bool yes : {true, false}) {
        const int number = yes ? 1 : 2;
        TFormEdit& editor = Open(number);
        Level(editor)->setValue(7);
        prompts.confirmAnswers = {yes};
        Slot(number).SetBytes(incoming, number);
        EXPECT_EQ(prompts.Texts("confirm").back(),
                  yes ? "Editor: Patch (A11) has changed! Reload ?"
                      : "Editor: Patch (A12) has changed! Reload ?");
        EXPECT_EQ(Level(editor)->value(), yes ? 55 : 7);
        EXPECT_EQ(editor.Changed(), !yes);
    }
    // The No editor writes its values over the new bytes, though the user touched nothing since.
    Click(*EditorOf(Slot(2)), "ButtonOkStay");
    PatchBytes kept = DemoPatch(2);
    kept[12] = 7;
    kept[65] = incoming[65], kept[77] = incoming[77]; // no control covers them
    EXPECT_EQ(Slot(2).Bytes(), kept);
    EXPECT_EQ(host.modifiedMarks, std::vector<bool>{true});
    EXPECT_EQ(host.updatedCells, (std::vector<std::pair<int, int>>{{2, 1}}));
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
    // The last slot of a cut is cleared, not refilled: no question.
    Slot(3).Clear();
    EXPECT_EQ(prompts.Texts("confirm").size(), 2u);
    EXPECT_FALSE(EditorOf(Slot(3))->Changed());
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
