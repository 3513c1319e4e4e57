// The safe bulk transfers driven through the menus: a send whose read-back finds a slot the
// device ignored offers the snapshot back, and "Resume Receive" finishes a receive that stopped.
#include "WindowFixture.h"

#include "gr33/CollectionFile.h"
#include "sim/DemoBank.h"
#include "sim/VirtualGr33.h"

namespace {

class SafeTransferWindow : public WindowTest {
protected:
    VirtualGr33* Install(std::vector<Fault> faults) {
        auto backend = CreateVirtualGr33(File("device.G33"), {.faults = std::move(faults)});
        VirtualGr33* device = backend.get();
        InstallMidiBackends(nullptr, std::move(backend));
        return device;
    }
    static PatchBytes Held(VirtualGr33* device, int number) {
        PatchBytes bytes{};
        device->Inspect([&](const Gr33Device& d) { bytes = d.Bank().Patch(number); });
        return bytes;
    }
    // The demo bank with every name's first letter changed, as a collection file.
    std::string ChangedBank() {
        auto slots = std::make_unique<std::array<TPatch, 128>>();
        std::array<const TPatch*, 128> records;
        for (int n = 1; n <= 128; ++n) {
            PatchBytes bytes = DemoPatch(n);
            bytes[0] = 'Z';
            (*slots)[n - 1].SetBytes(bytes, n);
            records[n - 1] = &(*slots)[n - 1];
        }
        WriteCollectionFile(File("changed.G33"), records);
        return File("changed.G33");
    }
};

} // namespace

TEST_F(SafeTransferWindow, ReadBackOffersTheSnapshotAndResumeFinishesAReceive) {
    VirtualGr33* device = Install({Fault{FaultKind::IgnoreWrite, 11}});
    Open();
    EXPECT_TRUE(Find("SnapshotBeforeSend1")->isChecked());
    EXPECT_TRUE(Find("VerifyAfterSend1")->isChecked());
    prompts.fileAnswers = {ChangedBank()};
    Choose("LoadCollection");

    prompts.confirmAnswers = {true};
    Choose("SendCollection1");
    EXPECT_EQ(prompts.Texts("confirm"),
              std::vector<std::string>{"Patch (A33) differs after sending\n"
                                       "Send back the patches the device held before ?"});
    EXPECT_EQ(Held(device, 12), DemoPatch(12)); // sent back

    // Without the read-back the send ends quietly, the changed bank stored.
    prompts.Clear();
    Choose("VerifyAfterSend1");
    Choose("SendCollection1");
    EXPECT_TRUE(prompts.shown.empty());
    EXPECT_EQ(Held(device, 12)[0], 'Z');
    EXPECT_EQ(ReadSetting("VerifyAfterSend"), "No");

    // A receive that stops at B21 can be resumed there once the device answers again.
    EXPECT_FALSE(Find("ResumeReceive1")->isEnabled());
    Install({Fault{FaultKind::Silent, 37}});
    Choose("ReceiveCollection1");
    EXPECT_EQ(prompts.Texts("error"),
              std::vector<std::string>{"Patch (B21) not received. Operation aborted."});
    EXPECT_TRUE(Find("ResumeReceive1")->isEnabled());
    EXPECT_EQ(window_->Collection().Slot(37).Bytes()[0], 'Z'); // not yet received
    device = Install({});
    Choose("ResumeReceive1");
    EXPECT_FALSE(Find("ResumeReceive1")->isEnabled());
    for (int n = 1; n <= 128; ++n)
        ASSERT_EQ(window_->Collection().Slot(n).Bytes(), Held(device, n)) << n;
    EXPECT_EQ(window_->windowTitle(), "KelvoLight 1.01 (* changed.G33)");
}
