// "Send Edits Live": the user's gestures in a shown editor reach the simulated GR-33's
// temporary patch as the bytes the editor shows, without identity test or wait window; a
// failed send turns live sending off for that window.

#include "EditorFixture.h"

#include "midi/MidiDevices.h"
#include "sim/VirtualGr33.h"

#include <functional>

namespace {

class LiveHost : public FakeHost {
public:
    bool liveEdit = true;
    bool LiveEdit() const override { return liveEdit; }
};

class LiveEdit : public EditorTest {
protected:
    LiveEdit() {
        auto device = std::make_unique<Gr33Device>(std::make_unique<SimBank>());
        device->Log = [this](const std::string& line) {
            identityRequests += line == "identity request";
        };
        auto backend = std::make_unique<VirtualGr33>(std::move(device));
        virtualDevice = backend.get();
        InstallMidiBackends(nullptr, std::move(backend));
    }
    void TearDown() override {
        EditorTest::TearDown();
        InstallMidiBackends(nullptr, nullptr);
    }

    TFormEdit& OpenLive(int number) {
        PatchBytes bytes = DemoPatch(number);
        bytes[65] = 7, bytes[77] = 9, bytes[107] = 1; // overdrive: bars 1..6 in use
        Fill(Slot(number), bytes);
        OpenEditor(Slot(number), number, live);
        TFormEdit* editor = EditorOf(Slot(number));
        EXPECT_TRUE(QTest::qWaitForWindowActive(editor));
        return *editor;
    }
    static PatchBytes Shown(const TFormEdit& editor) {
        TPatch scratch;
        editor.StoreShown(scratch);
        return scratch.Bytes();
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

    // Presses the left button at the first x, moves through the others and releases.
    static void Drag(TIBar* bar, std::initializer_list<int> xs) {
        ShowPageOf(bar);
        const int y = bar->height() / 2;
        QTest::mousePress(bar, Qt::LeftButton, {}, QPoint(*xs.begin(), y));
        for (int x : xs)
            QTest::mouseEvent(QTest::MouseMove, bar, Qt::NoButton, {}, QPoint(x, y));
        QTest::mouseRelease(bar, Qt::LeftButton, {}, QPoint(*(xs.end() - 1), y));
    }

    LiveHost live;
    VirtualGr33* virtualDevice = nullptr;
    std::atomic<int> identityRequests{0};
};

} // namespace

TEST_F(LiveEdit, EveryGestureEndsWithTheDeviceHoldingWhatTheEditorShows) {
    live.testBeforeSend = true; // not for live sends
    TFormEdit& editor = OpenLive(3);
    live.waitShows = 0; // the one of the opening
    const struct {
        const char* what;
        std::function<void()> gesture;
    } gestures[] = {
        {"bar drag",
         [&] {
             Drag(Bar(editor, 1), {5, 60, 140, 230, 300});
         }},
        {"typed value",
         [&] {
             Type(editor, "frameOnepack1", 0, "42");
             QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
         }},
        {"list pick", [&] { Pick(editor, "ComboBox3", "reverb"); }},
        {"field step",
         [&] {
             Type(editor, "FrameSixpack1", 6, "");
             QTest::keyClick(QApplication::focusWidget(), Qt::Key_Up);
         }},
        {"name",
         [&] {
             auto* name = Find<QLineEdit>(editor, "Edit1");
             ShowPageOf(name);
             QTest::mouseClick(name, Qt::LeftButton);
             QTest::keyClick(name, Qt::Key_A, Qt::ControlModifier);
             QTest::keyClicks(name, "Zz");
         }},
    };
    for (const auto& g : gestures) {
        SCOPED_TRACE(g.what);
        const PatchBytes before = Shown(editor);
        g.gesture();
        const PatchBytes after = Shown(editor);
        EXPECT_NE(after, before);
        EXPECT_TRUE(QTest::qWaitFor([&] { return DeviceTemp() == after; }, 3000));
        EXPECT_EQ(DeviceTemp()[65] + DeviceTemp()[77], 0);
    }
    EXPECT_TRUE(prompts.shown.empty()) << prompts.Last();
    EXPECT_EQ(identityRequests, 0);
    EXPECT_EQ(live.waitShows, 0);
    EXPECT_EQ(editor.windowTitle(), "Patch Editor (A13)");
    // The record is the user's to store; live sends leave it alone.
    EXPECT_EQ(editor.Patch().Data()[65], 7);
    EXPECT_FALSE(editor.Changed());
}

TEST_F(LiveEdit, AFailedSendIsToldOnceAndTurnsLiveSendingOffForThatWindow) {
    const struct {
        const char* what;
        bool liveEdit;
        int midiOut;
        std::vector<std::string> errors;
    } cases[] = {
        {"switched off", false, 1, {}},
        {"no MIDI-OUT port", true, 0, {"No midi-out device found."}},
        {"port gone", true, 5, {"Unable to open midi-out device."}},
    };
    int number = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        prompts.Clear();
        live.liveEdit = c.liveEdit;
        live.midiOut = c.midiOut;
        TFormEdit& editor = OpenLive(++number);
        for (const char* keys : {"42", "43"}) {
            Type(editor, "frameOnepack1", 0, keys);
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
            QTest::qWait(150);
        }
        EXPECT_EQ(prompts.Texts("error"), c.errors);
        EXPECT_EQ(editor.windowTitle().endsWith(" (live sending off)"), !c.errors.empty());
        // Only live sending went off: the button still sends.
        live.midiOut = 1;
        Click(editor, "ButtonSend");
        EXPECT_EQ(Stored(), number);
        Click(editor, "ButtonCancel");
    }
}
