// The live sender over the fake ports: bursts coalesced, turns with the exchanges on the port.
#include "gr33/LiveSender.h"

#include "gr33/Exchange.h"
#include "gr33/PatchNumber.h"
#include "gr33/SysEx.h"
#include "tests/midi/FakeMidiBackend.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <ranges>
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
        for (int k = 1; k <= 40; ++k, std::this_thread::sleep_for(std::chrono::milliseconds(7)))
            sender.Post(1, Numbered(k));
        done = true;
    });
    // Exchanges go on for as long as the editor posts, so that the two meet on the port.
    // A pause between them gives the sender's thread its chance at the turn.
    for (int round = 0; round < 8 || !done; ++round) {
        EXPECT_EQ(TestDevice(1, 1), DeviceAnswer::Found);
        std::this_thread::sleep_for(std::chrono::milliseconds(3));
    }
    editing.join();
    sender.WaitIdle();
    int open = 0;
    for (const std::string& entry : fake.system->log) {
        open += entry == "open out 0" ? 1 : entry == "close out" ? -1 : 0;
        EXPECT_LE(open, 1);
    }
    const auto& sent = fake.system->sent;
    const auto first = std::ranges::find(sent, IdentityRequest());
    const auto last = std::ranges::find(sent | std::views::reverse, IdentityRequest()).base();
    EXPECT_NE(std::find_if(first, last, [](const Bytes& m) { return m != IdentityRequest(); }),
              last); // live sends went on between the exchanges
}

} // namespace
