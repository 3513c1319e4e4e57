#include "sim/Gr33Device.h"
#include "SimTestSupport.h"
#include "base/Errors.h"
#include "gr33/Catalogue.h"
#include "gr33/PatchNumber.h"
#include "sim/DemoBank.h"

#include <gtest/gtest.h>

using namespace std::chrono_literals;

namespace {

Gr33Device makeDevice(DeviceOptions options = {}) {
    return Gr33Device(std::make_unique<SimBank>(), std::move(options));
}

Gr33Device faultyDevice(std::vector<std::string> faults) {
    DeviceOptions options;
    for (const auto& f : faults)
        options.faults.push_back(*ParseFault(f));
    return makeDevice(options);
}

// Reads a reply as the data message of the number; the patch bytes or the error text.
std::string readAs(int number, const Bytes& reply, PatchBytes* out = nullptr) {
    TPatch patch;
    ByteReader reader(reply);
    try {
        patch.ReadSysEx(number, reader);
    } catch (const EKelvoError& e) {
        return e.what();
    }
    if (out) *out = patch.Bytes();
    return "ok";
}

} // namespace

TEST(Gr33Device, AnswersTheIdentityRequestToItsOwnIdOrEveryDevice) {
    auto device = makeDevice();
    auto replies = device.Receive(IdentityRequest());
    ASSERT_EQ(replies.size(), 1u);
    EXPECT_EQ(replies[0].bytes, ExpectedIdentityReply());
    Bytes broadcast{0xF0, 0x7E, 0x7F, 0x06, 0x01, 0xF7};
    EXPECT_EQ(device.Receive(broadcast).size(), 1u);
    Bytes otherDevice{0xF0, 0x7E, 0x11, 0x06, 0x01, 0xF7};
    EXPECT_TRUE(device.Receive(otherDevice).empty());
}

TEST(Gr33Device, AnswersARequestWithThatPatchOfItsMemory) {
    auto device = makeDevice();
    for (int number : {1, 37, 128, TempPatchNumber}) {
        auto replies = device.Receive(RequestMessage(number));
        ASSERT_EQ(replies.size(), 1u) << number;
        PatchBytes bytes;
        ASSERT_EQ(readAs(number, replies[0].bytes, &bytes), "ok") << number;
        EXPECT_EQ(bytes, device.Bank().Patch(number));
        EXPECT_EQ(replies[0].due, 0us);
    }
}

TEST(Gr33Device, StoresValidDataMessagesAndAnswersWithTheStoredPatch) {
    auto device = makeDevice();
    auto bytes = FilledPatch(0x11, "Stored B23");
    int b23 = *PatchNumberOfLabel("B23");
    EXPECT_TRUE(device.Receive(DataMessage(b23, bytes)).empty());
    EXPECT_EQ(device.Stored(), 1);
    EXPECT_EQ(device.Bank().Patch(b23), bytes);
    EXPECT_EQ(device.Bank().Patch(b23 + 1), DemoPatch(b23 + 1));

    auto temp = FilledPatch(0x22, "Temp");
    device.Receive(DataMessage(TempPatchNumber, temp));
    PatchBytes back;
    ASSERT_EQ(readAs(TempPatchNumber, device.Receive(RequestMessage(0))[0].bytes, &back), "ok");
    EXPECT_EQ(back, temp);
}

TEST(Gr33Device, IgnoresInvalidMessages) {
    auto device = makeDevice();
    auto valid = DataMessage(5, FilledPatch(0x11, "X"));
    auto badChecksum = valid;
    badChecksum[138] ^= 1;
    auto eightBit = DataMessage(5, FilledPatch(0x11, "X"));
    eightBit[40] = 0x81; // also ends the message early as a status byte
    Bytes shortened(valid.begin(), valid.begin() + 100);
    shortened.push_back(0xF7);
    auto badAddress = valid;
    badAddress[6] = 0x03;
    auto badRequest = RequestMessage(5);
    badRequest[11] = 0x02; // asks for 256 bytes
    badRequest[14] = RolandChecksum(std::span(badRequest).subspan(6, 8));
    auto requestBadChecksum = RequestMessage(5);
    requestBadChecksum[14] ^= 1;
    auto unterminated = valid;
    unterminated.pop_back();

    for (const Bytes& m : {badChecksum, eightBit, shortened, badAddress, badRequest,
                           requestBadChecksum, unterminated})
        EXPECT_TRUE(device.Receive(m).empty());
    EXPECT_EQ(device.Stored(), 0);
    EXPECT_GE(device.Rejected(), 7);
    EXPECT_EQ(device.Bank().Patch(5), DemoPatch(5));
}

TEST(Gr33Device, TakesSeveralMessagesInOneBlockAndSkipsRealTimeBytes) {
    auto device = makeDevice();
    Bytes block = DataMessage(2, FilledPatch(0x10, "Two"));
    block.insert(block.begin() + 50, 0xF8); // a timing clock inside the message
    auto request = RequestMessage(2);
    block.insert(block.end(), request.begin(), request.end());
    block.push_back(0xFE);
    auto replies = device.Receive(block);
    ASSERT_EQ(replies.size(), 1u);
    PatchBytes back;
    ASSERT_EQ(readAs(2, replies[0].bytes, &back), "ok");
    EXPECT_EQ(back, FilledPatch(0x10, "Two"));
}

TEST(Gr33Device, WireEmulationAndDelayTimeTheReply) {
    DeviceOptions options;
    options.wire = true;
    options.delay = 7ms;
    auto device = makeDevice(options);
    auto replies = device.Receive(RequestMessage(1));
    ASSERT_EQ(replies.size(), 1u);
    EXPECT_EQ(replies[0].due, WireTime(16) + 7ms + WireTime(140));

    // Two requests in one block: the second reply queues behind the first on the cable.
    Bytes two = RequestMessage(1);
    auto second = RequestMessage(2);
    two.insert(two.end(), second.begin(), second.end());
    replies = device.Receive(two);
    ASSERT_EQ(replies.size(), 2u);
    EXPECT_EQ(replies[1].due, replies[0].due + WireTime(140));
}

TEST(Gr33Device, SilentFaultDropsRepliesButStillStores) {
    auto everything = faultyDevice({"silent"});
    EXPECT_TRUE(everything.Receive(IdentityRequest()).empty());
    EXPECT_TRUE(everything.Receive(RequestMessage(1)).empty());
    everything.Receive(DataMessage(1, FilledPatch(0x12, "Kept")));
    EXPECT_EQ(everything.Stored(), 1);

    auto oneSlot = faultyDevice({"silent@A12"});
    EXPECT_EQ(oneSlot.Receive(RequestMessage(1)).size(), 1u);
    EXPECT_TRUE(oneSlot.Receive(RequestMessage(2)).empty());
    EXPECT_EQ(oneSlot.Receive(IdentityRequest()).size(), 1u);
}

TEST(Gr33Device, LateFaultDelaysTheReplyPastTheTimeout) {
    auto device = faultyDevice({"late@temp"});
    auto replies = device.Receive(RequestMessage(TempPatchNumber));
    ASSERT_EQ(replies.size(), 1u);
    EXPECT_EQ(replies[0].due, LateReplyTime);
    EXPECT_EQ(device.Receive(RequestMessage(1))[0].due, 0us);
}

TEST(Gr33Device, MalformedReplyFaultsAreRejectedByTheReader) {
    auto wrong = faultyDevice({"wrong-address"});
    auto reply = wrong.Receive(RequestMessage(5))[0].bytes;
    EXPECT_EQ(readAs(5, reply), "Illegal patch data format");
    PatchBytes back;
    EXPECT_EQ(readAs(6, reply, &back), "ok"); // consistent, only the address is wrong
    EXPECT_EQ(back, DemoPatch(5));
    EXPECT_EQ(readAs(1, wrong.Receive(RequestMessage(128))[0].bytes), "ok");

    auto checksum = faultyDevice({"bad-checksum"});
    EXPECT_EQ(readAs(5, checksum.Receive(RequestMessage(5))[0].bytes), "Illegal patch data format");

    auto truncated = faultyDevice({"truncated@A11"});
    reply = truncated.Receive(RequestMessage(1))[0].bytes;
    ASSERT_EQ(reply.size(), 101u);
    EXPECT_EQ(reply.back(), 0xF7);
    EXPECT_EQ(readAs(1, reply), "Illegal patch data format");
    EXPECT_EQ(readAs(2, truncated.Receive(RequestMessage(2))[0].bytes), "ok");
}

TEST(Gr33Device, NoiseFaultSendsShortMessagesBeforeTheReply) {
    auto device = faultyDevice({"noise"});
    auto replies = device.Receive(RequestMessage(3));
    ASSERT_EQ(replies.size(), 3u);
    EXPECT_EQ(replies[0].bytes, (Bytes{0x90, 0x3C, 0x64}));
    EXPECT_EQ(replies[1].bytes, (Bytes{0xFE}));
    EXPECT_EQ(readAs(3, replies[2].bytes), "ok");
}

TEST(Gr33Device, IdentityExtraFaultLengthensOnlyTheIdentityReply) {
    auto device = faultyDevice({"identity-extra"});
    auto reply = device.Receive(IdentityRequest())[0].bytes;
    ASSERT_EQ(reply.size(), ExpectedIdentityReply().size() + 1);
    EXPECT_TRUE(std::equal(ExpectedIdentityReply().begin(), ExpectedIdentityReply().end() - 1,
                           reply.begin()));
    EXPECT_EQ(reply.back(), 0xF7);
    EXPECT_EQ(readAs(1, device.Receive(RequestMessage(1))[0].bytes), "ok");
}

TEST(SimFault, ParsesKindsAndLabels) {
    EXPECT_EQ(ParseFault("late"), (Fault{FaultKind::Late, std::nullopt}));
    EXPECT_EQ(ParseFault("bad-checksum@d84"), (Fault{FaultKind::BadChecksum, 128}));
    EXPECT_EQ(ParseFault("silent@TEMP"), (Fault{FaultKind::Silent, 0}));
    for (const char* bad :
         {"", "slow", "late@", "late@A15", "late@E11", "identity-extra@A11", "Silent"})
        EXPECT_FALSE(ParseFault(bad)) << bad;
    for (auto kind :
         {FaultKind::Silent, FaultKind::Late, FaultKind::WrongAddress, FaultKind::BadChecksum,
          FaultKind::Truncated, FaultKind::Noise, FaultKind::IdentityExtra})
        EXPECT_EQ(FaultKindOfName(FaultKindName(kind)), kind);
}
