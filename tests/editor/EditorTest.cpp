// The patch editor window driven as the user does: opening, reloading, storing and closing it
// and what the librarian is told; load and store of every page through the shown controls; the
// Multi-FX Parameters page; undo; the sends to the simulated GR-33.

#include "EditorFixture.h"

namespace {
int OpenEditors() {
    int count = 0;
    for (QWidget* w : QApplication::topLevelWidgets())
        count += qobject_cast<TFormEdit*>(w) && w->isVisible();
    return count;
}
QLabel* Caption(TFormEdit& editor, int i) {
    return editor.findChild<QLabel*>("LabelP" + QString::number(i));
}
} // namespace

TEST_F(EditorTest, OpensOnTheRecordWithItsLabelAndTheFirstPage) {
    TFormEdit& editor = Open(6);
    EXPECT_EQ(std::pair(editor.windowTitle(), editor.size()),
              std::pair(QString("Patch Editor (A22)"), QSize(608, 350)));
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
    EXPECT_EQ(std::tuple(Find<QTabWidget>(editor, "PageControl1")->currentIndex(), Slot(6).Editor,
                         editor.Column(), editor.Row(), host.waitShows, host.waitOpen),
              std::tuple(0, &editor, 2, 2, 1, 0));
    EXPECT_TRUE(prompts.shown.empty());
}

TEST_F(EditorTest, EmptyRecordOpensNothingAndASecondEditBringsTheOpenWindowBack) {
    EXPECT_THROW(OpenEditor(host.temp, TempPatchNumber, host), EKelvoError);
    EXPECT_THAT([&] { OpenEditor(Slot(1), 1, host); },
                testing::ThrowsMessage<EKelvoError>(testing::StrEq("Patch (A11) is empty!")));
    EXPECT_EQ(std::tuple(Slot(1).Editor, host.temp.Editor, OpenEditors(), host.waitShows),
              std::tuple(nullptr, nullptr, 0, 0));
    TFormEdit& editor = Open(2);
    Type(editor, "frameOnepack1", 0, "7");
    OpenEditor(Slot(2), 2, host);
    // The unstored edit stays.
    EXPECT_EQ(std::tuple(EditorOf(Slot(2)), OpenEditors(), Shown(editor, "frameOnepack1")),
              std::tuple(&editor, 1, 7));
    Slot(2).Clear(); // the empty check still comes first
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
        EXPECT_EQ(std::pair(Shown(editor, "frameOnepack1"), editor.Changed()),
                  std::pair(number == 1 ? 55 : 7, number == 2));
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
    EXPECT_EQ(std::tuple(Slot(2).Bytes(), host.modifiedMarks, host.updatedCells),
              std::tuple(kept, std::vector<bool>{true}, std::vector<std::pair<int, int>>{{2, 1}}));
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
    EXPECT_EQ(std::pair(Slot(5).Data()[12], editor.Changed()), std::pair(std::uint8_t(99), true));
    Click(editor, "ButtonOkStay"); // Changed stays: marked again
    EXPECT_EQ(std::tuple(host.modifiedMarks, host.collectionFile, host.updatedCells, host.waitOpen),
              std::tuple(std::vector<bool>{true, true}, "Bank.G33",
                         std::vector<std::pair<int, int>>{{1, 2}, {1, 2}}, 0));
    // Reset loads the record and clears Changed; the next Ok is quiet again.
    Type(editor, "frameOnepack1", 0, "3");
    Click(editor, "ButtonReload");
    EXPECT_EQ(std::pair(Shown(editor, "frameOnepack1"), editor.Changed()), std::pair(99, false));
    Click(editor, "ButtonOkStay");
    EXPECT_EQ(host.modifiedMarks.size(), 2u);

    // On the temporary patch Ok refreshes its menu instead of a cell.
    TFormEdit& temp = Open(host.temp, TempPatchNumber, 3);
    EXPECT_EQ(temp.windowTitle(), "Patch Editor (Temporary Patch)");
    Type(temp, "frameOnepack1", 0, "1");
    Click(temp, "ButtonOkClose");
    EXPECT_EQ(std::tuple(host.temp.Data()[12], host.tempMenuNames.size(), host.updatedCells.size(),
                         host.temp.Editor),
              std::tuple(1, 1u, 2u, nullptr));
}

TEST_F(EditorTest, CancelCloseBoxAndOwnerStoreNothing) {
    for (const std::string how : {"cancel", "close box", "owner"}) {
        TFormEdit& editor = Open(4);
        Type(editor, "frameOnepack1", 0, "1");
        if (how == "cancel") Click(editor, "ButtonCancel");
        if (how == "close box") CloseAsTheUser(editor);
        if (how == "owner") CloseEditor(Slot(4));
        EXPECT_EQ(std::tuple(Slot(4).Editor, Slot(4).Bytes()), std::tuple(nullptr, DemoPatch(4)))
            << how;
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    EXPECT_EQ(prompts.shown.size() + host.modifiedMarks.size(), 0u);
    // The next Edit builds a fresh window loaded from the record.
    EXPECT_EQ(Shown(Open(4), "frameOnepack1"), DemoPatch(4)[12]);
}

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
    EXPECT_EQ(std::tuple(Shown(editor, "frameOnepack2"),
                         Find<QComboBox>(editor, "ComboBox12")->currentText(), top->currentIndex(),
                         lowest->currentIndex()),
              std::tuple(0, "262 WireString", 5, 0));
    EXPECT_LT(top->y(), lowest->y());
    auto* checks = Find<TFrameSixCheck>(editor, "FrameSixCheck1");
    // A flag byte other than 0 shows as on.
    EXPECT_EQ(std::pair(checks->Checked(1), checks->Checked(2)), std::pair(true, false));

    Type(editor, "frameOnepack2", 0, "-50");
    Type(editor, "FrameSixpack1", 1, "1");
    Type(editor, "FrameSixpack1", 6, "128");
    QTest::mouseClick(checks->Box(2), Qt::LeftButton);
    Type(editor, "FrameOnepack29", 0, "250");
    Pick(editor, "ComboBox2", "261 Analog Gtr");
    Pick(editor, "ComboBox18", lowest->itemText(3));
    Pick(editor, "ComboBox13", top->itemText(1));
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
    EXPECT_EQ(std::tuple(Find<QComboBox>(editor, "ComboBox1")->currentIndex(),
                         Find<QComboBox>(editor, "ComboBox12")->currentIndex(),
                         Shown(editor, "frameOnepack1"), Shown(editor, "frameOnepack2")),
              std::tuple(-1, -1, 100, -50));
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
    const std::tuple<Qt::Key, const char*, int> steps[] = {
        {Qt::Key_Home, "ABCDEFGHIJKL", 0},   {Qt::Key_Right, "ABCDEFGHIJKL", 1},
        {Qt::Key_Right, "ABCDEFGHIJKL", 2},  {Qt::Key_X, "ABxCDEFGHIJK", 3},
        {Qt::Key_Eacute, "ABxCDEFGHIJK", 4}, {Qt::Key_End, "ABxCDEFGHIJK", 12},
        {Qt::Key_Z, "ABxCDEFGHIJK", 12},     {Qt::Key_Home, "ABxCDEFGHIJK", 0},
        {Qt::Key_Delete, "BxCDEFGHIJK ", 0}};
    for (auto [key, text, caret] : steps) {
        if (key == Qt::Key_Eacute)
            TypeText(name, QString::fromUtf8("\u00E9"));
        else
            QTest::keyClick(name, key);
        EXPECT_EQ(std::pair(name->text(), name->cursorPosition()), std::pair(QString(text), caret))
            << key;
    }
}

TEST_F(EditorTest, StringFramesRunFromStringOneAtTheRightAndArrowsWrap) {
    TFormEdit& editor =
        Open(1, [](PatchBytes& b) { b[15] = 114, b[125] = 122, b[126] = 1, b[23] = 0; });
    auto* checks = Find<TFrameSixCheck>(editor, "FrameSixCheck1");
    for (int k = 1; k < 6; ++k) {
        const int x = Field(editor, "FrameSixpack1", k)->x();
        EXPECT_EQ(std::pair(x - Field(editor, "FrameSixpack1", k + 1)->x(), checks->Box(k)->x()),
                  std::pair(47, x + 12))
            << k;
    }
    // Tab runs from string 1 to string 6.
    ClickInto(Field(editor, "FrameSixpack1", 1));
    for (int k = 2; k <= 6; ++k) {
        KeyIntoFocus(Qt::Key_Tab);
        EXPECT_EQ(QApplication::focusWidget(), Field(editor, "FrameSixpack1", k)) << k;
    }
    // Arrows wrap at the ends of the range; the other strings keep their values.
    const std::tuple<const char*, int, Qt::Key, int> arrows[] = {
        {"frameOnepack2", 0, Qt::Key_Up, -50},
        {"frameOnepack2", 0, Qt::Key_Down, 50},
        {"FrameOnepack29", 0, Qt::Key_Up, 50},
        {"FrameSixpack1", 1, Qt::Key_Down, 128}};
    for (auto [frame, string, key, shown] : arrows) {
        ClickInto(Field(editor, frame, string));
        KeyIntoFocus(key);
        EXPECT_EQ(Shown(editor, frame, string), shown) << frame;
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
    EXPECT_EQ(std::tuple(program->value(), type->currentIndex(), Bar(editor, 1)->Value()),
              std::tuple(1, 1, 10.0f));
    // The field the user clicked into follows the wheel.
    ClickInto(program);
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

TEST_F(EditorTest, OverdriveLoadsSixBarsAndTheHeading) {
    static constexpr std::uint8_t expected[] = {10, 64, 2, 15, 15, 100};
    TFormEdit& editor = Open(1, [](PatchBytes& b) {
        b[106] = 1, b[107] = 1;
        std::copy(std::begin(expected), std::end(expected), b.begin() + 108);
    });
    for (int i = 1; i <= 12; ++i) {
        SCOPED_TRACE(i);
        TIBar* bar = Bar(editor, i);
        EXPECT_EQ(bar->geometry(), QRect(8, 24 + 23 * (i - 1), 417, 13));
        EXPECT_EQ(std::pair(bar->isEnabled(), bar->Value()),
                  std::pair(i <= 6, i <= 6 ? float(expected[i - 1]) : 0.0f));
        EXPECT_EQ(Caption(editor, i)->text() == "-" && bar->Max() == 0, i > 6);
    }
    EXPECT_EQ(std::pair(Caption(editor, 2)->text(), Bar(editor, 2)->Base()),
              std::pair(QString("Pan (L64..R63)"), 64.0f));
    auto* heading = Find<QLabel>(editor, "LabelFXType");
    EXPECT_EQ(heading->text(), "Effect: overdrive (Switch: " +
                                   Find<QComboBox>(editor, "ComboBox21")->currentText() + ")");
    // Changing the switch rewrites the heading only.
    Pick(editor, "ComboBox21", "Both");
    EXPECT_EQ(heading->text(), "Effect: overdrive (Switch: Both)");
    EXPECT_EQ(std::pair(Bar(editor, 1)->Value(), Bar(editor, 6)->Value()),
              std::pair(10.0f, 100.0f));
    // A caption that begins with "-" but is longer is a used slot.
    Pick(editor, "ComboBox3", "overdrive chorus");
    EXPECT_EQ(Caption(editor, 7)->toolTip(), "-CHO Balance (D110:0E..D0:100E)");
    EXPECT_EQ(std::tuple(Bar(editor, 7)->isEnabled(), Bar(editor, 7)->Max(),
                         Bar(editor, 7)->Value(), Bar(editor, 6)->isEnabled()),
              std::tuple(true, 100.0f, 50.0f, false));
}

TEST_F(EditorTest, ParameterOutsideItsSlotShowsAndStoresTheDefault) {
    TFormEdit& editor = Open(1, [](PatchBytes& b) {
        b[107] = 16;  // stereo-delay
        b[109] = 127; // slot 2, range 0..126
        b[110] = 5;   // slot 3
    });
    EXPECT_EQ(std::pair(Bar(editor, 2)->Value(), Bar(editor, 3)->Value()), std::pair(0.0f, 5.0f));
    ShowPageOf(Bar(editor, 3));
    QTest::mouseClick(Bar(editor, 3), Qt::LeftButton, {}, QPoint(200, 6));
    Click(editor, "ButtonReload");
    EXPECT_EQ(Bar(editor, 3)->Value(), 5);
    // A value typed beyond the range through the bar's own dialog stores the slot's default.
    prompts.inputAnswers = {"120", "-4"};
    QTest::mouseClick(Bar(editor, 6), Qt::LeftButton, Qt::AltModifier); // Feedback 0..98, base 49
    QTest::mouseClick(Bar(editor, 11), Qt::LeftButton, Qt::AltModifier);
    Click(editor, "ButtonOkStay");
    ExpectBytes(Slot(1), {{109, 0}, {110, 5}, {113, 49}, {118, 0}});
}

TEST_F(EditorTest, LongCaptionIsShortenedAndItsHintIsWhole) {
    TFormEdit& editor = Open(1, [](PatchBytes& b) { b[107] = 0; }); // stereo-eq
    const QString whole = "P1 Freq (200, 250, 315, 400, 500, 630, 800, 1000, 1250, 1600, 2000, "
                          "2500, 3150, 4000, 5000, 6300, 8000 Hz)";
    QLabel* caption = Caption(editor, 5);
    EXPECT_TRUE(caption->text().endsWith("..."));
    EXPECT_TRUE(whole.startsWith(caption->text().chopped(3)));
    EXPECT_EQ(std::pair(caption->toolTip(), Bar(editor, 5)->toolTip()), std::pair(whole, whole));
    const int fitted =
        caption->x() + caption->fontMetrics().horizontalAdvance(caption->text().chopped(3));
    EXPECT_LE(fitted, TFormEdit::PageWidth - 15);
    EXPECT_EQ(Caption(editor, 11)->text(), "* Level (0..127)");
}

TEST_F(EditorTest, TypeBeyondTheListClearsThePageAndKeepsTheBytes) {
    TFormEdit& editor = Open(1, [](PatchBytes& b) {
        b[107] = 40;
        for (int i = 108; i <= 119; ++i)
            b[i] = static_cast<std::uint8_t>(i - 100);
    });
    EXPECT_EQ(prompts.Texts("message"),
              std::vector<std::string>{"Implementation error in effects"});
    for (int i = 1; i <= 12; ++i)
        EXPECT_EQ(std::pair(Bar(editor, i)->isEnabled(), Bar(editor, i)->Value()),
                  std::pair(false, 0.0f))
            << i;
    EXPECT_EQ(Find<QComboBox>(editor, "ComboBox3")->currentIndex(), -1);
    Click(editor, "ButtonOkStay");
    EXPECT_TRUE(host.modifiedMarks.empty());
    // Shown again on every reset.
    Click(editor, "ButtonReload");
    EXPECT_EQ(prompts.Texts("message").size(), 2u);
}

// One step per gesture, Ctrl+Z back and Ctrl+Shift+Z forward, the record kept till Ok.
TEST_F(EditorTest, CtrlZStepsBackThroughEachGestureAndCtrlShiftZForward) {
    TFormEdit& editor = Open(3, [](PatchBytes& b) { b[107] = 1; }); // overdrive
    const PatchBytes record = Slot(3).Bytes();
    auto gestures = EditGestures(editor);
    gestures.pop_back(); // the name
    // A whole drag, a typed value and a pick that resets the bars are one step each.
    std::vector<PatchBytes> states{ShownBytes(editor)};
    for (const auto& gesture : gestures) {
        gesture();
        QCoreApplication::processEvents();
        states.push_back(ShownBytes(editor));
        EXPECT_NE(states.back(), states[states.size() - 2]) << states.size();
    }
    EXPECT_EQ(editor.History().count(), 3);
    // The keys reach the editor from a list, a number field and the name field alike.
    ASSERT_EQ(QApplication::focusWidget(), Find(editor, "ComboBox3"));
    auto press = [&](Qt::KeyboardModifiers modifiers, std::size_t state) {
        const bool redo = modifiers & Qt::ShiftModifier;
        if (state == (redo ? 2u : 1u)) ClickInto(Find(editor, "Edit1"));
        if (state == 0) ClickInto(Field(editor, "frameOnepack2"));
        KeyIntoFocus(Qt::Key_Z, modifiers);
        QCoreApplication::processEvents();
        EXPECT_EQ(ShownBytes(editor), states[state]) << state;
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

// "Send To GR:TMP": both ports are needed, the input asked for first, also without the identity
// test; with the test on, a device that does not answer it gets nothing, one that answers gets
// the patch.
TEST_F(EditorTest, PortsAndTheIdentityTestComeBeforeTheSend) {
    // The identity test on, the device silent, the input port, the error ("" when sent).
    const std::tuple<bool, bool, int, std::string> cases[] = {
        {false, false, 0, "No midi-in device found."},
        {true, false, 0, "No midi-in device found."},
        {true, true, 1, MessageText(DeviceNotFoundText)},
        {true, false, 1, ""}};
    for (const auto& [test, silent, in, error] : cases) {
        SCOPED_TRACE(error + (test ? " with the test" : ""));
        Install({.faults = silent ? std::vector{Fault{FaultKind::Silent, std::nullopt}}
                                  : std::vector<Fault>{}});
        host.testBeforeSend = test, host.midiIn = in;
        prompts.Clear(), host.portReads.clear(), log.clear();
        TFormEdit& editor = Open(2);
        Click(editor, "ButtonSend");
        EXPECT_EQ(std::tuple(QApplication::overrideCursor(), host.waitOpen),
                  std::tuple(nullptr, 0));
        EXPECT_EQ(prompts.Texts("error"),
                  error.empty() ? std::vector<std::string>{} : std::vector{error});
        EXPECT_EQ(prompts.shown.size(), error.empty() ? 0u : 1u) << prompts.Last();
        EXPECT_EQ(Stored(), error.empty() ? 1 : 0);
        Click(editor, "ButtonCancel");
    }
    EXPECT_EQ(Log(), (std::vector<std::string>{"identity request", "stored Temporary Patch"}));
    EXPECT_EQ(host.portReads, (std::vector<std::string>{"in", "out", "in", "out"}));
}

// Typed and not confirmed: the caret is still in the field when the button is clicked. Text
// that is no value of the range gives way to the last value. A send goes out with bytes 65 and
// 77 as 0 and leaves the record, Changed and the librarian alone.
TEST_F(EditorTest, ButtonsTakeTheNumberTypedIntoTheField) {
    Install();
    // The button, the field typed into (string 0: a single field), the keys, the byte and its
    // value as stored.
    const std::tuple<const char*, const char*, int, const char*, int, int> cases[] = {
        {"ButtonOkStay", "frameOnepack1", 0, "42", 12, 42},    // Patch Level
        {"ButtonOkClose", "FrameSixpack1", 6, "128", 28, 127}, // MIDI [PC] of string 6
        {"ButtonSend", "frameOnepack2", 0, "-7", 15, 57},      // Pan
        {"ButtonOkStay", "frameOnepack1", 0, "999", 12, 99},   // the third 9 is refused
        {"ButtonSend", "FrameOnepack29", 0, "7", 125, 122},    // Arp Tempo 50..250 keeps 250
    };
    int number = 0;
    for (auto [button, frame, string, keys, byte, stored] : cases) {
        SCOPED_TRACE(keys);
        TFormEdit& editor = Open(++number, [](PatchBytes& b) {
            b[12] = 100, b[15] = 64, b[28] = 0, b[65] = 7, b[77] = 9, b[125] = 122, b[126] = 1;
        });
        const PatchBytes opened = Slot(number).Bytes();
        Type(editor, frame, string, keys);
        Click(editor, button);
        EXPECT_TRUE(prompts.shown.empty()) << prompts.Last();
        PatchBytes expected = opened;
        expected[byte] = static_cast<std::uint8_t>(stored);
        if (std::string(button) != "ButtonSend") {
            EXPECT_EQ(Slot(number).Bytes(), expected);
            continue;
        }
        expected[65] = expected[77] = 0;
        EXPECT_EQ(DeviceTemp(), expected);
        EXPECT_EQ(Slot(number).Bytes(), opened);
        EXPECT_FALSE(editor.Changed());
    }
    EXPECT_EQ(host.modifiedMarks.size(), 3u); // each Ok found a change
    EXPECT_EQ(Log(), std::vector<std::string>(2, "stored Temporary Patch")); // no identity test
}

// Another type sets its defaults at once; the record changes only when stored. A bar drawn
// unused (0..0) before takes the new slot's whole range from 0.
TEST_F(EditorTest, AnotherTypeSetsItsDefaultsAndItsWholeRanges) {
    Install();
    TFormEdit& editor = Open(1, [](PatchBytes& b) {
        b[107] = 1; // overdrive: slots 7..12 unused
        for (int i = 108; i <= 119; ++i)
            b[i] = 3;
    });
    ShowPageOf(Bar(editor, 1));
    auto* type = Find<QComboBox>(editor, "ComboBox3");
    // The type shown, picked again or confirmed with Enter, keeps the values.
    Pick(editor, "ComboBox3", "overdrive");
    QTest::mouseClick(type, Qt::LeftButton);
    QTest::keyClick(type->view(), Qt::Key_Return);
    EXPECT_EQ(Bar(editor, 1)->Value(), 3);
    Pick(editor, "ComboBox3", "reverb");
    ShowPageOf(Bar(editor, 1));
    const float defaults[12] = {0, 0, 0, 0, 15, 15, 50, 0}; // slots 9..12 unused
    for (int i = 1; i <= 12; ++i)
        EXPECT_EQ(std::pair(Bar(editor, i)->isEnabled(), Bar(editor, i)->Value()),
                  std::pair(i <= 8, defaults[i - 1]))
            << i;
    EXPECT_EQ(editor.Patch().Data()[107], 1);
    // Balance (D100:0E..D0:100E), 0..100: the far left is D100:0E, not the default.
    QTest::mouseClick(Bar(editor, 7), Qt::LeftButton, {}, QPoint(0, 6));
    Click(editor, "ButtonOkStay");
    Click(editor, "ButtonSend");
    EXPECT_EQ(std::tuple(Slot(1).Data()[107], Slot(1).Data()[114], DeviceTemp()[114]),
              std::tuple(23, 0, 0));
}

// "Send Edits Live": a bar drag, a typed value, a list pick and the name reach the simulated
// GR-33's temporary patch as the bytes the editor shows, without identity test or wait window;
// a send to a port gone is told once and turns live sending off for the window.
TEST_F(EditorTest, LiveEditingEndsOnWhatTheEditorShowsAfterEveryGesture) {
    Install();
    host.liveEdit = host.testBeforeSend = true; // no identity test for live sends
    TFormEdit& editor = Open(3, [](PatchBytes& b) { b[65] = 7, b[107] = 1; }); // overdrive
    const auto gestures = EditGestures(editor);
    host.waitShows = 0; // the one of the opening
    PatchBytes before{};
    for (std::size_t g = 0; g < gestures.size(); ++g) {
        gestures[g]();
        const PatchBytes shown = ShownBytes(editor);
        EXPECT_NE(shown, before) << g;
        EXPECT_TRUE(QTest::qWaitFor([&] { return DeviceTemp() == shown; }, 3000)) << g;
        before = shown;
    }
    const std::vector<std::string> lines = Log();
    EXPECT_EQ(DeviceTemp()[65] + host.waitShows +
                  std::count(lines.begin(), lines.end(), "identity request"),
              0);

    host.midiOut = 5; // a port gone
    for (const char* keys : {"43", "44"})
        Type(editor, "frameOnepack1", 0, keys), KeyIntoFocus(Qt::Key_Return), QTest::qWait(100);
    EXPECT_EQ(prompts.Texts("error"), std::vector<std::string>{"Unable to open midi-out device."});
    EXPECT_EQ(editor.windowTitle(), "Patch Editor (A13) (live sending off)");
}
