// Receives and sends through the virtual GR-33: ports, the send test, failure, cancel.

#include "CollectionFixture.h"
#include "gr33/Exchange.h"

namespace {

struct CollectionDevice : CollectionOnDevice {
    static void Choose(TCollection& target, int in, int out) {
        if (in) target.Ports().ChooseIn(in);
        if (out) target.Ports().ChooseOut(out);
    }
};

// Every device command needs both ports, the input checked first, and refuses before any exchange.
TEST_F(CollectionDevice, EveryCommandNeedsBothPorts) {
    const std::vector<std::function<void(TCollection&)>> commands = {
        [](TCollection& c) { c.ReceiveCollection(); }, [](TCollection& c) { c.SendCollection(); },
        [](TCollection& c) { c.ReceiveTempPatch(); },  [](TCollection& c) { c.SendTempPatch(); },
        [](TCollection& c) { c.ReceivePatch(3); },     [](TCollection& c) { c.SendPatch(3); }};
    const std::tuple<int, int, const char*> choices[] = {{0, 1, "No midi-in device found"},
                                                         {1, 0, "No midi-out device found"},
                                                         {0, 0, "No midi-in device found"}};
    for (bool test : {false, true})
        for (const auto& [in, out, error] : choices)
            for (std::size_t k = 0; k < commands.size(); ++k) {
                SCOPED_TRACE(testing::Message() << "command " << k << " test " << test << error);
                FakeObserver observer;
                TCollection target(observer);
                Choose(target, in, out);
                target.Ports().SetTestBeforeSend(test);
                Fill(target, {3});
                target.TempPatch().SetBytes(NamedPatch(9), 0);
                EXPECT_EQ(FailureOf([&] { commands[k](target); }), error);
                EXPECT_EQ(target.Slot(3).GetName(), P(3));
                EXPECT_EQ(target.TempPatch().GetName(), P(9));
                EXPECT_EQ(DevicePatch(3), DemoPatch(3));
                EXPECT_EQ(observer.busyDepth, 0);
                EXPECT_FALSE(observer.transferOpen || target.Modified() || !observer.seen.empty());
            }
}

// A receive keeps what it replaced and marks the collection for it, also when it stops.
TEST_F(CollectionDevice, ReceiveCollectionWholeOrPartWay) {
    const std::tuple<const char*, int, int, const char*, int> cases[] = {
        // what, cancel before patch (0: never), silent at patch, error, patches replaced
        {"all", 0, 0, "", 128},
        {"cancel before A33", 11, 0, "Operation cancelled", 10},
        {"cancel before the first", 1, 0, "Operation cancelled", 0},
        {"device silent at B21", 0, 37, "Patch (B21) not received. Operation aborted.", 36},
    };
    for (const auto& [what, cancel, silent, error, replaced] : cases) {
        SCOPED_TRACE(what);
        if (silent) Install({Fault{FaultKind::Silent, silent}});
        FakeObserver observer;
        observer.cancelAtStep = cancel - 1;
        TCollection target(observer);
        Choose(target, 1, 1);
        target.SetCollectionFile("bank.G33", false);
        if (replaced < PatchCount) Fill(target, {replaced + 1});
        EXPECT_EQ(FailureOf([&] { target.ReceiveCollection(); }), error);
        for (int n = 1; n <= PatchCount; ++n)
            ASSERT_EQ(target.Slot(n).Bytes(), n <= replaced       ? DemoPatch(n)
                                              : n == replaced + 1 ? NamedPatch(n)
                                                                  : TPatch().Bytes())
                << n;
        EXPECT_EQ(observer.cells.size(), std::size_t(replaced));
        ExpectSeen(observer, target, SightingKind::Snapshot, VirtualGr33PortName,
                   Range(1, replaced));
        EXPECT_EQ(observer.steps.size(), std::size_t(cancel ? cancel : silent ? silent : 128));
        EXPECT_EQ(observer.steps[0], "Receiving A11 (1 of 128)");
        EXPECT_EQ(target.Title(),
                  replaced ? "KelvoLight 1.01 (* bank.G33)" : "KelvoLight 1.01 (bank.G33)");
        EXPECT_FALSE(observer.transferOpen);
        EXPECT_EQ(observer.busyDepth, 0);
    }
}

TEST_F(CollectionDevice, SelectedAndTemporaryPatchRoundTrip) {
    Fill(collection, {6});
    collection.Ports().SetTestBeforeSend(true);
    collection.SendPatch(6);
    EXPECT_EQ(DevicePatch(6), NamedPatch(6));
    EXPECT_FALSE(collection.Modified());

    collection.ReceivePatch(2);
    EXPECT_EQ(collection.Slot(2).Bytes(), DemoPatch(2));
    EXPECT_TRUE(collection.Modified());
    EXPECT_EQ(view.cells, std::vector<int>{2});
    ExpectSeen(view, collection, SightingKind::Device, VirtualGr33PortName, {2});

    collection.SetCollectionFile("", false);
    collection.TempPatch().SetBytes(NamedPatch(9), 0);
    collection.SendTempPatch();
    EXPECT_EQ(DevicePatch(0), NamedPatch(9));
    EXPECT_EQ(DevicePatch(1), DemoPatch(1)); // no user patch overwritten
    collection.TempPatch().Clear();
    collection.ReceiveTempPatch();
    EXPECT_EQ(collection.TempPatch().GetName(), P(9));
    ExpectSeen(view, collection, SightingKind::Device, VirtualGr33PortName, {0});
    EXPECT_EQ(view.tempMenus, 1);
    EXPECT_FALSE(collection.Modified());
    EXPECT_EQ(view.busyDepth, 0);
}

TEST_F(CollectionDevice, SendCollectionSendsFilledSlotsOnly) {
    collection.SendCollection();
    EXPECT_EQ(prompts.Texts("message"), std::vector<std::string>{"No patches in collection!"});
    ASSERT_EQ(view.steps.size(), 128u);
    EXPECT_EQ(view.steps[10], "Sending A33 (11 of 128)");

    prompts.Clear();
    Fill(collection, {2, 128});
    collection.SendCollection();
    EXPECT_EQ(prompts.Texts("message"), std::vector<std::string>{"Sent and verified 2 patches"});
    EXPECT_EQ(DevicePatch(1), DemoPatch(1));
    EXPECT_EQ(DevicePatch(2), NamedPatch(2));
    EXPECT_EQ(DevicePatch(128), NamedPatch(128));
}

TEST_F(CollectionDevice, SendRefusals) {
    EXPECT_EQ(FailureOf([&] { collection.SendPatch(3); }), "Patch (A13) is empty!");
    EXPECT_EQ(FailureOf([&] { collection.SendTempPatch(); }), "Patch (Temporary Patch) is empty!");
    EXPECT_EQ(view.busyCalls, 0); // refused before the hourglass

    Install({Fault{FaultKind::Silent, std::nullopt}});
    Fill(collection, {1});
    collection.TempPatch().SetBytes(NamedPatch(9), 0);
    collection.Ports().SetTestBeforeSend(true);
    for (auto send : {&TCollection::SendCollection, &TCollection::SendTempPatch})
        EXPECT_EQ(FailureOf([&] { (collection.*send)(); }), DeviceNotFoundText);
    EXPECT_EQ(FailureOf([&] { collection.SendPatch(1); }), DeviceNotFoundText);
    EXPECT_TRUE(view.steps.empty());
}

} // namespace
