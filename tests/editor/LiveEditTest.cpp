// "Send Edits Live": a bar drag, a typed value, a list pick and the name reach the simulated
// GR-33's temporary patch as the bytes the editor shows, without identity test or wait window;
// a send to a port gone is told once and turns live sending off for the window.
#include "EditorFixture.h"

#include "midi/MidiDevices.h"
#include "sim/VirtualGr33.h"

TEST_F(EditorTest, LiveEditingEndsOnWhatTheEditorShowsAfterEveryGesture) {
    std::atomic<int> identityTests{0};
    auto gr33 = std::make_unique<Gr33Device>(std::make_unique<SimBank>());
    gr33->Log = [&](const std::string& line) { identityTests += line == "identity request"; };
    auto device = std::make_unique<VirtualGr33>(std::move(gr33));
    auto deviceTemp = [gr33 = device.get()] {
        PatchBytes bytes{};
        gr33->Inspect([&](const Gr33Device& d) { bytes = d.Bank().Patch(0); });
        return bytes;
    };
    InstallMidiBackends(nullptr, std::move(device));
    host.liveEdit = host.testBeforeSend = true; // no identity test for live sends
    TFormEdit& editor = Open(3, [](PatchBytes& b) { b[65] = 7, b[107] = 1; }); // overdrive
    const auto gestures = EditGestures(editor);
    host.waitShows = 0; // the one of the opening
    TPatch shown;
    for (std::size_t g = 0; g < gestures.size(); ++g) {
        const PatchBytes before = shown.Bytes();
        gestures[g]();
        editor.StoreShown(shown);
        EXPECT_NE(shown.Bytes(), before) << g;
        EXPECT_TRUE(QTest::qWaitFor([&] { return deviceTemp() == shown.Bytes(); }, 3000)) << g;
    }
    EXPECT_EQ(deviceTemp()[65] + identityTests + host.waitShows, 0);

    host.midiOut = 5; // a port gone
    for (const char* keys : {"43", "44"})
        Type(editor, "frameOnepack1", 0, keys),
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return), QTest::qWait(100);
    EXPECT_EQ(prompts.Texts("error"), std::vector<std::string>{"Unable to open midi-out device."});
    EXPECT_EQ(editor.windowTitle(), "Patch Editor (A13) (live sending off)");
    CloseEditor(Slot(3));
    InstallMidiBackends(nullptr, nullptr);
}
