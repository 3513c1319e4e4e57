// "Send Edits Live" through RtMidi's JACK backend to gr33-sim: after each of a user's edits
// the simulator's temporary patch, read back with the librarian's own receive, is what the
// editor shows. The receives run while live sends may still be on their way, so they also show
// that an exchange and a live send take turns on the port. Run by e2e.sh on its server.
#include "tests/editor/EditorFixture.h"

#include "cli/DevicePorts.h"
#include "gr33/PatchNumber.h"
#include "midi/MidiDevices.h"
#include "midi/RtMidiBackend.h"

TEST_F(EditorTest, LiveEditsThroughJackEndOnTheSimulatorsTemporaryPatch) {
    InstallMidiBackends(CreateRtMidiBackend("jack"), nullptr);
    host.midiOut = FindPort("GR-33 Simulator In", false);
    host.midiIn = FindPort("GR-33 Simulator Out", true);
    host.liveEdit = host.testBeforeSend = true;
    TFormEdit& editor = Open(3, [](PatchBytes& b) { b[107] = 1; }); // overdrive: bar 1 in use
    TPatch device;
    auto deviceTemp = [&] {
        device.ReceiveFromDevice(host.midiOut, host.midiIn, TempPatchNumber);
        return device.Bytes();
    };
    for (const auto& gesture : EditGestures(editor)) {
        gesture();
        const PatchBytes shown = ShownBytes(editor);
        EXPECT_TRUE(QTest::qWaitFor([&] { return deviceTemp() == shown; }, 5000))
            << PatchLabel(3) << " differs from the device's temporary patch";
    }
    EXPECT_EQ(prompts.Texts("error"), std::vector<std::string>{});
}
