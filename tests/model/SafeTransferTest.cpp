// Snapshot before a send, read-back after it, resumed receive, against a faulty virtual GR-33.
#include "CollectionFixture.h"
#include "gr33/PatchNumber.h"

namespace {

struct SafeTransfer : CollectionOnDevice {
    int ChangedOnDevice() {
        int changed = 0;
        for (int n = 1; n <= PatchCount; ++n)
            changed += DevicePatch(n) != DemoPatch(n);
        return changed;
    }
};

std::string Differ(int n) {
    return "Patch (" + PatchLabel(n) + ") differs after sending\n";
}

} // namespace

// No snapshot, no send; the read-back names the slots stored wrongly, Yes sends the old bank back.
TEST_F(SafeTransfer, SnapshotFirstThenReadBack) {
    const std::string ask = std::string(RestoreQuestion) + " ?";
    const struct {
        std::vector<Fault> faults;
        int changed; // slots of the device no longer as before
        bool restore;
        std::string said; // the error, or the last prompt
    } cases[] = {
        {{{FaultKind::Silent, 37}},
         0,
         false,
         "No snapshot before sending, nothing was sent: "
         "Patch (B21) not received. Operation aborted. (to send anyway, switch off \"Options\" "
         "-> \"Snapshot Before Send\")"},
        {{}, 4, false, "Sent and verified 4 patches"},
        {{{FaultKind::IgnoreWrite, 5}, {FaultKind::CorruptWrite, 128}},
         3,
         false,
         Differ(5) + Differ(128) + ask},
        {{{FaultKind::IgnoreWrite, 5}}, 0, true, Differ(5) + ask},
    };
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
TEST_F(SafeTransfer, ResumedReceiveGivesTheWholeBank) {
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
