// "Send To GR:TMP" against the simulated GR-33 behind the in-process virtual port pair, and
// what the store and send buttons take from the shown window.

#include "EditorFixture.h"

#include "controls/IBar.h"
#include "editor/OnePack.h"
#include "editor/SixPack.h"
#include "gr33/Exchange.h"
#include "midi/MidiDevices.h"
#include "sim/VirtualGr33.h"

#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>

#include <mutex>

namespace {

class SendTest : public EditorTest {
protected:
    void Install(DeviceOptions options = {}) {
        auto device = std::make_unique<Gr33Device>(std::make_unique<SimBank>(), options);
        device->Log = [this](const std::string& line) {
            std::lock_guard lock(logMutex);
            log.push_back(line);
        };
        auto backend = std::make_unique<VirtualGr33>(std::move(device));
        virtualDevice = backend.get();
        InstallMidiBackends(nullptr, std::move(backend));
    }
    void TearDown() override {
        InstallMidiBackends(nullptr, nullptr);
        EditorTest::TearDown();
    }

    PatchBytes DeviceTemp() const {
        PatchBytes bytes{};
        virtualDevice->Inspect([&](const Gr33Device& d) { bytes = d.Bank().Patch(0); });
        return bytes;
    }
    int Stored() const {
        int stored = 0;
        virtualDevice->Inspect([&](const Gr33Device& d) { stored = d.Stored(); });
        return stored;
    }
    std::vector<std::string> Log() {
        std::lock_guard lock(logMutex);
        return log;
    }
    void Send(TFormEdit& editor) {
        editor.findChild<QPushButton*>("ButtonSend")->click();
        EXPECT_EQ(QApplication::overrideCursor(), nullptr);
        EXPECT_TRUE(host.WaitBalanced());
    }

    VirtualGr33* virtualDevice = nullptr;
    std::mutex logMutex;
    std::vector<std::string> log;
};

} // namespace

TEST_F(SendTest, SendsTheControlsWithBytes65And77AsZero) {
    Install();
    TFormEdit& editor = Open(3, [](PatchBytes& b) { b[65] = 7, b[77] = 9; });
    Find<TFrameOnepack>(editor, "frameOnepack1")->SetValue(42);
    Send(editor);
    EXPECT_TRUE(prompts.shown.empty()) << prompts.Last();

    PatchBytes expected = DemoPatch(3);
    expected[12] = 42;
    expected[65] = 0;
    expected[77] = 0;
    EXPECT_EQ(DeviceTemp(), expected);
    // The edited record, Changed and the librarian stay as they were.
    EXPECT_EQ(Slot(3).Data()[12], DemoPatch(3)[12]);
    EXPECT_EQ(Slot(3).Data()[65], 7);
    EXPECT_FALSE(editor.Changed());
    EXPECT_TRUE(host.modifiedMarks.empty());
    for (const std::string& line : Log())
        EXPECT_NE(line, "identity request");
    EXPECT_EQ(host.portReads, (std::vector<std::string>{"in", "out"}));
}

TEST_F(SendTest, IdentityTestRunsFirstWhenSwitchedOn) {
    Install();
    host.testBeforeSend = true;
    TFormEdit& editor = Open(2);
    Send(editor);
    EXPECT_TRUE(prompts.shown.empty()) << prompts.Last();
    const std::vector<std::string> lines = Log();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], "identity request");
    EXPECT_EQ(lines[1], "stored Temporary Patch");
    EXPECT_EQ(host.portReads, (std::vector<std::string>{"in", "out", "in", "out"}));
}

TEST_F(SendTest, NoAnswerToTheIdentityTestSendsNothing) {
    Install({.faults = {Fault{FaultKind::Silent, std::nullopt}}});
    host.testBeforeSend = true;
    TFormEdit& editor = Open(2);
    Send(editor);
    EXPECT_EQ(prompts.Texts("error").back(), MessageText(DeviceNotFoundText));
    EXPECT_EQ(Stored(), 0);
}

TEST_F(SendTest, BothPortsAreNeededAlsoWithoutTheTest) {
    Install();
    host.midiIn = 0;
    for (bool test : {false, true}) {
        host.testBeforeSend = test;
        prompts.Clear();
        TFormEdit& editor = Open(2);
        Send(editor);
        EXPECT_EQ(prompts.Texts("error"), std::vector<std::string>{"No midi-in device found."})
            << test;
        editor.close();
    }
    EXPECT_EQ(Stored(), 0);
}

// Typed and not confirmed: the caret is still in the field when the button is clicked. Text
// that is no value of the range gives way to the last value.
TEST_F(SendTest, ButtonsTakeTheNumberTypedIntoTheField) {
    Install();
    const struct {
        const char* button;
        int page;
        const char* frame;
        int string; // 0: a single field
        const char* keys;
        int byte;
        int stored;
    } cases[] = {
        {"ButtonOkStay", 0, "frameOnepack1", 0, "42", 12, 42},    // Patch Level
        {"ButtonOkClose", 0, "FrameSixpack1", 6, "128", 28, 127}, // MIDI [PC] of string 6
        {"ButtonSend", 0, "frameOnepack2", 0, "-7", 15, 57},      // Pan
        {"ButtonOkStay", 0, "frameOnepack1", 0, "999", 12, 99},   // the third 9 is refused
        {"ButtonSend", 2, "FrameOnepack29", 0, "7", 125, 122},    // Arp Tempo 50..250 keeps 250
    };
    int number = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.keys);
        TFormEdit& editor = Open(++number, [](PatchBytes& b) {
            b[12] = 100, b[15] = 64, b[28] = 0;
            b[125] = 122, b[126] = 1;
        });
        ShowPage(editor, c.page);
        QWidget* frame = Find<QWidget>(editor, c.frame);
        QSpinBox* field = c.string ? static_cast<TFrameSixpack*>(frame)->Field(c.string)
                                   : frame->findChild<QSpinBox*>();
        QTest::mouseClick(field->findChild<QLineEdit*>(), Qt::LeftButton);
        ASSERT_EQ(QApplication::focusWidget(), field);
        QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(field, c.keys);
        QTest::mouseClick(Find<QPushButton>(editor, c.button), Qt::LeftButton);
        EXPECT_TRUE(prompts.shown.empty()) << prompts.Last();
        const bool sent = std::string(c.button) == "ButtonSend";
        EXPECT_EQ((sent ? DeviceTemp() : Slot(number).Bytes())[c.byte], c.stored);
    }
}

TEST_F(SendTest, BarShownUnusedTakesItsWholeRangeWhenUsed) {
    Install();
    TFormEdit& editor = Open(1, [](PatchBytes& b) { b[107] = 1; }); // overdrive
    ShowPage(editor, 3);                                            // slots 7..12 painted unused
    ShowPage(editor, 2);
    Pick(Find<QComboBox>(editor, "ComboBox3"), "stereo-eq");
    ShowPage(editor, 3);
    for (int i = 1; i <= 12; ++i)
        EXPECT_EQ(Find<TIBar>(editor, ("IBar" + std::to_string(i)).c_str())->Min(), 0) << i;
    auto* gain = Find<TIBar>(editor, "IBar7"); // P1 Gain (-15..+15 db), 0..30
    QTest::mouseClick(gain, Qt::LeftButton, {}, QPoint(0, gain->height() / 2));
    EXPECT_EQ(gain->Value(), 0);
    QTest::mouseClick(Find<QPushButton>(editor, "ButtonOkStay"), Qt::LeftButton);
    QTest::mouseClick(Find<QPushButton>(editor, "ButtonSend"), Qt::LeftButton);
    EXPECT_EQ(Slot(1).Data()[114], 0); // -15 dB, not the default 0 dB
    EXPECT_EQ(DeviceTemp()[114], 0);
}
