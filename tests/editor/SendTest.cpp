// "Send To GR:TMP" against the simulated GR-33 behind the in-process virtual port pair.

#include "EditorFixture.h"

#include "editor/OnePack.h"
#include "gr33/Exchange.h"
#include "midi/MidiDevices.h"
#include "sim/VirtualGr33.h"

#include <QPushButton>

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
