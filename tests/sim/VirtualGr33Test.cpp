#include "sim/VirtualGr33.h"
#include "SimTestSupport.h"
#include "base/Errors.h"
#include "base/RecordingDialogs.h"
#include "gr33/CollectionFile.h"
#include "gr33/Exchange.h"
#include "midi/MidiDevices.h"
#include "sim/DemoBank.h"

#include <gtest/gtest.h>

#include <condition_variable>
#include <mutex>

using namespace std::chrono_literals;

namespace {

// Collects what an input port delivers.
struct Inbox {
    std::mutex mutex;
    std::condition_variable arrived;
    std::vector<Bytes> messages;

    MidiMessageHandler Handler() {
        return [this](std::span<const std::uint8_t> m) {
            std::lock_guard lock(mutex);
            messages.emplace_back(m.begin(), m.end());
            arrived.notify_all();
        };
    }
    bool WaitFor(std::size_t count, std::chrono::milliseconds timeout) {
        std::unique_lock lock(mutex);
        return arrived.wait_for(lock, timeout, [&] { return messages.size() >= count; });
    }
};

std::unique_ptr<VirtualGr33> memoryDevice(DeviceOptions options = {}) {
    return std::make_unique<VirtualGr33>(
        std::make_unique<Gr33Device>(std::make_unique<SimBank>(), std::move(options)));
}

} // namespace

TEST(VirtualGr33, OffersOnePortEachWay) {
    auto device = memoryDevice();
    ASSERT_EQ(device->InputPorts().size(), 1u);
    ASSERT_EQ(device->OutputPorts().size(), 1u);
    EXPECT_EQ(device->InputPorts()[0].name, "Virtual GR-33");
    EXPECT_EQ(device->OutputPorts()[0].name, "Virtual GR-33");
    EXPECT_THROW(device->OpenOutput(1), EMidiOut);
    EXPECT_THROW(device->OpenInput(-1, [](auto) {}), EMidiIn);
}

TEST(VirtualGr33, DeliversRepliesWhenDueAndOnlyToOpenInputs) {
    DeviceOptions options;
    options.delay = 80ms;
    auto device = memoryDevice(options);
    Inbox inbox;
    auto input = device->OpenInput(0, inbox.Handler());
    auto output = device->OpenOutput(0);

    auto start = std::chrono::steady_clock::now();
    output->Send(IdentityRequest());
    ASSERT_TRUE(inbox.WaitFor(1, 2s));
    EXPECT_GE(std::chrono::steady_clock::now() - start, 80ms);
    EXPECT_EQ(inbox.messages[0], ExpectedIdentityReply());

    output->Send(IdentityRequest());
    input->Close(); // closed before the reply is due
    std::this_thread::sleep_for(150ms);
    EXPECT_EQ(inbox.messages.size(), 1u);
}

TEST(VirtualGr33, ServesTheExchangeOfTheDeviceList) {
    ScratchFolder folder;
    auto bankFile = folder.File("virtual.G33");
    InstallMidiBackends(nullptr, CreateVirtualGr33(bankFile));
    RecordingDialogs prompts;
    ScopedPrompts scoped(prompts);

    EXPECT_TRUE(FindDevice(1, 1));
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

TEST(VirtualGr33, DefaultBankFollowsTheDataFolder) {
    const char* saved = std::getenv("XDG_DATA_HOME");
    std::string keep = saved ? saved : "";
    setenv("XDG_DATA_HOME", "/some/data", 1);
    EXPECT_EQ(DefaultVirtualBankPath(), "/some/data/KelvoLight/virtual-gr33.G33");
    unsetenv("XDG_DATA_HOME");
    std::string home = std::getenv("HOME") ? std::getenv("HOME") : "";
    if (!home.empty()) {
        EXPECT_EQ(DefaultVirtualBankPath(), home + "/.local/share/KelvoLight/virtual-gr33.G33");
    }
    if (saved) setenv("XDG_DATA_HOME", keep.c_str(), 1);
}
