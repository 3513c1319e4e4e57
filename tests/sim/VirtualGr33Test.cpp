#include "sim/VirtualGr33.h"
#include "SimTestSupport.h"
#include "base/Errors.h"
#include "gr33/CollectionFile.h"
#include "gr33/Exchange.h"
#include "midi/MidiDevices.h"
#include "sim/DemoBank.h"
#include "tests/support/RecordingDialogs.h"

#include <gtest/gtest.h>

#include <mutex>

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

TEST(VirtualGr33, OffersOnePortEachWayAndRepliesWhenDueToOpenInputsOnly) {
    DeviceOptions options;
    options.delay = 80ms;
    VirtualGr33 device(std::make_unique<Gr33Device>(std::make_unique<SimBank>(), options));
    for (const auto& ports : {device.InputPorts(), device.OutputPorts()})
        EXPECT_EQ(ports.size() == 1 ? ports[0].name : "", "Virtual GR-33");
    EXPECT_THROW(device.OpenOutput(1), EMidiOut);
    EXPECT_THROW(device.OpenInput(-1, [](auto) {}), EMidiIn);

    std::mutex mutex;
    std::vector<std::pair<Clock::duration, Bytes>> inbox;
    const auto start = Clock::now();
    auto input = device.OpenInput(0, [&](std::span<const std::uint8_t> m) {
        std::lock_guard lock(mutex);
        inbox.emplace_back(Clock::now() - start, Bytes(m.begin(), m.end()));
    });
    auto output = device.OpenOutput(0);
    output->Send(IdentityRequest());
    std::this_thread::sleep_for(150ms);
    output->Send(IdentityRequest());
    input->Close(); // closed before the reply is due
    std::this_thread::sleep_for(150ms);
    std::lock_guard lock(mutex);
    ASSERT_EQ(inbox.size(), 1u);
    EXPECT_GE(inbox[0].first, 80ms);
    EXPECT_EQ(inbox[0].second, ExpectedIdentityReply());
}

TEST(VirtualGr33, ServesTheExchangeOfTheDeviceList) {
    ScratchFolder folder;
    auto bankFile = folder.File("virtual.G33");
    InstallMidiBackends(nullptr, CreateVirtualGr33(bankFile));
    RecordingDialogs prompts;
    ScopedPrompts scoped(prompts);
    EXPECT_EQ(TestDevice(1, 1), DeviceAnswer::Found);
    TPatch patch;
    patch.ReceiveFromDevice(1, 1, 7);
    EXPECT_EQ(patch.Bytes(), DemoPatch(7));
    patch.SetBytes(FilledPatch(0x21, "Sent to D84"), 0);
    ASSERT_TRUE(patch.SendToDevice(1, 128));
    TPatch back;
    back.ReceiveFromDevice(1, 1, 128);
    EXPECT_EQ(back.Bytes(), patch.Bytes());
    EXPECT_EQ(ParseCollection(ReadWholeFile(bankFile))[127], patch.Bytes());
    InstallMidiBackends(nullptr, nullptr);
}

// Data messages posted just before the device closes are all stored, none dropped at the close.
TEST(VirtualGr33, StoresEveryMessagePostedBeforeItCloses) {
    ScratchFolder folder;
    auto bankFile = folder.File("virtual.G33");
    {
        auto device = CreateVirtualGr33(bankFile);
        auto output = device->OpenOutput(0);
        TPatch patch;
        for (int n = 1; n <= 16; ++n) {
            patch.SetBytes(FilledPatch(n, "Slot"), n);
            Bytes message;
            patch.WriteSysEx(n, message);
            output->Send(message);
        }
    }
    const auto stored = ParseCollection(ReadWholeFile(bankFile));
    for (int n = 1; n <= 16; ++n)
        EXPECT_EQ(stored[n - 1], FilledPatch(n, "Slot")) << n;
}

TEST(VirtualGr33, DefaultBankFollowsTheDataFolder) {
    const char* saved = std::getenv("XDG_DATA_HOME");
    const std::string keep = saved ? saved : "";
    setenv("XDG_DATA_HOME", "/some/data", 1);
    EXPECT_EQ(DefaultVirtualBankPath(), "/some/data/KelvoLight/virtual-gr33.G33");
    unsetenv("XDG_DATA_HOME");
    if (const char* home = std::getenv("HOME")) {
        EXPECT_EQ(DefaultVirtualBankPath(),
                  std::string(home) + "/.local/share/KelvoLight/virtual-gr33.G33");
    }
    if (saved) setenv("XDG_DATA_HOME", keep.c_str(), 1);
}
