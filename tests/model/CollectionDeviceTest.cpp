// Receives and sends through the virtual GR-33: ports, the send test, failure, cancel; the
// snapshot before a send, the read-back after it and the resumed receive, against its faults.

#include "CollectionFixture.h"
#include "gr33/Exchange.h"

namespace {

struct CollectionDevice : CollectionOnDevice {
    int ChangedOnDevice() {
        int changed = 0;
        for (int n = 1; n <= PatchCount; ++n)
            changed += DevicePatch(n) != DemoPatch(n);
        return changed;
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
                EXPECT_EQ(target.Slot(3).GetName() + target.TempPatch().GetName(), P(3) + P(9));
                EXPECT_EQ(DevicePatch(3), DemoPatch(3));
                EXPECT_FALSE(observer.busyDepth || observer.transferOpen || target.Modified() ||
                             !observer.seen.empty());
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
        EXPECT_FALSE(observer.transferOpen || observer.busyDepth);
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
    // Only stored slots are read back: the temporary patch's send tells of no verifying.
    EXPECT_EQ(prompts.Texts("message"), std::vector<std::string>{"Sent and verified 1 patches"});
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
    EXPECT_EQ(ChangedOnDevice(), 2);
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

std::string Differ(int n) {
    return "Patch (" + PatchLabel(n) + ") differs after sending\n";
}

// No snapshot, no send; the read-back names the slots stored wrongly, Yes sends the old bank back.
TEST_F(CollectionDevice, SnapshotFirstThenReadBack) {
    const std::string ask = std::string(RestoreQuestion) + " ?",
                      noSnapshot = "No snapshot before sending, nothing was sent: Patch (B21) not "
                                   "received. Operation aborted. (to send anyway, switch off "
                                   "\"Options\" -> \"Snapshot Before Send\")",
                      two = Differ(5) + Differ(128) + ask;
    const struct {
        int changed; // slots of the device no longer as before
        bool restore;
        std::vector<Fault> faults;
        std::string said; // the error, or the last prompt
    } cases[] = {{0, false, {{FaultKind::Silent, 37}}, noSnapshot},
                 {4, false, {}, "Sent and verified 4 patches"},
                 {3, false, {{FaultKind::IgnoreWrite, 5}, {FaultKind::CorruptWrite, 128}}, two},
                 {0, true, {{FaultKind::IgnoreWrite, 5}}, Differ(5) + ask}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.said);
        Install(c.faults);
        prompts.Clear();
        view.seen.clear();
        prompts.confirmAnswers = {c.restore};
        Fill(collection, {3, 5, 100, 128});
        const std::string error = FailureOf([&] { collection.SendCollection(); });
        EXPECT_EQ(error.empty() ? prompts.Last() : error, c.said);
        EXPECT_EQ(ChangedOnDevice(), c.changed);
        EXPECT_EQ(view.seen.size(), error.empty() ? 1u : 0u); // the snapshot
    }
    WriteSetting("SnapshotBeforeSend", "No"); // the receive that failed is not tried
    Install({{FaultKind::Silent, 37}});
    collection.SendCollection();
    EXPECT_EQ(ChangedOnDevice(), 4);
    // One patch has no snapshot to offer: the difference is the error.
    Install({{FaultKind::CorruptWrite, 100}});
    EXPECT_EQ(FailureOf([&] { collection.SendPatch(100); }) + "\n", Differ(100));
}

// A receive stopped at slot k resumes there and ends as an uninterrupted receive would.
TEST_F(CollectionDevice, ResumedReceiveGivesTheWholeBank) {
    for (int k : {1, 37, 128}) {
        SCOPED_TRACE(k);
        Install({{FaultKind::Silent, k}});
        view.cancelAtStep = k == 128 ? 127 : -1;
        EXPECT_NE(FailureOf([&] { collection.ReceiveCollection(); }), "");
        Install({});
        view.cancelAtStep = -1, view.steps.clear(), view.seen.clear();
        collection.ResumeReceive();
        EXPECT_FALSE(collection.CanResumeReceive());
        EXPECT_EQ(view.steps.size(), 129u - k);
        ASSERT_EQ(view.seen.size(), 1u);
        EXPECT_EQ(view.seen[0].second.size(), 128u);
        for (int n = 1; n <= PatchCount; ++n)
            ASSERT_EQ(collection.Slot(n).Bytes(), DemoPatch(n)) << n;
    }
}

} // namespace
