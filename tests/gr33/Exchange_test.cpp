#include "gr33/Exchange.h"

#include "base/Errors.h"
#include "base/RecordingDialogs.h"
#include "gr33/Patch.h"
#include "gr33/PatchNumber.h"
#include "gr33/SysEx.h"
#include "tests/midi/FakeMidiBackend.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>

namespace {

// A device in bulk-load mode over the fake ports: answers patch requests with the data
// message of its patch and the identity request with its reply. Tests bend its answers.
class Exchange : public ::testing::Test {
protected:
    Exchange() {
        for (int n = 0; n <= 128; ++n) {
            PatchBytes bytes{};
            std::fill(bytes.begin(), bytes.end(), static_cast<std::uint8_t>(n % 100 + 1));
            device[n].SetBytes(bytes, n);
        }
        fake.system->replier = [this](const Bytes& message) { return answer(message); };
    }

    std::vector<Bytes> answer(const Bytes& message) {
        if (message == IdentityRequest()) return {identityReply};
        for (int n = 0; n <= 128; ++n) {
            if (message == RequestMessage(n)) {
                if (silent) return {};
                Bytes reply;
                device[answerAs.value_or(n)].WriteSysEx(answerAs.value_or(n), reply);
                return {{0x90, 0x3C, 0x64}, reply}; // a note-on first must not disturb
            }
        }
        return {};
    }

    std::vector<std::string> log() const { return fake.system->log; }

    InstalledFake fake{{{"GR-33 In", TMidiTechnology::mtMidiPort}},
                       {{"GR-33 Out", TMidiTechnology::mtMidiPort}}};
    TPatch device[129];
    Bytes identityReply = ExpectedIdentityReply();
    bool silent = false;
    std::optional<int> answerAs;
    RecordingDialogs prompts;
    ScopedPrompts guard{prompts};
};

std::string failureOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const std::exception& e) {
        return e.what();
    }
    return "no failure";
}

const std::vector<std::string> FullExchange = {"open out 0", "open in 0", "send", "close in",
                                               "close out"};

TEST_F(Exchange, ReceiveFetchesThePatchWithInputOpenBeforeTheRequest) {
    TPatch patch;
    patch.ReceiveFromDevice(1, 1, 5);
    EXPECT_EQ(patch.Bytes(), device[5].Bytes());
    EXPECT_EQ(fake.system->sent, std::vector<Bytes>{RequestMessage(5)});
    EXPECT_EQ(log(), FullExchange);

    TPatch temporary;
    temporary.ReceiveFromDevice(1, 1, TempPatchNumber);
    EXPECT_EQ(temporary.Bytes(), device[0].Bytes());
}

TEST_F(Exchange, NoReplyIsReportedWithThePatchLabel) {
    silent = true;
    TPatch patch;
    EXPECT_EQ(failureOf([&] { patch.ReceiveFromDevice(1, 1, 1); }),
              "Patch (A11) not received. Operation aborted.");
    EXPECT_TRUE(patch.IsEmpty());
    EXPECT_EQ(log(), FullExchange);
}

TEST_F(Exchange, ReplyForAnotherPatchIsRejected) {
    answerAs = 6;
    TPatch patch;
    EXPECT_EQ(failureOf([&] { patch.ReceiveFromDevice(1, 1, 5); }), "Illegal patch data format");
    EXPECT_TRUE(patch.IsEmpty());
    EXPECT_EQ(log(), FullExchange);
}

TEST_F(Exchange, PortFailuresCarryTheirTextsAndCloseWhatWasOpened) {
    TPatch patch;
    EXPECT_EQ(failureOf([&] { patch.ReceiveFromDevice(0, 1, 1); }),
              "Unable to open midi-out device");
    EXPECT_EQ(failureOf([&] { patch.ReceiveFromDevice(1, 2, 1); }),
              "Unable to open midi-in device");
    EXPECT_EQ(fake.system->OpenPorts(), 0);
    EXPECT_TRUE(fake.system->sent.empty()); // nothing is sent without a listening input

    fake.system->failSend = true;
    EXPECT_EQ(failureOf([&] { patch.ReceiveFromDevice(1, 1, 1); }),
              "Unable to send data to open midi-out device");
    EXPECT_EQ(fake.system->OpenPorts(), 0);

    fake.system->failSend = false;
    fake.system->failCloseIn = true;
    EXPECT_EQ(failureOf([&] { patch.ReceiveFromDevice(1, 1, 1); }),
              "Unable to close midi-in device ");
    EXPECT_EQ(fake.system->OpenPorts(), 0);
    EXPECT_TRUE(patch.IsEmpty());
}

TEST_F(Exchange, SendWritesTheDataMessageAndSkipsEmptyPatches) {
    TPatch empty;
    EXPECT_FALSE(empty.SendToDevice(1, 7));
    EXPECT_TRUE(log().empty());

    Bytes expected;
    device[9].WriteSysEx(7, expected);
    EXPECT_TRUE(device[9].SendToDevice(1, 7));
    EXPECT_EQ(fake.system->sent, std::vector<Bytes>{expected});
    EXPECT_EQ(log(), (std::vector<std::string>{"open out 0", "send", "close out"}));

    fake.system->failOpenOut = true;
    EXPECT_EQ(failureOf([&] { device[9].SendToDevice(1, 7); }), "Unable to open midi-out device");
}

TEST_F(Exchange, IdentityTestComparesTheWholeReply) {
    EXPECT_TRUE(FindDevice(1, 1));
    EXPECT_EQ(log(), FullExchange);
    EXPECT_EQ(fake.system->sent, std::vector<Bytes>{IdentityRequest()});

    // One more byte before F7 still fits the 16-byte buffer, and differs.
    identityReply.insert(identityReply.end() - 1, 0x00);
    EXPECT_FALSE(FindDevice(1, 1));
    // A long reply that starts like the right one is cut to 16 bytes, and differs too.
    identityReply.insert(identityReply.end() - 1, {0x00, 0x00, 0x00});
    EXPECT_FALSE(FindDevice(1, 1));
    EXPECT_TRUE(prompts.shown.empty()); // not found is no error
}

TEST_F(Exchange, IdentityTestWithoutReplyFindsNothing) {
    fake.system->replier = nullptr;
    EXPECT_FALSE(FindDevice(1, 1));
    EXPECT_TRUE(prompts.shown.empty());
    EXPECT_EQ(fake.system->OpenPorts(), 0);
}

TEST_F(Exchange, IdentityTestCatchesPortFailures) {
    EXPECT_FALSE(FindDevice(1, 2));
    fake.system->failSend = true;
    EXPECT_FALSE(FindDevice(1, 1));
    EXPECT_EQ(prompts.Texts("message"),
              (std::vector<std::string>{CommunicationErrorText, CommunicationErrorText}));
    EXPECT_EQ(fake.system->OpenPorts(), 0);
}

TEST_F(Exchange, TestDeviceAnswersAndShowsNothing) {
    EXPECT_EQ(TestDevice(1, 1), DeviceAnswer::Found);
    EXPECT_EQ(DeviceAnswerTexts(DeviceAnswer::Found), std::vector<std::string>{"GR-33 found"});
    EXPECT_EQ(TestDevice(0, 1), DeviceAnswer::CommunicationError);
    EXPECT_TRUE(prompts.shown.empty());
    EXPECT_EQ(DeviceAnswerTexts(DeviceAnswer::CommunicationError),
              (std::vector<std::string>{
                  "Warning: Communication or device error",
                  "GR-33 not found (Check MIDI connection, GR-33 must be in \"SYSTEM:BULK LOAD "
                  "Waiting...\" mode)"}));
}

} // namespace
