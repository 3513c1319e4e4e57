// Editor undo: one step per gesture, Ctrl+Z back and Ctrl+Shift+Z forward, record kept till Ok.
#include "EditorFixture.h"

#include <QUndoStack>

TEST_F(EditorTest, CtrlZStepsBackThroughEachGestureAndCtrlShiftZForward) {
    TFormEdit& editor = Open(3, [](PatchBytes& b) { b[107] = 1; }); // overdrive
    const PatchBytes record = Slot(3).Bytes();
    auto shown = [&] {
        TPatch patch;
        editor.StoreShown(patch);
        return patch.Bytes();
    };
    const std::vector<std::function<void()>> gestures = {
        [&] {
            Type(editor, "frameOnepack1", 0, "42");
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        },
        [&] {
            TIBar* bar = Bar(editor, 1);
            ShowPageOf(bar);
            QTest::mousePress(bar, Qt::LeftButton, {}, QPoint(5, 6));
            for (int x : {60, 140, 230})
                QTest::mouseMove(bar, QPoint(x, 6));
            QTest::mouseRelease(bar, Qt::LeftButton, {}, QPoint(230, 6));
        },
        [&] { Pick(editor, "ComboBox3", "reverb"); },
    };
    std::vector<PatchBytes> states{shown()};
    for (const auto& gesture : gestures) {
        gesture();
        QCoreApplication::processEvents();
        states.push_back(shown());
        EXPECT_NE(states.back(), states[states.size() - 2]) << states.size();
    }
    // A whole drag, a typed value and a pick that resets the bars are one step each.
    EXPECT_EQ(editor.History().count(), 3);
    // The keys reach the editor from a list, a number field and the name field alike.
    ASSERT_EQ(QApplication::focusWidget(), Find(editor, "ComboBox3"));
    auto clickInto = [&](QWidget* field) {
        ShowPageOf(field);
        QTest::mouseClick(field, Qt::LeftButton);
    };
    auto press = [&](Qt::KeyboardModifiers modifiers, std::size_t state) {
        const bool redo = modifiers & Qt::ShiftModifier;
        if (state == (redo ? 2u : 1u)) clickInto(Find(editor, "Edit1"));
        if (state == 0) clickInto(Field(editor, "frameOnepack2")->findChild<QLineEdit*>());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Z, modifiers);
        QCoreApplication::processEvents();
        EXPECT_EQ(shown(), states[state]) << state;
        EXPECT_EQ(Slot(3).Bytes(), record) << state;
    };
    for (std::size_t state = states.size() - 1; state-- > 0;)
        press(Qt::ControlModifier, state);
    for (std::size_t state = 1; state < states.size(); ++state)
        press(Qt::ControlModifier | Qt::ShiftModifier, state);
    EXPECT_EQ(editor.History().count(), 3); // undo and redo record nothing
    Click(editor, "ButtonOkStay");
    TPatch stored;
    Fill(stored, Slot(3).Bytes());
    bool changed = false;
    editor.StoreControls(stored, changed);
    EXPECT_FALSE(changed);
    Click(editor, "ButtonReload");
    QCoreApplication::processEvents();
    EXPECT_EQ(editor.History().count(), 0);
}
