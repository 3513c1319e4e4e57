// Through the menus: a send whose read-back finds a slot the device ignored offers the old bank
// back, and "Resume Receive" finishes a receive that stopped.
#include "WindowFixture.h"

#include "sim/DemoBank.h"
#include "sim/VirtualGr33.h"

TEST_F(WindowTest, ReadBackOffersTheOldBankAndResumeFinishesAReceive) {
    auto install = [&](std::vector<Fault> faults) {
        auto backend = CreateVirtualGr33(File("device.G33"), {.faults = std::move(faults)});
        VirtualGr33* device = backend.get();
        InstallMidiBackends(nullptr, std::move(backend));
        return device;
    };
    VirtualGr33* device = install({{FaultKind::IgnoreWrite, 12}});
    Open();
    prompts.fileAnswers = {PatchFile(), PatchFile()};
    for (int n : {12, 13})
        ClickCell(n), Choose("LoadPatch1"); // the demo's first patch into A34 and A41
    prompts.confirmAnswers = {true};
    Choose("SendCollection1");
    EXPECT_EQ(prompts.Last(), "Patch (A34) differs after sending\n"
                              "Send back the patches the device held before ?");
    device->Inspect([](const Gr33Device& d) { EXPECT_EQ(d.Bank().Patch(13), DemoPatch(13)); });
    EXPECT_FALSE(Find("ResumeReceive1")->isEnabled());
    install({{FaultKind::Silent, 37}});
    Choose("ReceiveCollection1");
    EXPECT_EQ(prompts.Last(), "Patch (B21) not received. Operation aborted.");
    ASSERT_TRUE(Find("ResumeReceive1")->isEnabled());
    install({});
    Choose("ResumeReceive1");
    EXPECT_FALSE(Find("ResumeReceive1")->isEnabled());
    for (int n = 1; n <= 128; ++n)
        ASSERT_EQ(window_->Collection().Slot(n).Bytes(), DemoPatch(n)) << n;
}
