// The MIDI console and the text converter, driven on the shown windows as a user does, with a
// fake librarian, a backend recording what its one output port ("Recorder", device number 1) is
// sent, a fresh settings store and recorded prompts.
#include "controls/IBar.h"
#include "model/Settings.h"
#include "tests/midi/FakeMidiBackend.h"
#include "tests/support/RecordingDialogs.h"
#include "tests/support/RecordingHost.h"
#include "tests/support/ScratchFolder.h"
#include "tests/support/UserClose.h"
#include "tools/ConsoleFrm.h"
#include "tools/ConverterFrm.h"
#include "tools/UpDown.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

namespace {

using Message = Bytes;

class ToolsTest : public ::testing::Test {
protected:
    void SetUp() override { Settings().Start(settings); }
    // Ends the run's store (writing the file) and starts the next run's from it.
    void Restart() {
        Settings().End();
        Settings().Start(settings);
    }
    // Shows the window and waits until it is active, as the user meets it.
    template <class W> std::unique_ptr<W> Shown() {
        auto form = std::make_unique<W>(host);
        form->show();
        EXPECT_TRUE(QTest::qWaitForWindowActive(form.get()));
        return form;
    }
    template <class W = QWidget> static W* Find(QWidget& form, const char* name) {
        auto* widget = form.findChild<W*>(name);
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }
    static void Click(QWidget& form, const char* name) {
        QTest::mouseClick(Find(form, name), Qt::LeftButton);
    }
    // Output ports opened since the log was last cleared.
    int Opened() const { return static_cast<int>(std::ranges::count(midi.log, "open out 0")); }

    ScratchFolder dir;
    const std::string settings = dir.File("KelvoLight.ini");
    InstalledFake fake{{{"Recorder In"}}, {{"Recorder"}}};
    FakeMidiState& midi = *fake.system;
    FakeHost host;
    RecordingDialogs prompts;
    ScopedPrompts guard{prompts};
};

class ConsoleTest : public ToolsTest {
protected:
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
    // Whether a note sounds, the open ports and the error prompts shown.
    std::tuple<bool, int, std::size_t> Sounding(TFormConsole& form) {
        return {form.NoteSenderPresent(), midi.OpenPorts(), prompts.Texts("error").size()};
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
        auto form = Shown<TFormConsole>();
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
        EXPECT_EQ(Sounding(*form), std::tuple(true, 1, c.errors));
        QTest::mouseRelease(button, Qt::LeftButton);
        EXPECT_EQ(std::vector(midi.sent.begin() + on.size(), midi.sent.end()), off);
        EXPECT_EQ(std::tuple(form->NoteSenderPresent(), Opened(), midi.OpenPorts()),
                  std::tuple(false, 1, 0));
    }
}

TEST_F(ConsoleTest, HidingEndsAHeldNoteAndNoPortIsReported) {
    auto form = Shown<TFormConsole>();
    QTest::mousePress(Find(*form, "ButtonPlayNote"), Qt::LeftButton);
    form->hide(); // a hidden window gets no release
    EXPECT_EQ(midi.sent.back(), Message({0x82, 69, 127}));
    EXPECT_EQ(Sounding(*form), std::tuple(false, 0, 0u));

    host.midiOut = 0;
    form = Shown<TFormConsole>();
    midi.log.clear();
    Click(*form, "ButtonPlayNote");
    EXPECT_EQ(prompts.Texts("error"), std::vector<std::string>{"No midi-out device found."});
    EXPECT_FALSE(form->NoteSenderPresent());
    EXPECT_EQ(Opened(), 0);
}

TEST_F(ConsoleTest, PanicAndProgramChangeRecoverFromAFailingPort) {
    auto form = Shown<TFormConsole>();
    Click(*form, "ButtonPanic");
    // A program change selects the grid's patch: A11 on channel 3, D84 on channel 16.
    Click(*form, "ButtonPC");
    host.selectedPatch = 128;
    Arrow(*form, "UpDownChannel", true, 20); // stops at 16
    Click(*form, "ButtonPC");
    std::vector<Message> expected;
    for (int channel = 0; channel < 16; ++channel)
        expected.push_back({std::uint8_t(0xB0 + channel), 0x78, 0x00});
    expected.insert(expected.end(), {{0xC2, 0}, {0xCF, 127}});
    EXPECT_EQ(midi.sent, expected);
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
    auto form = Shown<TFormConsole>();
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
        // A frequency of the key already chosen changes nothing, so the typed text stays.
        {"EditFreq", {"441"}, 69, "A 5", "441"},
    };
    for (const auto& c : cases)
        for (const char* typed : c.typed) {
            SCOPED_TRACE(typed);
            Type(*form, c.field, typed, typed == c.typed[0] ? Qt::Key_Return : Qt::Key_Tab);
            EXPECT_EQ(std::tuple(int(form->Key()), Text(*form, "EditKey"), Text(*form, "EditFreq"),
                                 Find<TUpDown>(*form, "UpDownKey")->Position()),
                      std::tuple(c.key, QString(c.note), QString(c.frequency), c.key));
        }
    EXPECT_TRUE(prompts.shown.empty());
}

TEST_F(ConsoleTest, ArrowsAndTheBarsKeepToMidiValues) {
    auto form = Shown<TFormConsole>();
    const auto key = [&] { return QString::number(form->Key()) + " " + Text(*form, "EditKey"); };
    Arrow(*form, "UpDownKey", true);
    EXPECT_EQ(key(), "70 A# 5");
    Arrow(*form, "UpDownKey", false, 2);
    EXPECT_EQ(key(), "68 G# 5");
    // The bar's dialog takes any number, the console keeps to MIDI.
    SetBar(*form, "IBarKey", "200");
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
        auto form = Shown<TFormConsole>();
        Arrow(*form, "UpDownChannel", true, 7);
        Click(*form, "CheckBoxPoly");
        EXPECT_FALSE(Find(*form, "ButtonPlayChord")->isEnabled());
        Click(*form, "CheckBoxStayOnTop");
        EXPECT_FALSE(form->windowFlags() & Qt::WindowStaysOnTopHint);
    }
    Restart();
    auto form = Shown<TFormConsole>();
    EXPECT_EQ(form->Channel(), 10);
    EXPECT_FALSE(Checked(*form, "CheckBoxPoly") || Find(*form, "ButtonPlayChord")->isEnabled());
    EXPECT_TRUE(Checked(*form, "CheckBoxStayOnTop"));
    // Disabled, the chord button plays nothing.
    QTest::mousePress(Find(*form, "ButtonPlayChord"), Qt::LeftButton);
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
    EXPECT_TRUE(Checked(*Shown<TFormConsole>(), "CheckBoxPoly"));
}

TEST_F(ConsoleTest, VisibilityFollowsTheOptionAndClosingUnchecksIt) {
    WriteSetting("Console", "Yes");
    auto form = std::make_unique<TFormConsole>(host);
    EXPECT_TRUE(form->isVisible());
    CloseAsTheUser(*form);
    EXPECT_FALSE(form->isVisible());
    EXPECT_EQ(std::pair(host.consoleClosed, ReadSetting("Console")),
              std::pair(1, std::string("No")));
    form.reset();
    Restart();
    EXPECT_FALSE(TFormConsole(host).isVisible());
}

class ConverterTest : public ToolsTest {
protected:
    void SetUp() override {
        ToolsTest::SetUp();
        form = Shown<TFormConverter>();
        memo = Find<QPlainTextEdit>(*form, "Memo1");
        QGuiApplication::clipboard()->clear();
    }
    void Paste(const QString& text) {
        QGuiApplication::clipboard()->setText(text);
        Click(*form, "ButtonPaste");
    }
    // Exports the patch and returns the text's lines.
    QStringList Export(const PatchBytes& bytes) {
        host.temp.SetBytes(bytes, 0);
        Click(*form, "ButtonExport");
        return memo->toPlainText().split('\n');
    }

    std::unique_ptr<TFormConverter> form;
    QPlainTextEdit* memo = nullptr;
};

TEST_F(ConverterTest, ExportOfAnEmptyTemporaryPatchIsRefusedAndPasteReplacesTheText) {
    QTest::mouseClick(memo->viewport(), Qt::LeftButton);
    QTest::keyClicks(memo, "kept");
    Click(*form, "ButtonExport");
    EXPECT_EQ(prompts.Texts("error"),
              std::vector<std::string>{"Patch (Temporary Patch) is empty!"});
    EXPECT_EQ(memo->toPlainText(), "kept");
    Click(*form, "ButtonPaste"); // an empty clipboard empties the text
    EXPECT_EQ(memo->toPlainText(), "");
    Paste("line one\nline two");
    EXPECT_EQ(memo->toPlainText(), "line one\nline two");
}

// A failed import leaves the patch as it was and still updates the menu.
TEST_F(ConverterTest, ExportCopyPasteAndImportReproduceTheData) {
    PatchBytes filled{};
    std::memcpy(filled.data(), "  Lead Synth", NameSize);
    for (std::size_t i = NameSize; i < PatchSize; ++i)
        filled[i] = static_cast<std::uint8_t>((i * 37) & 0x7F);
    const QStringList exported = Export(filled);
    ASSERT_EQ(exported.size(), 22);
    EXPECT_EQ(exported[2], "<Name>Lead Synth</Name>");
    EXPECT_TRUE(exported[11].startsWith("<HexBlock>20204C65616420"));
    Click(*form, "ButtonCopy");
    EXPECT_EQ(QGuiApplication::clipboard()->text(), memo->toPlainText());
    host.temp.Clear();
    Paste("From a forum post:\r\n" + exported.join("\r\n")); // other programs' line ends
    Click(*form, "ButtonImport");
    EXPECT_EQ(host.temp.Bytes(), filled);
    EXPECT_EQ(host.tempMenuNames, std::vector<std::string>{host.temp.GetName()});
    EXPECT_FALSE(host.tempMenuNames.front().empty());
    // <Data>, the hex lines, <Check>, the ends.
    EXPECT_EQ(Export(host.temp.Bytes()).mid(10), exported.mid(10));

    QStringList lines = exported;
    lines[19] += " "; // the checksum line compares exactly
    Paste(lines.join('\n'));
    Click(*form, "ButtonImport");
    EXPECT_EQ(prompts.Texts("message"),
              (std::vector<std::string>{"Data imported", "Unable to import data"}));
    lines[19].chop(1);
    lines[12].replace(10, 2, "ZZ"); // not hexadecimal: the conversion error
    Paste(lines.join('\n'));
    Click(*form, "ButtonImport");
    EXPECT_EQ(prompts.Texts("error"),
              std::vector<std::string>{"'$ZZ' is not a valid integer value."});
    EXPECT_EQ(host.temp.Bytes(), filled);
    EXPECT_EQ(host.tempMenuNames.size(), 3u);
}

} // namespace

// The tool windows need a QApplication; without a platform chosen (CTest's test discovery)
// they run on the offscreen one.
int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
