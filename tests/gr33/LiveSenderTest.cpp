// The live sender over the fake ports: bursts coalesced, turns with the exchanges on the port.
#include "gr33/LiveSender.h"

#include "gr33/Exchange.h"
#include "gr33/PatchNumber.h"
#include "gr33/SysEx.h"
#include "tests/midi/FakeMidiBackend.h"

#include <gtest/gtest.h>

#include <thread>

namespace {

PatchBytes Numbered(int k) {
    PatchBytes bytes;
    return bytes.fill(static_cast<std::uint8_t>(k % 100 + 1)), bytes;
}

struct LiveSending : ::testing::Test {
    InstalledFake fake{{{"In"}}, {{"Out"}}};
    LiveSender sender{[](const std::string& text) { ADD_FAILURE() << text; }};
};

TEST_F(LiveSending, BurstsEndOnTheLastPatchWithAtMostTwoMessagesAfterTheFirst) {
    for (int burst : {1, 100, 100}) {
        const std::size_t before = fake.system->sent.size();
        for (int k = 1; k <= burst; ++k)
            sender.Post(1, Numbered(k));
        sender.WaitIdle();
        EXPECT_LE(fake.system->sent.size() - before, std::min(burst, 3)) << burst;
        TPatch last;
        std::ranges::copy(Numbered(burst), last.Data());
        Bytes expected;
        last.WriteSysEx(TempPatchNumber, expected);
        EXPECT_EQ(fake.system->sent.back(), expected) << burst;
    }
}

TEST_F(LiveSending, ExchangesNeverShareThePortWithALiveSend) {
    fake.system->replier = [](const Bytes& m) {
        return m == IdentityRequest() ? std::vector<Bytes>{ExpectedIdentityReply()}
                                      : std::vector<Bytes>{};
    };
    std::atomic<bool> done{false};
    std::thread editing([&] {
        for (int k = 1; !done; ++k, std::this_thread::sleep_for(std::chrono::milliseconds(7)))
            sender.Post(1, Numbered(k));
    });
    for (int round = 0; round < 8; ++round)
        EXPECT_EQ(TestDevice(1, 1), DeviceAnswer::Found);
    done = true;
    editing.join();
    sender.WaitIdle();
    int open = 0;
    for (const std::string& entry : fake.system->log) {
        open += entry == "open out 0" ? 1 : entry == "close out" ? -1 : 0;
        EXPECT_LE(open, 1);
    }
    EXPECT_GT(fake.system->sent.size(), 10u); // live sends went on between the exchanges
}

} // namespace
