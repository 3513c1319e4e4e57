// Load and store of the Common, Tone and Effects pages through the shown controls: every
// coding against the bytes, the name field, the per-string frames, focus, wheel and lists.

#include "EditorFixture.h"

#include "editor/SixCheck.h"

#include <QCheckBox>
#include <QWheelEvent>

TEST_F(EditorTest, EachCodingLoadsAndStoresItsBytes) {
    TFormEdit& editor = Open(1, [](PatchBytes& b) {
        b[15] = 64;                 // Pan 0
        b[78] = 0x05, b[79] = 0x02; // 2nd Select: position 261
        for (int i = 90; i <= 95; ++i)
            b[i] = static_cast<std::uint8_t>(i - 90); // the layers of strings 1..6
        b[29] = 5, b[30] = 0;                         // PC On of strings 1, 2
    });
    auto* top = Find<QComboBox>(editor, "ComboBox13");    // String #6/E
    auto* lowest = Find<QComboBox>(editor, "ComboBox18"); // String #1/E
    EXPECT_EQ(Shown(editor, "frameOnepack2"), 0);
    EXPECT_EQ(Find<QComboBox>(editor, "ComboBox12")->currentText(), "262 WireString");
    EXPECT_EQ(std::pair(top->currentIndex(), lowest->currentIndex()), std::pair(5, 0));
    EXPECT_LT(top->y(), lowest->y());
    auto* checks = Find<TFrameSixCheck>(editor, "FrameSixCheck1");
    EXPECT_TRUE(checks->Checked(1)); // a flag byte other than 0 shows as on
    EXPECT_FALSE(checks->Checked(2));

    Type(editor, "frameOnepack2", 0, "-50");
    Type(editor, "FrameSixpack1", 1, "1");
    Type(editor, "FrameSixpack1", 6, "128");
    QTest::mouseClick(checks->Box(2), Qt::LeftButton);
    Type(editor, "FrameOnepack29", 0, "250");
    Pick(editor, "ComboBox2", "261 Analog Gtr");
    Pick(editor, "ComboBox18", Entry(editor, "ComboBox18", 3));
    Pick(editor, "ComboBox13", Entry(editor, "ComboBox13", 1));
    Click(editor, "ButtonOkStay");
    ExpectBytes(Slot(1), {{15, 14}, {66, 4}, {67, 2}, {125, 122}, {126, 1}});       // single values
    ExpectBytes(Slot(1), {{23, 0}, {28, 127}, {90, 3}, {95, 1}, {29, 1}, {30, 1}}); // per string
}

TEST_F(EditorTest, BytesNoControlsShowAreValuesTheControlsSettle) {
    TFormEdit& editor = Open(1, [](PatchBytes& b) {
        b[13] = 200;          // Play Feel beyond its 16 entries
        b[78] = 0, b[79] = 3; // tone pair 384: beyond the list
        b[12] = 120;          // Patch Level above 100
        b[15] = 0;            // Pan -64, below -50
        b[65] = 9, b[77] = 9;
    });
    EXPECT_EQ(Find<QComboBox>(editor, "ComboBox1")->currentIndex(), -1);
    EXPECT_EQ(Find<QComboBox>(editor, "ComboBox12")->currentIndex(), -1);
    EXPECT_EQ(Shown(editor, "frameOnepack1"), 100);
    EXPECT_EQ(Shown(editor, "frameOnepack2"), -50);
    Click(editor, "ButtonOkStay");
    // No selection leaves its bytes alone; no control covers 65 and 77.
    ExpectBytes(Slot(1), {{13, 200}, {78, 0}, {79, 3}, {12, 100}, {15, 14}, {65, 9}, {77, 9}});
    // A list alone showing no selection does not raise the flag.
    Click(Open(2, [](PatchBytes& b) { b[14] = 99; }), "ButtonOkStay");
    EXPECT_EQ(host.modifiedMarks.size(), 1u);
}

TEST_F(EditorTest, NameFieldAlwaysHoldsTwelveCharacters) {
    TFormEdit& editor = Open(1);
    auto* name = Find<QLineEdit>(editor, "Edit1");
    QTest::mouseClick(name, Qt::LeftButton);
    QTest::keyClick(name, Qt::Key_A, Qt::ControlModifier);
    TypeText(name, QString::fromUtf8("A\u00A5\u00AB\u00BB"));
    EXPECT_EQ(name->text(), QString::fromUtf8("A\u00A5\u00AB\u00BB        "));
    Click(editor, "ButtonOkStay");
    const std::uint8_t stored[] = {'A', 0x5C, 0x7F, 0x7E, 0x20};
    EXPECT_TRUE(std::equal(std::begin(stored), std::end(stored), Slot(1).Data()));

    // Typing in the middle pushes the last character out; the caret stays after the key. A
    // character the name cannot hold vanishes; a 13th at the end is dropped; deleting pulls a
    // blank in at the right.
    QTest::keyClick(name, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(name, "ABCDEFGHIJKL");
    const struct {
        Qt::Key key;
        const char* text;
        int caret;
    } steps[] = {{Qt::Key_Home, "ABCDEFGHIJKL", 0},   {Qt::Key_Right, "ABCDEFGHIJKL", 1},
                 {Qt::Key_Right, "ABCDEFGHIJKL", 2},  {Qt::Key_X, "ABxCDEFGHIJK", 3},
                 {Qt::Key_Eacute, "ABxCDEFGHIJK", 4}, {Qt::Key_End, "ABxCDEFGHIJK", 12},
                 {Qt::Key_Z, "ABxCDEFGHIJK", 12},     {Qt::Key_Home, "ABxCDEFGHIJK", 0},
                 {Qt::Key_Delete, "BxCDEFGHIJK ", 0}};
    for (const auto& s : steps) {
        if (s.key == Qt::Key_Eacute)
            TypeText(name, QString::fromUtf8("\u00E9"));
        else
            QTest::keyClick(name, s.key);
        EXPECT_EQ(name->text(), s.text) << s.key;
        EXPECT_EQ(name->cursorPosition(), s.caret) << s.key;
    }
}

TEST_F(EditorTest, StringFramesRunFromStringOneAtTheRightAndArrowsWrap) {
    TFormEdit& editor =
        Open(1, [](PatchBytes& b) { b[15] = 114, b[125] = 122, b[126] = 1, b[23] = 0; });
    auto* checks = Find<TFrameSixCheck>(editor, "FrameSixCheck1");
    for (int k = 1; k < 6; ++k) {
        EXPECT_EQ(Field(editor, "FrameSixpack1", k)->x() -
                      Field(editor, "FrameSixpack1", k + 1)->x(),
                  47);
        EXPECT_EQ(checks->Box(k)->x(), Field(editor, "FrameSixpack1", k)->x() + 12) << k;
    }
    // Tab runs from string 1 to string 6.
    QTest::mouseClick(Field(editor, "FrameSixpack1", 1)->findChild<QLineEdit*>(), Qt::LeftButton);
    for (int k = 2; k <= 6; ++k) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        EXPECT_EQ(QApplication::focusWidget(), Field(editor, "FrameSixpack1", k)) << k;
    }
    // Arrows wrap at the ends of the range; the other strings keep their values.
    const struct {
        const char* frame;
        int string;
        Qt::Key key;
        int shown;
    } arrows[] = {{"frameOnepack2", 0, Qt::Key_Up, -50},
                  {"frameOnepack2", 0, Qt::Key_Down, 50},
                  {"FrameOnepack29", 0, Qt::Key_Up, 50},
                  {"FrameSixpack1", 1, Qt::Key_Down, 128}};
    for (const auto& a : arrows) {
        ShowPageOf(Field(editor, a.frame, a.string));
        QTest::mouseClick(Field(editor, a.frame, a.string)->findChild<QLineEdit*>(),
                          Qt::LeftButton);
        QTest::keyClick(QApplication::focusWidget(), a.key);
        EXPECT_EQ(Shown(editor, a.frame, a.string), a.shown) << a.frame;
    }
    EXPECT_EQ(Shown(editor, "FrameSixpack1", 2), DemoPatch(1)[24] + 1);
}

TEST_F(EditorTest, WheelTurnsOnlyTheFocusedControl) {
    // One notch down over the control, as the window system sends it to the widget under the
    // mouse: at the right end, over a spin box's arrows.
    auto wheelDown = [](QWidget* control) {
        const QPoint at(control->width() - 4, control->height() / 2);
        ASSERT_EQ(control->childAt(at), nullptr);
        QWheelEvent wheel(at, control->mapToGlobal(at), {}, {0, -120}, Qt::NoButton, Qt::NoModifier,
                          Qt::NoScrollPhase, false);
        QSpontaneKeyEvent::setSpontaneous(&wheel);
        QApplication::sendEvent(control, &wheel);
    };
    TFormEdit& editor = Open(1, [](PatchBytes& b) { b[23] = 0, b[107] = 1, b[108] = 10; });
    QSpinBox* program = Field(editor, "FrameSixpack1", 1);
    auto* type = Find<QComboBox>(editor, "ComboBox3");
    wheelDown(program);
    ShowPageOf(type);
    wheelDown(type);
    EXPECT_EQ(program->value(), 1);
    EXPECT_EQ(type->currentIndex(), 1);
    EXPECT_EQ(Bar(editor, 1)->Value(), 10);
    // The field the user clicked into follows the wheel.
    ShowPageOf(program);
    QTest::mouseClick(program->findChild<QLineEdit*>(), Qt::LeftButton);
    wheelDown(program);
    EXPECT_EQ(program->value(), 128);
}

TEST_F(EditorTest, OpenedListShowsItsNumberOfEntries) {
    TFormEdit& editor = Open(1);
    // Exp Pedal has 81 entries, Chromatic all of its 4, 1st Select 384.
    const std::pair<const char*, int> cases[] = {
        {"ComboBox11", 8}, {"ComboBox5", 4}, {"ComboBox2", 12}, {"ComboBox3", 8}};
    for (auto [name, rows] : cases) {
        auto* list = Find<QComboBox>(editor, name);
        ShowPageOf(list);
        QTest::mouseClick(list, Qt::LeftButton);
        QAbstractItemView* view = list->view();
        ASSERT_TRUE(view->isVisible());
        int shown = 0;
        for (int i = 0; i < list->count(); ++i)
            shown +=
                view->viewport()->rect().contains(view->visualRect(view->model()->index(i, 0)));
        EXPECT_EQ(shown, rows) << name;
        QTest::keyClick(view, Qt::Key_Escape);
    }
}
