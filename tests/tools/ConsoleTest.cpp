#include "ToolsFixture.h"

#include "controls/IBar.h"
#include "tests/support/UserClose.h"
#include "tools/ConsoleFrm.h"
#include "tools/UpDown.h"

#include <QCheckBox>
#include <QFocusEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

#include <memory>

namespace {

class ConsoleTest : public ToolsTest {
protected:
    std::unique_ptr<TFormConsole> Open() { return std::make_unique<TFormConsole>(host); }

    template <class W> static W* Find(TFormConsole& form, const char* name) {
        auto* widget = form.findChild<W*>(name);
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }
    static TIBar* Bar(TFormConsole& form, const char* name) { return Find<TIBar>(form, name); }
    static QLineEdit* Edit(TFormConsole& form, const char* name) {
        return Find<QLineEdit>(form, name);
    }
    static QPushButton* Button(TFormConsole& form, const char* name) {
        return Find<QPushButton>(form, name);
    }
    static QCheckBox* Check(TFormConsole& form, const char* name) {
        return Find<QCheckBox>(form, name);
    }

    // Types into a field as the user does and ends with Enter or by leaving the field.
    static void Enter(QLineEdit* edit, const QString& text) {
        edit->clear();
        QTest::keyClicks(edit, text);
        QTest::keyClick(edit, Qt::Key_Return);
    }
    static void Leave(QLineEdit* edit, const QString& text) {
        edit->clear();
        QTest::keyClicks(edit, text);
        QFocusEvent focusOut(QEvent::FocusOut, Qt::TabFocusReason);
        QApplication::sendEvent(edit, &focusOut);
    }
    static void SetChannel(TFormConsole& form, int channel) {
        Find<TUpDown>(form, "UpDownChannel")->SetPosition(channel);
    }
};

Message Bytes(std::initializer_list<int> bytes) {
    Message message;
    for (int b : bytes)
        message.push_back(static_cast<std::uint8_t>(b));
    return message;
}

TEST_F(ConsoleTest, StartsWithDefaultsWhenNothingIsStored) {
    auto form = Open();
    EXPECT_EQ(form->windowTitle(), "Simple MIDI Console");
    EXPECT_EQ(form->size(), QSize(227, 171));
    EXPECT_EQ(form->Channel(), 3);
    EXPECT_EQ(Edit(*form, "EditChannel")->text(), "3");
    EXPECT_TRUE(Check(*form, "CheckBoxPoly")->isChecked());
    EXPECT_TRUE(Button(*form, "ButtonPlayChord")->isEnabled());
    EXPECT_TRUE(Check(*form, "CheckBoxStayOnTop")->isChecked());
    EXPECT_TRUE(form->windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_EQ(form->Key(), 69);
    EXPECT_EQ(form->Velocity(), 127);
    EXPECT_EQ(Edit(*form, "EditKey")->text(), "A 5");
    // "Console" absent: the librarian's item starts unchecked and the window hidden.
    EXPECT_FALSE(form->isVisible());
}

TEST_F(ConsoleTest, ChordHeldOnChannelOne) {
    auto form = Open();
    SetChannel(*form, 1);
    Bar(*form, "IBarKey")->SetValue(60);
    Bar(*form, "IBarVelosity")->SetValue(100);
    auto* chord = Button(*form, "ButtonPlayChord");

    QTest::mousePress(chord, Qt::LeftButton);
    EXPECT_EQ(midi.sent, (std::vector<Message>{Bytes({0x90, 0x3C, 0x64}), Bytes({0x90, 0x40, 0x64}),
                                               Bytes({0x90, 0x43, 0x64})}));
    EXPECT_TRUE(form->NoteSenderPresent());
    EXPECT_EQ(midi.OpenNow(), 1);

    QTest::mouseRelease(chord, Qt::LeftButton);
    ASSERT_EQ(midi.sent.size(), 6u);
    EXPECT_EQ(std::vector(midi.sent.begin() + 3, midi.sent.end()),
              (std::vector<Message>{Bytes({0x80, 0x3C, 0x64}), Bytes({0x80, 0x40, 0x64}),
                                    Bytes({0x80, 0x43, 0x64})}));
    EXPECT_FALSE(form->NoteSenderPresent());
    EXPECT_EQ(midi.opened, 1);
    EXPECT_EQ(midi.OpenNow(), 0);
    EXPECT_TRUE(prompts.shown.empty());
}

TEST_F(ConsoleTest, NoteOnChannelTenAndOtherButtonsIgnored) {
    auto form = Open();
    SetChannel(*form, 10);
    auto* note = Button(*form, "ButtonPlayNote");
    QTest::mousePress(note, Qt::RightButton);
    QTest::mouseRelease(note, Qt::RightButton);
    EXPECT_TRUE(midi.sent.empty());
    EXPECT_EQ(midi.opened, 0);

    QTest::mousePress(note, Qt::LeftButton);
    QTest::mouseRelease(note, Qt::LeftButton);
    EXPECT_EQ(midi.sent,
              (std::vector<Message>{Bytes({0x99, 0x45, 0x7F}), Bytes({0x89, 0x45, 0x7F})}));
    EXPECT_EQ(midi.OpenNow(), 0);

    // Hiding the window while the note is held (it gets no release then) ends the note.
    form->show();
    QTest::mousePress(note, Qt::LeftButton);
    form->hide();
    EXPECT_EQ(midi.sent.back(), Bytes({0x89, 0x45, 0x7F}));
    EXPECT_FALSE(form->NoteSenderPresent());
    EXPECT_EQ(midi.OpenNow(), 0);
}

TEST_F(ConsoleTest, ChordBeyondKey127SendsOffsForTheNotesThatWentOut) {
    auto form = Open();
    SetChannel(*form, 1);
    auto* chord = Button(*form, "ButtonPlayChord");
    // Key 125: the third (129) is out of range, only the root sounds.
    Bar(*form, "IBarKey")->SetValue(125);
    QTest::mousePress(chord, Qt::LeftButton);
    EXPECT_EQ(prompts.Texts("error").size(), 1u);
    EXPECT_EQ(midi.sent, (std::vector<Message>{Bytes({0x90, 125, 0x7F})}));
    EXPECT_TRUE(form->NoteSenderPresent());
    QTest::mouseRelease(chord, Qt::LeftButton);
    EXPECT_EQ(midi.sent.back(), Bytes({0x80, 125, 0x7F}));
    EXPECT_EQ(midi.sent.size(), 2u);
    EXPECT_EQ(midi.OpenNow(), 0);

    // Key 122: root and third sound, the fifth (129) fails.
    midi.sent.clear();
    Bar(*form, "IBarKey")->SetValue(122);
    QTest::mousePress(chord, Qt::LeftButton);
    QTest::mouseRelease(chord, Qt::LeftButton);
    EXPECT_EQ(midi.sent,
              (std::vector<Message>{Bytes({0x90, 122, 0x7F}), Bytes({0x90, 126, 0x7F}),
                                    Bytes({0x80, 122, 0x7F}), Bytes({0x80, 126, 0x7F})}));
    EXPECT_EQ(midi.OpenNow(), 0);
}

TEST_F(ConsoleTest, NoOutputPortReportedAndReleaseDoesNothing) {
    auto form = Open();
    host.midiOut = 0;
    auto* note = Button(*form, "ButtonPlayNote");
    QTest::mousePress(note, Qt::LeftButton);
    QTest::mouseRelease(note, Qt::LeftButton);
    EXPECT_EQ(prompts.Texts("error"), std::vector<std::string>{"No midi-out device found."});
    EXPECT_FALSE(form->NoteSenderPresent());
    EXPECT_EQ(midi.opened, 0);
}

TEST_F(ConsoleTest, PanicSilencesEveryChannelAndRecoversFromFailure) {
    auto form = Open();
    auto* panic = Button(*form, "ButtonPanic");
    QTest::mouseClick(panic, Qt::LeftButton);
    ASSERT_EQ(midi.sent.size(), 16u);
    for (int channel = 0; channel < 16; ++channel)
        EXPECT_EQ(midi.sent[channel], Bytes({0xB0 + channel, 0x78, 0x00}));
    EXPECT_EQ(midi.opened, 1);
    EXPECT_EQ(midi.OpenNow(), 0);

    midi.failSends = true;
    QTest::mouseClick(panic, Qt::LeftButton);
    EXPECT_EQ(prompts.Texts("error"),
              std::vector<std::string>{"Unable to send command to midi-out device."});
    EXPECT_TRUE(panic->isEnabled());
    EXPECT_EQ(midi.OpenNow(), 0);
}

TEST_F(ConsoleTest, ProgramChangeSelectsTheGridsPatch) {
    auto form = Open();
    auto* pc = Button(*form, "ButtonPC");
    host.selectedPatch = 1; // A11
    QTest::mouseClick(pc, Qt::LeftButton);
    host.selectedPatch = 128; // D84
    SetChannel(*form, 16);
    QTest::mouseClick(pc, Qt::LeftButton);
    EXPECT_EQ(midi.sent, (std::vector<Message>{Bytes({0xC2, 0}), Bytes({0xCF, 127})}));
    EXPECT_EQ(midi.OpenNow(), 0);

    midi.failSends = true;
    QTest::mouseClick(pc, Qt::LeftButton);
    EXPECT_EQ(prompts.Texts("error").size(), 1u);
    EXPECT_TRUE(pc->isEnabled());
    EXPECT_EQ(midi.OpenNow(), 0);
}

TEST_F(ConsoleTest, NoteFieldMovesTheKeyOrRevertsSilently) {
    auto form = Open();
    auto* key = Edit(*form, "EditKey");
    Enter(key, "a 4");
    EXPECT_EQ(form->Key(), 57);
    EXPECT_EQ(key->text(), "A 4");
    EXPECT_EQ(Edit(*form, "EditFreq")->text(), " 220.00");
    EXPECT_EQ(Find<TUpDown>(*form, "UpDownKey")->Position(), 57);

    Leave(key, "xyz");
    EXPECT_EQ(key->text(), "A 4");
    Enter(key, "G# 10"); // beyond key 127
    EXPECT_EQ(key->text(), "A 4");
    EXPECT_EQ(form->Key(), 57);
    EXPECT_TRUE(prompts.shown.empty());
}

TEST_F(ConsoleTest, FrequencyFieldMovesTheKeyOrRevertsSilently) {
    auto form = Open();
    auto* freq = Edit(*form, "EditFreq");
    Enter(freq, "8000");
    EXPECT_EQ(form->Key(), 119);
    EXPECT_EQ(freq->text(), "7901.97");
    EXPECT_EQ(Edit(*form, "EditKey")->text(), "B 9");

    for (const char* bad : {"xyz", "0", "-5", "7.9", "440x", "20000"}) {
        Leave(freq, bad);
        EXPECT_EQ(freq->text(), "7901.97") << bad;
        EXPECT_EQ(form->Key(), 119) << bad;
    }
    EXPECT_TRUE(prompts.shown.empty());

    // A frequency of the key already chosen changes nothing, so the typed text stays.
    Enter(freq, "440");
    EXPECT_EQ(form->Key(), 69);
    Enter(freq, "441");
    EXPECT_EQ(freq->text(), "441");
    EXPECT_EQ(form->Key(), 69);
}

TEST_F(ConsoleTest, ArrowsStepTheKeyAndStopAtTheEnds) {
    auto form = Open();
    auto* arrows = Find<TUpDown>(*form, "UpDownKey");
    auto* bar = Bar(*form, "IBarKey");
    QTest::mouseClick(arrows->UpButton(), Qt::LeftButton);
    EXPECT_EQ(form->Key(), 70);
    EXPECT_EQ(Edit(*form, "EditKey")->text(), "A# 5");

    bar->SetValue(127);
    arrows->Step(TUDBtnType::btNext);
    EXPECT_EQ(bar->Value(), 127);
    EXPECT_EQ(arrows->Position(), 127);
    bar->SetValue(0);
    arrows->Step(TUDBtnType::btPrev);
    EXPECT_EQ(bar->Value(), 0);
    EXPECT_EQ(Edit(*form, "EditKey")->text(), "C 0");
    EXPECT_EQ(Edit(*form, "EditFreq")->text(), "   8.18");
}

TEST_F(ConsoleTest, KeyBarBeyondTheKeysIsBroughtBack) {
    // The bar's own value dialog accepts any number; the console keeps to MIDI keys.
    auto form = Open();
    auto* bar = Bar(*form, "IBarKey");
    bar->SetValue(200);
    EXPECT_EQ(bar->Value(), 127);
    EXPECT_EQ(Edit(*form, "EditKey")->text(), "G 10");
    bar->SetValue(-3);
    EXPECT_EQ(bar->Value(), 0);
    Bar(*form, "IBarVelosity")->SetValue(300);
    EXPECT_EQ(form->Velocity(), 127);
}

TEST_F(ConsoleTest, ChannelAndPolyPersistStayOnTopDoesNot) {
    {
        auto form = Open();
        SetChannel(*form, 10);
        Check(*form, "CheckBoxPoly")->click();
        EXPECT_FALSE(Button(*form, "ButtonPlayChord")->isEnabled());
        Check(*form, "CheckBoxStayOnTop")->click();
        EXPECT_FALSE(form->windowFlags() & Qt::WindowStaysOnTopHint);
    }
    Restart();
    auto form = Open();
    EXPECT_EQ(form->Channel(), 10);
    EXPECT_FALSE(Check(*form, "CheckBoxPoly")->isChecked());
    EXPECT_FALSE(Button(*form, "ButtonPlayChord")->isEnabled());
    EXPECT_TRUE(Check(*form, "CheckBoxStayOnTop")->isChecked());
    // A disabled chord button plays nothing.
    QTest::mousePress(Button(*form, "ButtonPlayChord"), Qt::LeftButton);
    EXPECT_TRUE(midi.sent.empty());
}

TEST_F(ConsoleTest, StoredChannelIsReadWithCare) {
    const std::pair<const char*, int> cases[] = {{"12", 12}, {" 7", 7}, {"40", 16},  {"-2", 1},
                                                 {"abc", 3}, {"5x", 3}, {"99999", 3}};
    for (auto [stored, channel] : cases) {
        WriteSetting("Channel", stored);
        EXPECT_EQ(Open()->Channel(), channel) << stored;
    }
    WriteSetting("Poly", "yes");
    EXPECT_TRUE(Check(*Open(), "CheckBoxPoly")->isChecked());
}

TEST_F(ConsoleTest, VisibilityFollowsTheOptionAndClosingUnchecksIt) {
    WriteSetting("Console", "Yes");
    auto form = Open();
    EXPECT_TRUE(form->isVisible());
    CloseAsTheUser(*form);
    EXPECT_FALSE(form->isVisible());
    EXPECT_EQ(host.consoleClosed, 1);
    EXPECT_EQ(ReadSetting("Console"), "No");
    form.reset();
    Restart();
    EXPECT_FALSE(Open()->isVisible());
}

} // namespace
