// The snapshot before a collection send, the read-back after it and the resumed receive,
// against the virtual GR-33 and its faults.

#include "CollectionFixture.h"
#include "gr33/PatchNumber.h"
#include "midi/MidiDevices.h"
#include "sim/DemoBank.h"
#include "sim/VirtualGr33.h"

namespace {

class SafeTransfer : public CollectionTest {
protected:
    SafeTransfer() { Install({}); }
    ~SafeTransfer() override { InstallMidiBackends(nullptr, nullptr); }

    // The device's memory is its file: a new name starts from the demo bank.
    void Install(std::vector<Fault> faults, const std::string& file = "device.G33") {
        auto device = CreateVirtualGr33(folder.File(file), {.faults = std::move(faults)});
        virtual_ = device.get();
        InstallMidiBackends(nullptr, std::move(device));
        collection.Ports().ChooseIn(1);
        collection.Ports().ChooseOut(1);
    }
    PatchBytes DevicePatch(int number) {
        PatchBytes bytes{};
        virtual_->Inspect([&](const Gr33Device& d) { bytes = d.Bank().Patch(number); });
        return bytes;
    }
    bool DeviceHoldsDemoBank() {
        for (int n = 1; n <= PatchCount; ++n)
            if (DevicePatch(n) != DemoPatch(n)) return false;
        return true;
    }
    VirtualGr33* virtual_ = nullptr;
};

std::string Lines(const std::vector<int>& numbers) {
    std::string lines;
    for (int n : numbers)
        lines +=
            (lines.empty() ? "" : "\n") + ("Patch (" + PatchLabel(n) + ") differs after sending");
    return lines;
}

} // namespace

// A bank that cannot be received first is not overwritten; switched off, the send goes ahead.
TEST_F(SafeTransfer, SnapshotThatFailsSendsNothing) {
    Fill(collection, {2, 40});
    Install({Fault{FaultKind::Silent, 37}});
    const std::string error = ErrorOf([&] { collection.SendCollection(); });
    EXPECT_TRUE(error.starts_with("No snapshot before sending, nothing was sent: Patch (" +
                                  PatchLabel(37) + ") not received."))
        << error;
    EXPECT_TRUE(error.ends_with("switch off \"Options\" -> \"Snapshot Before Send\")")) << error;
    EXPECT_TRUE(DeviceHoldsDemoBank());
    EXPECT_TRUE(view.seen.empty());
    EXPECT_FALSE(view.transferOpen);

    WriteSetting("SnapshotBeforeSend", "No");
    WriteSetting("VerifyAfterSend", "No");
    collection.SendCollection();
    EXPECT_EQ(DevicePatch(40), NamedPatch(40));
    EXPECT_TRUE(prompts.shown.empty());
}

// The read-back names exactly the slots the device did not store as sent; answering the offer
// sends the snapshot back, so the device holds its old bank again.
TEST_F(SafeTransfer, ReadBackNamesTheDifferingSlots) {
    const struct {
        std::vector<Fault> faults;
        std::vector<int> differing;
        bool restore;
    } cases[] = {
        {{}, {}, false},
        {{Fault{FaultKind::IgnoreWrite, 5}}, {5}, true},
        {{Fault{FaultKind::CorruptWrite, 5}, Fault{FaultKind::IgnoreWrite, 128}}, {5, 128}, false},
        {{Fault{FaultKind::IgnoreWrite, std::nullopt}}, {3, 5, 100, 128}, true},
    };
    int round = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(Lines(c.differing));
        Install(c.faults, "device" + std::to_string(++round) + ".G33");
        prompts.Clear();
        view.seen.clear();
        Fill(collection, {3, 5, 100, 128});
        prompts.confirmAnswers = {c.restore};
        collection.SendCollection();
        ASSERT_EQ(view.seen.size(), 1u);
        EXPECT_EQ(view.seen[0].first.place, "before send (Virtual GR-33)");
        EXPECT_EQ(view.seen[0].second.size(), 128u);
        if (c.differing.empty()) {
            EXPECT_EQ(prompts.Texts("message"),
                      std::vector<std::string>{"Sent and verified 4 patches"});
            EXPECT_EQ(DevicePatch(100), NamedPatch(100));
            continue;
        }
        EXPECT_EQ(prompts.Texts("confirm"),
                  std::vector<std::string>{Lines(c.differing) + "\n" + RestoreQuestion + " ?"});
        EXPECT_EQ(DeviceHoldsDemoBank(), c.restore);
    }

    // One patch has no snapshot to offer: the difference is the error.
    Install({Fault{FaultKind::CorruptWrite, 100}});
    EXPECT_EQ(ErrorOf([&] { collection.SendPatch(100); }), Lines({100}));
    prompts.Clear();
    collection.SendPatch(3);
    EXPECT_EQ(prompts.Texts("message"), std::vector<std::string>{"Sent and verified 1 patches"});
}

// A receive stopped at slot k (no reply or Cancel) goes on there and ends with the collection
// and the snapshot an uninterrupted receive gives.
TEST_F(SafeTransfer, ResumedReceiveGivesTheWholeBank) {
    for (int k : {1, 37, 128}) {
        SCOPED_TRACE(k);
        FakeObserver observer;
        TCollection target(observer);
        for (bool cancel : {false, true}) {
            Install({Fault{FaultKind::Silent, k}});
            target.Ports().ChooseIn(1), target.Ports().ChooseOut(1);
            observer.cancelAtStep = cancel ? k - 1 : -1;
            EXPECT_NE(ErrorOf([&] { target.ReceiveCollection(); }), "");
            EXPECT_TRUE(target.CanResumeReceive());
        }
        Install({});
        target.Ports().ChooseIn(1), target.Ports().ChooseOut(1);
        observer.cancelAtStep = -1;
        observer.steps.clear();
        observer.seen.clear();
        target.ResumeReceive();
        EXPECT_FALSE(target.CanResumeReceive());
        ASSERT_FALSE(observer.steps.empty());
        EXPECT_EQ(observer.steps.front(),
                  "Receiving " + PatchLabel(k) + " (" + std::to_string(k) + " of 128)");
        for (int n = 1; n <= PatchCount; ++n)
            ASSERT_EQ(target.Slot(n).Bytes(), DemoPatch(n)) << n;
        ASSERT_EQ(observer.seen.size(), 1u);
        ASSERT_EQ(observer.seen[0].second.size(), 128u);
        EXPECT_EQ(observer.seen[0].second[127].bytes, DemoPatch(128));
        EXPECT_TRUE(target.Modified());
    }
}
