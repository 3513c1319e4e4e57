// The MIDI console on the recording backend, driven on the shown window:
// buttons pressed, arrows clicked, note and frequency typed, the bars' own
// value dialog.

#include "ToolsFixture.h"
#include "controls/IBar.h"
#include "tests/support/UserClose.h"
#include "tools/ConsoleFrm.h"
#include "tools/UpDown.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QToolButton>

namespace {

class ConsoleTest : public ToolsTest {
protected:
    std::unique_ptr<TFormConsole> Open() { return Shown<TFormConsole>(); }
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
    static bool Checked(QWidget& form, const char* box) {
        return Find<QCheckBox>(form, box)->isChecked();
    }
};

TEST_F(ConsoleTest, NotesAndChordsSoundWhileTheButtonIsHeld) {
    const struct {
        const char* button;
        int channel;
        const char* key;
        const char* velocity;
        std::vector<int> notes;
        std::size_t errors = 0; // beyond key 127 a chord keeps the notes that went out
    } cases[] = {
        {"ButtonPlayChord", 1, "C 5", "100", {60, 64, 67}},
        {"ButtonPlayNote", 10, "A 5", "127", {69}},
        {"ButtonPlayChord", 1, "D 10", "127", {122, 126}, 1},
        {"ButtonPlayChord", 1, "F 10", "127", {125}, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.key);
        auto form = Open();
        midi.sent.clear(), midi.log.clear();
        prompts.Clear();
        Arrow(*form, "UpDownChannel", false, 15); // down to 1, then up to the channel
        Arrow(*form, "UpDownChannel", true, c.channel - 1);
        Type(*form, "EditKey", c.key);
        SetBar(*form, "IBarVelosity", c.velocity);
        std::vector<Message> on, off;
        for (int note : c.notes) {
            on.push_back({std::uint8_t(0x8F + c.channel), std::uint8_t(note),
                          std::uint8_t(std::stoi(c.velocity))});
            off.push_back({std::uint8_t(0x7F + c.channel), on.back()[1], on.back()[2]});
        }
        QWidget* button = Find(*form, c.button);
        QTest::mousePress(button, Qt::RightButton); // other buttons play nothing
        QTest::mouseRelease(button, Qt::RightButton);
        EXPECT_TRUE(midi.sent.empty());
        QTest::mousePress(button, Qt::LeftButton);
        EXPECT_EQ(midi.sent, on);
        EXPECT_TRUE(form->NoteSenderPresent());
        EXPECT_EQ(midi.OpenPorts(), 1);
        EXPECT_EQ(prompts.Texts("error").size(), c.errors);
        QTest::mouseRelease(button, Qt::LeftButton);
        EXPECT_EQ(std::vector(midi.sent.begin() + on.size(), midi.sent.end()), off);
        EXPECT_FALSE(form->NoteSenderPresent());
        EXPECT_EQ(std::pair(Opened(), midi.OpenPorts()), std::pair(1, 0));
    }
}

TEST_F(ConsoleTest, HidingEndsAHeldNoteAndNoPortIsReported) {
    auto form = Open();
    QTest::mousePress(Find(*form, "ButtonPlayNote"), Qt::LeftButton);
    form->hide(); // a hidden window gets no release
    EXPECT_EQ(midi.sent.back(), Message({0x82, 69, 127}));
    EXPECT_FALSE(form->NoteSenderPresent());
    EXPECT_EQ(midi.OpenPorts(), 0);

    host.midiOut = 0;
    form = Open();
    midi.log.clear();
    Click(*form, "ButtonPlayNote");
    EXPECT_EQ(prompts.Texts("error"), std::vector<std::string>{"No midi-out device found."});
    EXPECT_FALSE(form->NoteSenderPresent());
    EXPECT_EQ(Opened(), 0);
}

TEST_F(ConsoleTest, PanicAndProgramChangeRecoverFromAFailingPort) {
    auto form = Open();
    Click(*form, "ButtonPanic");
    ASSERT_EQ(midi.sent.size(), 16u);
    for (int channel = 0; channel < 16; ++channel)
        EXPECT_EQ(midi.sent[channel], Message({std::uint8_t(0xB0 + channel), 0x78, 0x00}));
    // A program change selects the grid's patch: A11 on channel 3, D84 on
    // channel 16.
    midi.sent.clear();
    Click(*form, "ButtonPC");
    host.selectedPatch = 128;
    Arrow(*form, "UpDownChannel", true, 20); // stops at 16
    Click(*form, "ButtonPC");
    EXPECT_EQ(midi.sent, (std::vector<Message>{{0xC2, 0}, {0xCF, 127}}));
    EXPECT_EQ(std::pair(Opened(), midi.OpenPorts()), std::pair(3, 0));

    midi.failSend = true;
    for (const char* button : {"ButtonPanic", "ButtonPC"}) {
        Click(*form, button);
        EXPECT_TRUE(Find(*form, button)->isEnabled());
        EXPECT_EQ(midi.OpenPorts(), 0);
    }
    EXPECT_EQ(prompts.Texts("error"),
              std::vector<std::string>(2, "Unable to send command to midi-out device."));
}

TEST_F(ConsoleTest, KeyNoteAndFrequencyStayInStepOrRevertSilently) {
    auto form = Open();
    const struct {
        const char* field;
        std::vector<const char*> typed; // each ended with Tab, the first with Return
        int key;
        const char* note;
        const char* frequency;
    } cases[] = {
        {"EditKey", {"a 4", "xyz"}, 57, "A 4", " 220.00"},
        {"EditKey", {"G# 10"}, 57, "A 4", " 220.00"}, // beyond key 127
        {"EditFreq", {"8000", "xyz", "0", "-5", "7.9", "440x", "20000"}, 119, "B 9", "7901.97"},
        {"EditFreq", {"440"}, 69, "A 5", " 440.00"},
        // A frequency of the key already chosen changes nothing, so the typed
        // text stays.
        {"EditFreq", {"441"}, 69, "A 5", "441"},
    };
    for (const auto& c : cases)
        for (const char* typed : c.typed) {
            SCOPED_TRACE(typed);
            Type(*form, c.field, typed, typed == c.typed[0] ? Qt::Key_Return : Qt::Key_Tab);
            EXPECT_EQ(form->Key(), c.key);
            EXPECT_EQ(Text(*form, "EditKey"), c.note);
            EXPECT_EQ(Text(*form, "EditFreq"), c.frequency);
            EXPECT_EQ(Find<TUpDown>(*form, "UpDownKey")->Position(), c.key);
        }
    EXPECT_TRUE(prompts.shown.empty());
}

TEST_F(ConsoleTest, ArrowsAndTheBarsKeepToMidiValues) {
    auto form = Open();
    const auto key = [&] { return QString::number(form->Key()) + " " + Text(*form, "EditKey"); };
    Arrow(*form, "UpDownKey", true);
    EXPECT_EQ(key(), "70 A# 5");
    Arrow(*form, "UpDownKey", false, 2);
    EXPECT_EQ(key(), "68 G# 5");
    SetBar(*form, "IBarKey",
           "200"); // the bar's dialog takes any number, the console keeps to MIDI
    EXPECT_EQ(key(), "127 G 10");
    Arrow(*form, "UpDownKey", true);
    EXPECT_EQ(Find<TIBar>(*form, "IBarKey")->Value(), 127);
    SetBar(*form, "IBarKey", "-3");
    Arrow(*form, "UpDownKey", false);
    EXPECT_EQ(Find<TIBar>(*form, "IBarKey")->Value(), 0);
    EXPECT_EQ(key() + "|" + Text(*form, "EditFreq"), "0 C 0|   8.18");
    SetBar(*form, "IBarVelosity", "300");
    EXPECT_EQ(form->Velocity(), 127);
}

TEST_F(ConsoleTest, ChannelAndPolyPersistStayOnTopDoesNot) {
    {
        auto form = Open();
        Arrow(*form, "UpDownChannel", true, 7);
        Click(*form, "CheckBoxPoly");
        EXPECT_FALSE(Find(*form, "ButtonPlayChord")->isEnabled());
        Click(*form, "CheckBoxStayOnTop");
        EXPECT_FALSE(form->windowFlags() & Qt::WindowStaysOnTopHint);
    }
    Restart();
    auto form = Open();
    EXPECT_EQ(form->Channel(), 10);
    EXPECT_FALSE(Checked(*form, "CheckBoxPoly") || Find(*form, "ButtonPlayChord")->isEnabled());
    EXPECT_TRUE(Checked(*form, "CheckBoxStayOnTop"));
    QTest::mousePress(Find(*form, "ButtonPlayChord"),
                      Qt::LeftButton); // disabled: plays nothing
    EXPECT_TRUE(midi.sent.empty());
}

TEST_F(ConsoleTest, StoredSettingsAreReadWithCareDefaultsWhenAbsent) {
    TFormConsole form(host); // "Console" absent: the window starts hidden
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(form.windowTitle(), "Simple MIDI Console");
    EXPECT_EQ(form.size(), QSize(227, 171));
    EXPECT_EQ(std::tuple(form.Channel(), int(form.Key()), int(form.Velocity())),
              std::tuple(3, 69, 127));
    EXPECT_EQ(Text(form, "EditChannel") + "|" + Text(form, "EditKey"), "3|A 5");
    EXPECT_TRUE(Checked(form, "CheckBoxPoly") && Find(form, "ButtonPlayChord")->isEnabled());
    EXPECT_TRUE(Checked(form, "CheckBoxStayOnTop") &&
                form.windowFlags() & Qt::WindowStaysOnTopHint);
    const std::pair<const char*, int> cases[] = {{"12", 12}, {" 7", 7}, {"40", 16},  {"-2", 1},
                                                 {"abc", 3}, {"5x", 3}, {"99999", 3}};
    for (auto [stored, channel] : cases) {
        WriteSetting("Channel", stored);
        EXPECT_EQ(TFormConsole(host).Channel(), channel) << stored;
    }
    WriteSetting("Poly", "yes");
    EXPECT_TRUE(Checked(*Open(), "CheckBoxPoly"));
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
