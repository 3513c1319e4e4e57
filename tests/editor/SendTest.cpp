// "Send To GR:TMP" against the simulated GR-33 behind the in-process virtual port pair, and
// what the store and send buttons take from the shown window.

#include "EditorFixture.h"

#include "gr33/Exchange.h"
#include "midi/MidiDevices.h"
#include "sim/VirtualGr33.h"

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
        Click(editor, "ButtonSend");
        EXPECT_EQ(QApplication::overrideCursor(), nullptr);
        EXPECT_EQ(host.waitOpen, 0);
    }

    VirtualGr33* virtualDevice = nullptr;
    std::mutex logMutex;
    std::vector<std::string> log;
};

} // namespace

// Both ports are needed, the input asked for first, also without the identity test; with the
// test on, a device that does not answer it gets nothing, one that answers gets the patch.
TEST_F(SendTest, PortsAndTheIdentityTestComeBeforeTheSend) {
    const struct {
        bool test, silent;
        int in;
        std::string error; // "" when sent
    } cases[] = {{false, false, 0, "No midi-in device found."},
                 {true, false, 0, "No midi-in device found."},
                 {true, true, 1, MessageText(DeviceNotFoundText)},
                 {true, false, 1, ""}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.error + (c.test ? " with the test" : ""));
        Install({.faults = c.silent ? std::vector{Fault{FaultKind::Silent, std::nullopt}}
                                    : std::vector<Fault>{}});
        host.testBeforeSend = c.test, host.midiIn = c.in;
        prompts.Clear(), host.portReads.clear(), log.clear();
        TFormEdit& editor = Open(2);
        Send(editor);
        EXPECT_EQ(prompts.Texts("error"),
                  c.error.empty() ? std::vector<std::string>{} : std::vector{c.error});
        EXPECT_EQ(prompts.shown.size(), c.error.empty() ? 0u : 1u) << prompts.Last();
        EXPECT_EQ(Stored(), c.error.empty() ? 1 : 0);
        Click(editor, "ButtonCancel");
    }
    EXPECT_EQ(Log(), (std::vector<std::string>{"identity request", "stored Temporary Patch"}));
    EXPECT_EQ(host.portReads, (std::vector<std::string>{"in", "out", "in", "out"}));
}

// Typed and not confirmed: the caret is still in the field when the button is clicked. Text
// that is no value of the range gives way to the last value. A send goes out with bytes 65 and
// 77 as 0 and leaves the record, Changed and the librarian alone.
TEST_F(SendTest, ButtonsTakeTheNumberTypedIntoTheField) {
    Install();
    const struct {
        const char* button;
        const char* frame;
        int string; // 0: a single field
        const char* keys;
        int byte;
        int stored;
    } cases[] = {
        {"ButtonOkStay", "frameOnepack1", 0, "42", 12, 42},    // Patch Level
        {"ButtonOkClose", "FrameSixpack1", 6, "128", 28, 127}, // MIDI [PC] of string 6
        {"ButtonSend", "frameOnepack2", 0, "-7", 15, 57},      // Pan
        {"ButtonOkStay", "frameOnepack1", 0, "999", 12, 99},   // the third 9 is refused
        {"ButtonSend", "FrameOnepack29", 0, "7", 125, 122},    // Arp Tempo 50..250 keeps 250
    };
    int number = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.keys);
        TFormEdit& editor = Open(++number, [](PatchBytes& b) {
            b[12] = 100, b[15] = 64, b[28] = 0, b[65] = 7, b[77] = 9, b[125] = 122, b[126] = 1;
        });
        const PatchBytes opened = Slot(number).Bytes();
        Type(editor, c.frame, c.string, c.keys);
        Click(editor, c.button);
        EXPECT_TRUE(prompts.shown.empty()) << prompts.Last();
        PatchBytes expected = opened;
        expected[c.byte] = static_cast<std::uint8_t>(c.stored);
        if (std::string(c.button) != "ButtonSend") {
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
TEST_F(SendTest, AnotherTypeSetsItsDefaultsAndItsWholeRanges) {
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
    for (int i = 1; i <= 12; ++i) {
        EXPECT_EQ(Bar(editor, i)->isEnabled(), i <= 8) << i;
        EXPECT_EQ(Bar(editor, i)->Value(), defaults[i - 1]) << i;
    }
    EXPECT_EQ(editor.Patch().Data()[107], 1);
    // Balance (D100:0E..D0:100E), 0..100: the far left is D100:0E, not the default.
    QTest::mouseClick(Bar(editor, 7), Qt::LeftButton, {}, QPoint(0, 6));
    Click(editor, "ButtonOkStay");
    Click(editor, "ButtonSend");
    EXPECT_EQ(Slot(1).Data()[107], 23);
    EXPECT_EQ(Slot(1).Data()[114], 0);
    EXPECT_EQ(DeviceTemp()[114], 0);
}
