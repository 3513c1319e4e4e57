// The MIDI console on the recording backend, driven on the shown window: buttons pressed,
// arrows clicked, note and frequency typed, the bars' own value dialog.

#include "ToolsFixture.h"

#include "controls/IBar.h"
#include "tests/support/UserClose.h"
#include "tools/ConsoleFrm.h"
#include "tools/UpDown.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

#include <memory>

namespace {

Message Bytes(std::initializer_list<int> bytes) {
    return Message(bytes.begin(), bytes.end());
}

class ConsoleTest : public ToolsTest {
protected:
    // A console as built at start-up, then shown and active as the user meets it.
    std::unique_ptr<TFormConsole> Open() {
        auto form = std::make_unique<TFormConsole>(host);
        form->show();
        EXPECT_TRUE(QTest::qWaitForWindowActive(form.get()));
        return form;
    }
    template <class W = QWidget> static W* Find(QWidget& form, const char* name) {
        auto* widget = form.findChild<W*>(name);
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }
    static QString Text(QWidget& form, const char* field) {
        return Find<QLineEdit>(form, field)->text();
    }
    // Clicks into the field, types over its text and ends with Enter or Tab.
    static void Type(QWidget& form, const char* field, const QString& text,
                     Qt::Key end = Qt::Key_Return) {
        auto* edit = Find<QLineEdit>(form, field);
        QTest::mouseClick(edit, Qt::LeftButton);
        QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(edit, text);
        QTest::keyClick(edit, end);
    }
    static void Arrow(QWidget& form, const char* updown, bool up, int times = 1) {
        auto* arrows = Find<TUpDown>(form, updown);
        for (int i = 0; i < times; ++i)
            QTest::mouseClick(up ? arrows->UpButton() : arrows->DownButton(), Qt::LeftButton);
    }
    // Types the value into the bar's own dialog (Alt and a click on the bar).
    void SetBar(QWidget& form, const char* bar, const char* value) {
        prompts.inputAnswers.push_back(value);
        QTest::mouseClick(Find(form, bar), Qt::LeftButton, Qt::AltModifier, {5, 5});
    }
    static void Hold(QWidget& form, const char* button, Qt::MouseButton mouse = Qt::LeftButton) {
        QTest::mousePress(Find(form, button), mouse);
    }
    static void Lift(QWidget& form, const char* button, Qt::MouseButton mouse = Qt::LeftButton) {
        QTest::mouseRelease(Find(form, button), mouse);
    }
};

TEST_F(ConsoleTest, StartsHiddenWithDefaultsWhenNothingIsStored) {
    TFormConsole form(host);
    // "Console" absent: the librarian's item starts unchecked and the window hidden.
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(form.windowTitle(), "Simple MIDI Console");
    EXPECT_EQ(form.size(), QSize(227, 171));
    EXPECT_EQ(std::tuple(form.Channel(), int(form.Key()), int(form.Velocity())),
              std::tuple(3, 69, 127));
    EXPECT_EQ(std::pair(Text(form, "EditChannel"), Text(form, "EditKey")),
              std::pair(QString("3"), QString("A 5")));
    EXPECT_TRUE(Find<QCheckBox>(form, "CheckBoxPoly")->isChecked());
    EXPECT_TRUE(Find(form, "ButtonPlayChord")->isEnabled());
    EXPECT_TRUE(Find<QCheckBox>(form, "CheckBoxStayOnTop")->isChecked());
    EXPECT_TRUE(form.windowFlags() & Qt::WindowStaysOnTopHint);
}

TEST_F(ConsoleTest, NotesAndChordsSoundWhileTheButtonIsHeld) {
    const struct {
        const char* button;
        int channel;
        const char* key;
        const char* velocity;
        std::vector<Message> on, off;
        std::size_t errors = 0;
    } cases[] = {
        {"ButtonPlayChord",
         -2,
         "C 5",
         "100",
         {Bytes({0x90, 60, 100}), Bytes({0x90, 64, 100}), Bytes({0x90, 67, 100})},
         {Bytes({0x80, 60, 100}), Bytes({0x80, 64, 100}), Bytes({0x80, 67, 100})}},
        {"ButtonPlayNote", 10, "A 5", "127", {Bytes({0x99, 69, 127})}, {Bytes({0x89, 69, 127})}},
        // Beyond key 127 a chord keeps the notes that went out and reports the failure.
        {"ButtonPlayChord",
         -2,
         "D 10",
         "127",
         {Bytes({0x90, 122, 127}), Bytes({0x90, 126, 127})},
         {Bytes({0x80, 122, 127}), Bytes({0x80, 126, 127})},
         1},
        {"ButtonPlayChord",
         -2,
         "F 10",
         "127",
         {Bytes({0x90, 125, 127})},
         {Bytes({0x80, 125, 127})},
         1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.key);
        auto form = Open();
        midi.sent.clear();
        midi.opened = midi.closed = 0;
        prompts.Clear();
        Arrow(*form, "UpDownChannel", false, 15); // down to 1, then up to the channel
        Arrow(*form, "UpDownChannel", true, c.channel - 1);
        Type(*form, "EditKey", c.key);
        SetBar(*form, "IBarVelosity", c.velocity);
        Hold(*form, c.button, Qt::RightButton); // other buttons play nothing
        Lift(*form, c.button, Qt::RightButton);
        EXPECT_TRUE(midi.sent.empty());
        Hold(*form, c.button);
        EXPECT_EQ(midi.sent, c.on);
        EXPECT_TRUE(form->NoteSenderPresent());
        EXPECT_EQ(midi.OpenNow(), 1);
        EXPECT_EQ(prompts.Texts("error").size(), c.errors);
        Lift(*form, c.button);
        EXPECT_EQ(std::vector(midi.sent.begin() + c.on.size(), midi.sent.end()), c.off);
        EXPECT_FALSE(form->NoteSenderPresent());
        EXPECT_EQ(std::pair(midi.opened, midi.OpenNow()), std::pair(1, 0));
    }
}

TEST_F(ConsoleTest, HidingEndsAHeldNoteAndNoPortIsReported) {
    auto form = Open();
    Hold(*form, "ButtonPlayNote");
    form->hide(); // a hidden window gets no release
    EXPECT_EQ(midi.sent.back(), Bytes({0x82, 69, 127}));
    EXPECT_FALSE(form->NoteSenderPresent());
    EXPECT_EQ(midi.OpenNow(), 0);

    host.midiOut = 0;
    form = Open();
    midi.opened = 0;
    Hold(*form, "ButtonPlayNote");
    Lift(*form, "ButtonPlayNote");
    EXPECT_EQ(prompts.Texts("error"), std::vector<std::string>{"No midi-out device found."});
    EXPECT_FALSE(form->NoteSenderPresent());
    EXPECT_EQ(midi.opened, 0);
}

TEST_F(ConsoleTest, PanicAndProgramChangeRecoverFromAFailingPort) {
    auto form = Open();
    QTest::mouseClick(Find(*form, "ButtonPanic"), Qt::LeftButton);
    ASSERT_EQ(midi.sent.size(), 16u);
    for (int channel = 0; channel < 16; ++channel)
        EXPECT_EQ(midi.sent[channel], Bytes({0xB0 + channel, 0x78, 0x00}));
    // A program change selects the grid's patch: A11 on channel 3, D84 on channel 16.
    midi.sent.clear();
    QTest::mouseClick(Find(*form, "ButtonPC"), Qt::LeftButton);
    host.selectedPatch = 128;
    Arrow(*form, "UpDownChannel", true, 20); // stops at 16
    QTest::mouseClick(Find(*form, "ButtonPC"), Qt::LeftButton);
    EXPECT_EQ(midi.sent, (std::vector<Message>{Bytes({0xC2, 0}), Bytes({0xCF, 127})}));
    EXPECT_EQ(std::pair(midi.opened, midi.OpenNow()), std::pair(3, 0));

    midi.failSends = true;
    for (const char* button : {"ButtonPanic", "ButtonPC"}) {
        QTest::mouseClick(Find(*form, button), Qt::LeftButton);
        EXPECT_TRUE(Find(*form, button)->isEnabled());
        EXPECT_EQ(midi.OpenNow(), 0);
    }
    EXPECT_EQ(prompts.Texts("error"),
              std::vector<std::string>(2, "Unable to send command to midi-out device."));
}

TEST_F(ConsoleTest, KeyNoteAndFrequencyStayInStepOrRevertSilently) {
    auto form = Open();
    const struct {
        const char* field;
        const char* typed;
        Qt::Key end;
        int key;
        const char* note;
        const char* frequency;
    } cases[] = {
        {"EditKey", "a 4", Qt::Key_Return, 57, "A 4", " 220.00"},
        {"EditKey", "xyz", Qt::Key_Tab, 57, "A 4", " 220.00"},
        {"EditKey", "G# 10", Qt::Key_Return, 57, "A 4", " 220.00"}, // beyond key 127
        {"EditFreq", "8000", Qt::Key_Return, 119, "B 9", "7901.97"},
        {"EditFreq", "xyz", Qt::Key_Tab, 119, "B 9", "7901.97"},
        {"EditFreq", "0", Qt::Key_Tab, 119, "B 9", "7901.97"},
        {"EditFreq", "-5", Qt::Key_Tab, 119, "B 9", "7901.97"},
        {"EditFreq", "7.9", Qt::Key_Tab, 119, "B 9", "7901.97"},
        {"EditFreq", "440x", Qt::Key_Tab, 119, "B 9", "7901.97"},
        {"EditFreq", "20000", Qt::Key_Tab, 119, "B 9", "7901.97"},
        {"EditFreq", "440", Qt::Key_Return, 69, "A 5", " 440.00"},
        // A frequency of the key already chosen changes nothing, so the typed text stays.
        {"EditFreq", "441", Qt::Key_Return, 69, "A 5", "441"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        Type(*form, c.field, c.typed, c.end);
        EXPECT_EQ(form->Key(), c.key);
        EXPECT_EQ(Text(*form, "EditKey"), c.note);
        EXPECT_EQ(Text(*form, "EditFreq"), c.frequency);
        EXPECT_EQ(Find<TUpDown>(*form, "UpDownKey")->Position(), c.key);
    }
    EXPECT_TRUE(prompts.shown.empty());
}

TEST_F(ConsoleTest, ArrowsAndTheBarsKeepToMidiValues) {
    auto form = Open();
    Arrow(*form, "UpDownKey", true);
    EXPECT_EQ(std::pair(int(form->Key()), Text(*form, "EditKey")), std::pair(70, QString("A# 5")));
    // The bar's own value dialog accepts any number; the console keeps to MIDI values.
    SetBar(*form, "IBarKey", "200");
    EXPECT_EQ(std::pair(int(form->Key()), Text(*form, "EditKey")), std::pair(127, QString("G 10")));
    Arrow(*form, "UpDownKey", true);
    EXPECT_EQ(Find<TIBar>(*form, "IBarKey")->Value(), 127);
    SetBar(*form, "IBarKey", "-3");
    Arrow(*form, "UpDownKey", false);
    EXPECT_EQ(Find<TIBar>(*form, "IBarKey")->Value(), 0);
    EXPECT_EQ(std::pair(Text(*form, "EditKey"), Text(*form, "EditFreq")),
              std::pair(QString("C 0"), QString("   8.18")));
    SetBar(*form, "IBarVelosity", "300");
    EXPECT_EQ(form->Velocity(), 127);
}

TEST_F(ConsoleTest, ChannelAndPolyPersistStayOnTopDoesNot) {
    {
        auto form = Open();
        Arrow(*form, "UpDownChannel", true, 7);
        QTest::mouseClick(Find(*form, "CheckBoxPoly"), Qt::LeftButton);
        EXPECT_FALSE(Find(*form, "ButtonPlayChord")->isEnabled());
        QTest::mouseClick(Find(*form, "CheckBoxStayOnTop"), Qt::LeftButton);
        EXPECT_FALSE(form->windowFlags() & Qt::WindowStaysOnTopHint);
    }
    Restart();
    auto form = Open();
    EXPECT_EQ(form->Channel(), 10);
    EXPECT_FALSE(Find<QCheckBox>(*form, "CheckBoxPoly")->isChecked());
    EXPECT_FALSE(Find(*form, "ButtonPlayChord")->isEnabled());
    EXPECT_TRUE(Find<QCheckBox>(*form, "CheckBoxStayOnTop")->isChecked());
    Hold(*form, "ButtonPlayChord"); // a disabled chord button plays nothing
    EXPECT_TRUE(midi.sent.empty());
}

TEST_F(ConsoleTest, StoredChannelIsReadWithCare) {
    const std::pair<const char*, int> cases[] = {{"12", 12}, {" 7", 7}, {"40", 16},  {"-2", 1},
                                                 {"abc", 3}, {"5x", 3}, {"99999", 3}};
    for (auto [stored, channel] : cases) {
        WriteSetting("Channel", stored);
        EXPECT_EQ(TFormConsole(host).Channel(), channel) << stored;
    }
    WriteSetting("Poly", "yes");
    EXPECT_TRUE(Find<QCheckBox>(*Open(), "CheckBoxPoly")->isChecked());
}

TEST_F(ConsoleTest, VisibilityFollowsTheOptionAndClosingUnchecksIt) {
    WriteSetting("Console", "Yes");
    auto form = std::make_unique<TFormConsole>(host);
    EXPECT_TRUE(form->isVisible());
    CloseAsTheUser(*form);
    EXPECT_FALSE(form->isVisible());
    EXPECT_EQ(host.consoleClosed, 1);
    EXPECT_EQ(ReadSetting("Console"), "No");
    form.reset();
    Restart();
    EXPECT_FALSE(TFormConsole(host).isVisible());
}

} // namespace
