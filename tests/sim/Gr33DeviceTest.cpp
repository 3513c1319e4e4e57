#include "sim/Gr33Device.h"
#include "SimTestSupport.h"
#include "base/Errors.h"
#include "gr33/Catalogue.h"
#include "gr33/PatchNumber.h"
#include "sim/DemoBank.h"

#include <gtest/gtest.h>

#include <iomanip>
#include <sstream>

using namespace std::chrono_literals;

namespace {

Gr33Device makeDevice(const std::string& fault = "", DeviceOptions options = {}) {
    if (!fault.empty()) options.faults.push_back(*ParseFault(fault));
    return Gr33Device(std::make_unique<SimBank>(), std::move(options));
}

// What a reply is: "identity", a short message in hex, or how it reads as the data message of
// patch `number`: "ok" (with the bytes of the device's patch `number`), "other" or the error.
std::string describe(Gr33Device& device, int number, const Bytes& reply) {
    if (reply == ExpectedIdentityReply()) return "identity";
    if (reply.size() < 4) {
        std::ostringstream hex;
        for (auto byte : reply)
            hex << std::hex << std::uppercase << int(byte);
        return hex.str();
    }
    TPatch patch;
    ByteReader reader(reply);
    try {
        patch.ReadSysEx(number, reader);
    } catch (const EKelvoError& e) {
        return e.what();
    }
    return patch.Bytes() == device.Bank().Patch(number) ? "ok" : "other";
}

const Bytes broadcast{0xF0, 0x7E, 0x7F, 0x06, 0x01, 0xF7};
const Bytes otherId{0xF0, 0x7E, 0x11, 0x06, 0x01, 0xF7};
const std::string bad = "Illegal patch data format";

} // namespace

TEST(Gr33Device, RepliesWithAndWithoutFaults) {
    struct Case {
        std::string fault;
        Bytes request;
        int readAs;
        std::vector<std::string> replies;
    } cases[] = {
        {"", IdentityRequest(), 0, {"identity"}},
        {"", broadcast, 0, {"identity"}},
        {"", otherId, 0, {}},
        {"", RequestMessage(1), 1, {"ok"}},
        {"", RequestMessage(37), 37, {"ok"}},
        {"", RequestMessage(128), 128, {"ok"}},
        {"", RequestMessage(TempPatchNumber), TempPatchNumber, {"ok"}},
        {"silent", IdentityRequest(), 0, {}},
        {"silent", RequestMessage(1), 1, {}},
        {"silent@A12", RequestMessage(1), 1, {"ok"}},
        {"silent@A12", RequestMessage(2), 2, {}},
        {"silent@A12", IdentityRequest(), 0, {"identity"}},
        {"wrong-address", RequestMessage(5), 5, {bad}},
        {"wrong-address", RequestMessage(5), 6, {"other"}}, // only the address is wrong
        {"wrong-address", RequestMessage(128), 1, {"other"}},
        {"bad-checksum", RequestMessage(5), 5, {bad}},
        {"truncated@A11", RequestMessage(1), 1, {bad}},
        {"truncated@A11", RequestMessage(2), 2, {"ok"}},
        {"noise", RequestMessage(3), 3, {"903C64", "FE", "ok"}},
        {"identity-extra", RequestMessage(1), 1, {"ok"}},
        {"late@temp", RequestMessage(1), 1, {"ok"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.fault + " " + std::to_string(c.readAs));
        auto device = makeDevice(c.fault);
        std::vector<std::string> replies;
        for (const auto& reply : device.Receive(c.request)) {
            replies.push_back(describe(device, c.readAs, reply.bytes));
            EXPECT_EQ(reply.due, 0us);
        }
        EXPECT_EQ(replies, c.replies);
    }
    EXPECT_EQ(makeDevice("wrong-address").Receive(RequestMessage(5))[0].bytes.size(), 140u);
    const auto truncated = makeDevice("truncated").Receive(RequestMessage(5))[0].bytes;
    EXPECT_EQ(truncated.size(), 101u);
    EXPECT_EQ(truncated.back(), 0xF7);
    EXPECT_EQ(makeDevice("late@temp").Receive(RequestMessage(0))[0].due, LateReplyTime);
    auto extra = makeDevice("identity-extra").Receive(IdentityRequest())[0].bytes;
    const auto identity = ExpectedIdentityReply();
    EXPECT_EQ(Bytes(extra.begin(), extra.end() - 2), Bytes(identity.begin(), identity.end() - 1));
    EXPECT_EQ(extra.back(), 0xF7);
}

// Valid data messages are stored (the temporary patch too, a silent device included); every
// damaged one is rejected and changes nothing.
TEST(Gr33Device, StoresOnlyValidDataMessages) {
    for (const char* fault : {"", "silent"}) {
        auto device = makeDevice(fault);
        const int b23 = *PatchNumberOfLabel("B23");
        EXPECT_TRUE(device.Receive(DataMessage(b23, FilledPatch(0x11, "B23"))).empty());
        device.Receive(DataMessage(TempPatchNumber, FilledPatch(0x22, "Temp")));
        EXPECT_EQ(device.Stored(), 2);
        EXPECT_EQ(device.Bank().Patch(b23), FilledPatch(0x11, "B23"));
        EXPECT_EQ(device.Bank().Patch(0), FilledPatch(0x22, "Temp"));
        EXPECT_EQ(device.Bank().Patch(b23 + 1), DemoPatch(b23 + 1));
    }
    auto device = makeDevice();
    const auto valid = DataMessage(5, FilledPatch(0x11, "X"));
    std::vector<Bytes> damaged(7, valid);
    damaged[0][138] ^= 1;  // checksum
    damaged[1][40] = 0x81; // an 8-bit byte, which also ends the message as a status byte
    damaged[2].erase(damaged[2].begin() + 100, damaged[2].end() - 1);
    damaged[3][6] = 0x03; // address
    damaged[4].pop_back();
    damaged[5] = RequestMessage(5);
    damaged[5][11] = 0x02; // asks for 256 bytes
    damaged[5][14] = RolandChecksum(std::span(damaged[5]).subspan(6, 8));
    damaged[6] = RequestMessage(5);
    damaged[6][14] ^= 1;
    for (const Bytes& message : damaged)
        EXPECT_TRUE(device.Receive(message).empty());
    EXPECT_EQ(device.Stored(), 0);
    EXPECT_GE(device.Rejected(), 7);
    EXPECT_EQ(device.Bank().Patch(5), DemoPatch(5));
}

// A write fault hits only its slot: ignore-write keeps the old patch, corrupt-write stores the
// patch with a changed first byte; both count the message as stored, as a real device would.
TEST(Gr33Device, WriteFaultsKeepOrChangeOnlyTheirSlot) {
    const int b23 = *PatchNumberOfLabel("B23");
    for (const char* fault : {"ignore-write@B23", "corrupt-write@B23"}) {
        SCOPED_TRACE(fault);
        auto device = makeDevice(fault);
        for (int number : {b23, b23 + 1})
            device.Receive(DataMessage(number, FilledPatch(0x11, "B23")));
        EXPECT_EQ(device.Stored(), 2);
        EXPECT_EQ(device.Bank().Patch(b23 + 1), FilledPatch(0x11, "B23"));
        auto expected = fault[0] == 'i' ? DemoPatch(b23) : FilledPatch(0x11, "X23");
        EXPECT_EQ(device.Bank().Patch(b23), expected);
    }
}

TEST(Gr33Device, BlocksOfMessagesAndTheWireTime) {
    DeviceOptions options;
    options.wire = true;
    options.delay = 7ms;
    auto device = makeDevice("", options);
    Bytes block = DataMessage(2, FilledPatch(0x10, "Two"));
    block.insert(block.begin() + 50, 0xF8); // a timing clock inside the message
    for (int number : {2, 3}) {
        auto request = RequestMessage(number);
        block.insert(block.end(), request.begin(), request.end());
    }
    block.push_back(0xFE);
    auto replies = device.Receive(block);
    ASSERT_EQ(replies.size(), 2u);
    EXPECT_EQ(describe(device, 2, replies[0].bytes), "ok");
    EXPECT_EQ(device.Bank().Patch(2), FilledPatch(0x10, "Two"));
    // The second reply queues behind the first on the cable.
    EXPECT_EQ(replies[0].due, WireTime(141 + 16) + 7ms + WireTime(140));
    EXPECT_EQ(replies[1].due, replies[0].due + WireTime(140));
}

TEST(SimFault, ParsesKindsAndLabels) {
    EXPECT_EQ(ParseFault("late"), (Fault{FaultKind::Late, std::nullopt}));
    EXPECT_EQ(ParseFault("bad-checksum@d84"), (Fault{FaultKind::BadChecksum, 128}));
    EXPECT_EQ(ParseFault("silent@TEMP"), (Fault{FaultKind::Silent, 0}));
    for (const char* bad :
         {"", "slow", "late@", "late@A15", "late@E11", "identity-extra@A11", "Silent"})
        EXPECT_FALSE(ParseFault(bad)) << bad;
    for (auto kind : {FaultKind::Silent, FaultKind::Late, FaultKind::WrongAddress,
                      FaultKind::BadChecksum, FaultKind::Truncated, FaultKind::Noise,
                      FaultKind::IdentityExtra, FaultKind::IgnoreWrite, FaultKind::CorruptWrite})
        EXPECT_EQ(FaultKindOfName(FaultKindName(kind)), kind);
}
