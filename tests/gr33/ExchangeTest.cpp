// Exchanges with a device in bulk-load mode over the fake ports, and the live sender taking
// its turns with them.
#include "gr33/Exchange.h"

#include "base/Errors.h"
#include "gr33/LiveSender.h"
#include "gr33/Patch.h"
#include "gr33/PatchNumber.h"
#include "gr33/SysEx.h"
#include "tests/midi/FakeMidiBackend.h"
#include "tests/support/RecordingDialogs.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <thread>

namespace {

// Answers patch requests with the data message of its patch (after a note-on, which must not
// disturb) and the identity request with its reply. Tests bend the answers.
class Exchange : public ::testing::Test {
protected:
    Exchange() {
        for (int n = 0; n <= 128; ++n)
            std::fill_n(device[n].Data(), PatchSize, n % 100 + 1);
        fake.system->replier = [this](const Bytes& message) -> std::vector<Bytes> {
            if (message == IdentityRequest()) return {identityReply};
            for (int n = 0; n <= 128 && !silent; ++n) {
                if (message != RequestMessage(n)) continue;
                Bytes reply;
                device[answerAs.value_or(n)].WriteSysEx(answerAs.value_or(n), reply);
                return {{0x90, 0x3C, 0x64}, reply};
            }
            return {};
        };
    }
    // What a receive raised; whether it failed or not, every port ends closed.
    std::string receiveFailure(int out, int in, int number) {
        const std::string failure = FailureOf([&] { TPatch().ReceiveFromDevice(out, in, number); });
        EXPECT_EQ(fake.system->OpenPorts(), 0);
        return failure;
    }

    InstalledFake fake{{{"GR-33 In", TMidiTechnology::mtMidiPort}},
                       {{"GR-33 Out", TMidiTechnology::mtMidiPort}}};
    TPatch device[129];
    Bytes identityReply = ExpectedIdentityReply();
    bool silent = false;
    std::optional<int> answerAs;
    RecordingDialogs prompts;
    ScopedPrompts guard{prompts};
};

const std::vector<std::string> FullExchange = {"open out 0", "open in 0", "send", "close in",
                                               "close out"};

// A receive opens the input before the request goes out; a failed one carries its text and
// closes what was opened.
TEST_F(Exchange, ReceiveFetchesThePatch) {
    TPatch patch, temporary;
    patch.ReceiveFromDevice(1, 1, 5);
    EXPECT_EQ(patch.Bytes(), device[5].Bytes());
    EXPECT_EQ(fake.system->sent, std::vector<Bytes>{RequestMessage(5)});
    EXPECT_EQ(fake.system->log, FullExchange);
    temporary.ReceiveFromDevice(1, 1, TempPatchNumber);
    EXPECT_EQ(temporary.Bytes(), device[0].Bytes());

    silent = true;
    EXPECT_EQ(receiveFailure(1, 1, 1), "Patch (A11) not received. Operation aborted.");
    silent = false;
    answerAs = 6;
    EXPECT_EQ(receiveFailure(1, 1, 5), "Illegal patch data format");
    answerAs.reset();
    EXPECT_EQ(receiveFailure(0, 1, 1), "Unable to open midi-out device");
    fake.system->sent.clear();
    EXPECT_EQ(receiveFailure(1, 2, 1), "Unable to open midi-in device");
    EXPECT_TRUE(fake.system->sent.empty()); // nothing is sent without a listening input
    fake.system->failSend = true;
    EXPECT_EQ(receiveFailure(1, 1, 1), "Unable to send data to open midi-out device");
    fake.system->failSend = false;
    fake.system->failCloseIn = true;
    EXPECT_EQ(receiveFailure(1, 1, 1), "Unable to close midi-in device ");
}

TEST_F(Exchange, SendWritesTheDataMessageAndSkipsEmptyPatches) {
    EXPECT_FALSE(TPatch().SendToDevice(1, 7));
    EXPECT_TRUE(fake.system->log.empty());
    Bytes expected;
    device[9].WriteSysEx(7, expected);
    EXPECT_TRUE(device[9].SendToDevice(1, 7));
    EXPECT_EQ(fake.system->sent, std::vector<Bytes>{expected});
    EXPECT_EQ(fake.system->log, (std::vector<std::string>{"open out 0", "send", "close out"}));
    fake.system->failOpenOut = true;
    EXPECT_THROW(device[9].SendToDevice(1, 7), EKelvoError);
}

// The identity test compares the whole reply; only a port failure is a communication error,
// and only RequireDevice passes it on, before it raises "not found".
TEST_F(Exchange, IdentityTestAnswers) {
    EXPECT_EQ(TestDevice(1, 1), DeviceAnswer::Found);
    EXPECT_EQ(fake.system->log, FullExchange);
    EXPECT_EQ(fake.system->sent, std::vector<Bytes>{IdentityRequest()});
    std::vector<std::string> warnings;
    const auto warn = [&](const std::string& text) { warnings.push_back(text); };
    EXPECT_NO_THROW(RequireDevice(1, 1, warn));

    identityReply.insert(identityReply.end() - 1, 0x00); // one more byte still fits the buffer
    EXPECT_EQ(TestDevice(1, 1), DeviceAnswer::NotFound);
    identityReply.insert(identityReply.end() - 1, {0x00, 0x00, 0x00}); // cut to 16 bytes
    EXPECT_EQ(TestDevice(1, 1), DeviceAnswer::NotFound);
    EXPECT_THROW(RequireDevice(1, 1, warn), EKelvoError);
    EXPECT_TRUE(warnings.empty());
    fake.system->replier = nullptr;
    EXPECT_EQ(TestDevice(1, 1), DeviceAnswer::NotFound);
    EXPECT_TRUE(prompts.shown.empty());

    EXPECT_EQ(TestDevice(1, 2), DeviceAnswer::CommunicationError);
    fake.system->failSend = true;
    EXPECT_EQ(TestDevice(1, 1), DeviceAnswer::CommunicationError);
    EXPECT_EQ(fake.system->OpenPorts(), 0);
    EXPECT_EQ(FailureOf([&] { RequireDevice(1, 1, warn); }), DeviceNotFoundText);
    EXPECT_EQ(warnings, std::vector<std::string>{CommunicationErrorText});
    EXPECT_TRUE(prompts.shown.empty());
    // What a window shows for each answer, in order.
    const std::string notFound = "GR-33 not found (Check MIDI connection, GR-33 must be in "
                                 "\"SYSTEM:BULK LOAD Waiting...\" mode)";
    using Texts = std::vector<std::string>;
    EXPECT_EQ(DeviceAnswerTexts(DeviceAnswer::Found), Texts{"GR-33 found"});
    EXPECT_EQ(DeviceAnswerTexts(DeviceAnswer::NotFound), Texts{notFound});
    EXPECT_EQ(DeviceAnswerTexts(DeviceAnswer::CommunicationError),
              (Texts{"Warning: Communication or device error", notFound}));
}

struct LiveSending : Exchange {
    LiveSender sender{[](const std::string& text) { ADD_FAILURE() << text; }};
};

// A burst ends on its last patch, with at most two messages after the first.
TEST_F(LiveSending, BurstsAreCoalesced) {
    for (int burst : {1, 100, 100}) {
        const std::size_t before = fake.system->sent.size();
        for (int k = 1; k <= burst; ++k)
            sender.Post(1, device[k].Bytes());
        sender.WaitIdle();
        EXPECT_LE(fake.system->sent.size() - before, std::min(burst, 3)) << burst;
        Bytes expected;
        device[burst].WriteSysEx(TempPatchNumber, expected);
        EXPECT_EQ(fake.system->sent.back(), expected) << burst;
    }
}

// The first failed send is told, once; what is posted after it is dropped.
TEST_F(Exchange, LiveSenderStopsAtTheFirstFailure) {
    std::vector<std::string> told;
    LiveSender failing{[&](const std::string& text) { told.push_back(text); }};
    fake.system->failOpenOut = true;
    failing.Post(1, device[1].Bytes());
    failing.WaitIdle();
    fake.system->failOpenOut = false;
    failing.Post(1, device[2].Bytes());
    failing.WaitIdle();
    EXPECT_TRUE(failing.Failed());
    EXPECT_EQ(told, std::vector<std::string>{"Unable to open midi-out device"});
    EXPECT_TRUE(fake.system->sent.empty());
}

// The editor posts while exchanges go on until a live send came between two of them (bounded,
// for a loaded machine); the pause gives the sender's thread its chance at the turn. The output
// is never opened twice.
TEST_F(LiveSending, ExchangesNeverShareThePortWithALiveSend) {
    std::atomic<bool> done{false};
    std::thread editing([&] {
        for (int k = 1; !done;
             k = k % 128 + 1, std::this_thread::sleep_for(std::chrono::milliseconds(7)))
            sender.Post(1, device[k].Bytes());
    });
    const auto liveSendBetweenExchanges = [&] {
        std::lock_guard lock(fake.system->mutex);
        const auto& sent = fake.system->sent;
        const auto first = std::ranges::find(sent, IdentityRequest());
        const auto live =
            std::find_if(first, sent.end(), [](const Bytes& m) { return m != IdentityRequest(); });
        return std::find(live, sent.end(), IdentityRequest()) != sent.end();
    };
    for (int round = 0; round < 8 || (!liveSendBetweenExchanges() && round < 3000); ++round) {
        EXPECT_EQ(TestDevice(1, 1), DeviceAnswer::Found);
        std::this_thread::sleep_for(std::chrono::milliseconds(3));
    }
    done = true;
    editing.join();
    sender.WaitIdle();
    EXPECT_TRUE(liveSendBetweenExchanges()) << "no live send between two exchanges in 3000 rounds";
    int open = 0;
    for (const std::string& entry : fake.system->log) {
        open += entry == "open out 0" ? 1 : entry == "close out" ? -1 : 0;
        EXPECT_LE(open, 1);
    }
}

} // namespace
