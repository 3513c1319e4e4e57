// Receive and send of the collection, the selected patch and the temporary patch through the
// virtual GR-33; failure and cancel part-way.

#include "FakeView.h"
#include "base/RecordingDialogs.h"
#include "gr33/Exchange.h"
#include "midi/MidiDevices.h"
#include "model/Collection.h"
#include "model/Settings.h"
#include "sim/DemoBank.h"
#include "sim/VirtualGr33.h"

#include <gtest/gtest.h>

namespace {

class CollectionDevice : public ::testing::Test {
protected:
    void SetUp() override {
        Settings().Start(folder.File("settings.ini"));
        Install({});
        view.in = 1;
        view.out = 1;
    }
    void TearDown() override { InstallMidiBackends(nullptr, nullptr); }

    void Install(DeviceOptions options) {
        auto device = CreateVirtualGr33(folder.File("device.G33"), options);
        virtual_ = device.get();
        InstallMidiBackends(nullptr, std::move(device));
    }
    PatchBytes DevicePatch(int number) {
        PatchBytes bytes{};
        virtual_->Inspect([&](const Gr33Device& d) { bytes = d.Bank().Patch(number); });
        return bytes;
    }

    ScratchFolder folder;
    RecordingDialogs prompts;
    ScopedPrompts guard{prompts};
    FakeView view;
    TCollection collection{view};
    VirtualGr33* virtual_ = nullptr;
};

TEST_F(CollectionDevice, ReceiveCollectionFillsEverySlotAndMarksModified) {
    collection.SetCollectionFile("bank.G33", false);
    collection.ReceiveCollection();
    EXPECT_EQ(collection.Slot(1).Bytes(), DemoPatch(1));
    EXPECT_EQ(collection.Slot(128).Bytes(), DemoPatch(128));
    EXPECT_EQ(collection.Title(), "KelvoLight 1.01 (* bank.G33)");
    ASSERT_EQ(view.steps.size(), 128u);
    EXPECT_EQ(view.steps[10], "Receiving A33 (11 of 128)");
    EXPECT_FALSE(view.transferOpen);
    EXPECT_EQ(view.busyDepth, 0);
}

TEST_F(CollectionDevice, ReceiveFailingPartWayKeepsEarlierSlotsAndMarksModified) {
    Install({.faults = {Fault{FaultKind::Silent, 37}}});
    collection.Slot(37).SetBytes(NamedPatch("Mine"), 37);
    try {
        collection.ReceiveCollection();
        FAIL() << "timeout expected";
    } catch (const EKelvoError& e) {
        EXPECT_STREQ(e.what(), "Patch (B21) not received. Operation aborted.");
    }
    EXPECT_EQ(collection.Slot(36).Bytes(), DemoPatch(36));
    EXPECT_EQ(collection.Slot(37).GetName(), "Mine        ");
    EXPECT_TRUE(collection.Slot(38).IsEmpty());
    EXPECT_TRUE(collection.Modified());
    EXPECT_FALSE(view.transferOpen);
    EXPECT_EQ(view.busyDepth, 0);
}

TEST_F(CollectionDevice, CancelEndsTheReceiveAtThatSlot) {
    view.cancelAtStep = 10; // before A33, the 11th patch
    try {
        collection.ReceiveCollection();
        FAIL() << "cancel expected";
    } catch (const EKelvoError& e) {
        EXPECT_STREQ(e.what(), "Operation cancelled");
    }
    EXPECT_EQ(collection.Slot(10).Bytes(), DemoPatch(10));
    EXPECT_TRUE(collection.Slot(11).IsEmpty());
    EXPECT_TRUE(collection.Modified());

    // Cancelled before the first slot: nothing was replaced, nothing is marked.
    FakeView other;
    other.in = other.out = 1;
    other.cancelAtStep = 0;
    TCollection untouched(other);
    EXPECT_THROW(untouched.ReceiveCollection(), EKelvoError);
    EXPECT_FALSE(untouched.Modified());
}

TEST_F(CollectionDevice, SelectedAndTemporaryPatchRoundTrip) {
    collection.Slot(6).SetBytes(NamedPatch("Sent"), 6);
    view.testBeforeSend = true;
    collection.SendPatch(6);
    EXPECT_EQ(DevicePatch(6), collection.Slot(6).Bytes());

    collection.ReceivePatch(2);
    EXPECT_EQ(collection.Slot(2).Bytes(), DemoPatch(2));
    EXPECT_TRUE(collection.Modified());
    EXPECT_EQ(view.cells.back(), 2);

    collection.SetCollectionFile("", false);
    collection.TempPatch().SetBytes(NamedPatch("Tmp"), 0);
    collection.SendTempPatch();
    EXPECT_EQ(DevicePatch(0), collection.TempPatch().Bytes());
    EXPECT_EQ(DevicePatch(1), DemoPatch(1)); // no user patch overwritten
    collection.TempPatch().Clear();
    collection.ReceiveTempPatch();
    EXPECT_EQ(collection.TempPatchCaption(), "Temporary Patch (Tmp)");
    EXPECT_FALSE(collection.Modified());
}

TEST_F(CollectionDevice, SendRefusalsComeBeforeAnyExchange) {
    try {
        collection.SendPatch(3);
        FAIL() << "empty slot sent";
    } catch (const EKelvoError& e) {
        EXPECT_STREQ(e.what(), "Patch (A13) is empty!");
    }
    EXPECT_EQ(view.busyCalls, 0); // refused before the hourglass

    collection.Slot(3).SetBytes(NamedPatch("X"), 3);
    view.in.reset(); // an input port is needed even without the test
    try {
        collection.SendPatch(3);
        FAIL() << "sent without input port";
    } catch (const EKelvoError& e) {
        EXPECT_STREQ(e.what(), "No midi-in device found");
    }
    EXPECT_EQ(DevicePatch(3), DemoPatch(3));
}

TEST_F(CollectionDevice, SendTestThatFindsNoDeviceStopsTheSend) {
    Install({.faults = {Fault{FaultKind::Silent, std::nullopt}}});
    collection.Slot(1).SetBytes(NamedPatch("X"), 1);
    view.testBeforeSend = true;
    try {
        collection.SendCollection();
        FAIL() << "send without device";
    } catch (const EKelvoError& e) {
        EXPECT_STREQ(e.what(), DeviceNotFoundText);
    }
    EXPECT_TRUE(view.steps.empty());
}

TEST_F(CollectionDevice, SendingAnEmptyCollectionSendsNothing) {
    collection.SendCollection();
    EXPECT_EQ(prompts.Texts("message"), std::vector<std::string>{"No patches in collection!"});
    EXPECT_EQ(DevicePatch(1), DemoPatch(1));
    EXPECT_EQ(view.steps.size(), 128u);
    EXPECT_EQ(view.steps[0], "Sending A11 (1 of 128)");
}

} // namespace
