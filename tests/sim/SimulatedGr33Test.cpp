// The simulated GR-33: its replies and faults, its bank file, its command line and its ports.

#include "base/AtomicFile.h"
#include "base/Errors.h"
#include "gr33/Catalogue.h"
#include "gr33/CollectionFile.h"
#include "gr33/Exchange.h"
#include "gr33/PatchNumber.h"
#include "midi/MidiDevices.h"
#include "sim/DemoBank.h"
#include "sim/SimCommandLine.h"
#include "sim/VirtualGr33.h"
#include "tests/support/FailureOf.h"
#include "tests/support/RecordingDialogs.h"
#include "tests/support/ScratchFolder.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <mutex>
#include <sstream>

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

namespace {

// A patch whose every byte is `fill`, named by the text.
PatchBytes FilledPatch(std::uint8_t fill, const std::string& name) {
    PatchBytes bytes;
    bytes.fill(fill);
    const auto text = TextToName(name);
    std::copy(text.begin(), text.end(), bytes.begin());
    return bytes;
}

// The data message of the bytes under the number's address.
Bytes DataMessage(int number, const PatchBytes& bytes) {
    TPatch patch;
    patch.SetBytes(bytes, number);
    Bytes message;
    patch.WriteSysEx(number, message);
    return message;
}

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
        {"", {0xF0, 0x7E, 0x7F, 0x06, 0x01, 0xF7}, 0, {"identity"}}, // to every device
        {"", {0xF0, 0x7E, 0x11, 0x06, 0x01, 0xF7}, 0, {}},           // to another device
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

// Valid data messages are stored (the temporary patch too, a silent device included). A write
// fault hits only its slot: ignore-write keeps the old patch, corrupt-write stores the patch
// with a changed first byte; both count the message as stored, as a real device would. Every
// damaged message is rejected and changes nothing.
TEST(Gr33Device, StoresOnlyValidDataMessagesWhereNoWriteFaultHits) {
    const int b23 = *PatchNumberOfLabel("B23");
    for (std::string fault : {"", "silent", "ignore-write@B23", "corrupt-write@B23"}) {
        SCOPED_TRACE(fault);
        auto device = makeDevice(fault);
        for (int number : {b23, b23 + 1})
            EXPECT_TRUE(device.Receive(DataMessage(number, FilledPatch(0x11, "B23"))).empty());
        device.Receive(DataMessage(TempPatchNumber, FilledPatch(0x22, "Temp")));
        EXPECT_EQ(device.Stored(), 3);
        EXPECT_EQ(device.Bank().Patch(b23), fault.starts_with("ignore") ? DemoPatch(b23)
                                            : fault.starts_with("corrupt")
                                                ? FilledPatch(0x11, "X23")
                                                : FilledPatch(0x11, "B23"));
        EXPECT_EQ(device.Bank().Patch(b23 + 1), FilledPatch(0x11, "B23"));
        EXPECT_EQ(device.Bank().Patch(0), FilledPatch(0x22, "Temp"));
        EXPECT_EQ(device.Bank().Patch(b23 + 2), DemoPatch(b23 + 2));
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
    for (const char* text :
         {"", "slow", "late@", "late@A15", "late@E11", "identity-extra@A11", "Silent"})
        EXPECT_FALSE(ParseFault(text)) << text;
    for (auto kind : {FaultKind::Silent, FaultKind::Late, FaultKind::WrongAddress,
                      FaultKind::BadChecksum, FaultKind::Truncated, FaultKind::Noise,
                      FaultKind::IdentityExtra, FaultKind::IgnoreWrite, FaultKind::CorruptWrite})
        EXPECT_EQ(FaultKindOfName(FaultKindName(kind)), kind);
}

// Each demo patch plays its tone, is named after it, and holds only values the editor can show.
TEST(DemoBank, EachPatchPlaysItsToneWithValidParameters) {
    const auto* firstSelect = FindParameter("1st Select");
    ASSERT_NE(firstSelect, nullptr);
    for (int k = 1; k <= 128; ++k) {
        SCOPED_TRACE(k);
        const auto patch = DemoPatch(k);
        EXPECT_EQ(ReadRaw(*firstSelect, patch), k - 1);
        std::string name(patch.begin(), patch.begin() + NameSize);
        EXPECT_EQ(name.substr(0, name.find_last_not_of(' ') + 1),
                  std::string(ToneNames()[k - 1]).substr(0, NameSize));
        for (const auto& p : Parameters())
            for (int s = 1;
                 p.coding != ParamCoding::Name && s <= (p.IsPerString() ? StringCount : 1); ++s)
                EXPECT_TRUE(IsRawInRange(p, ReadRaw(p, patch, s))) << p.caption << " " << s;
        const auto* type = EffectType(patch[EffectTypeByte]);
        ASSERT_NE(type, nullptr);
        for (int slot = 1; slot <= EffectSlotCount; ++slot)
            EXPECT_TRUE(type->parameters[slot - 1].IsInRange(patch[EffectTypeByte + slot]));
    }
}

// A missing file is made with the demo bank (folders on the way); a store rewrites the whole
// file, leaves no scratch file and keeps the temporary patch out of it.
TEST(SimBank, KeepsItsFile) {
    ScratchFolder folder;
    auto file = folder.File("data/KelvoLight/bank.G33");
    {
        SimBank bank(file);
        EXPECT_EQ(ReadWholeFile(file), bank.Image());
        EXPECT_EQ(ParseCollection(bank.Image()), DemoBank());
        bank.Store(128, FilledPatch(0x33, "Last"));
        bank.Store(0, FilledPatch(0x44, "Temp only"));
        EXPECT_EQ(bank.Patch(0), FilledPatch(0x44, "Temp only"));
    }
    EXPECT_EQ(
        std::distance(std::filesystem::directory_iterator(folder.File("data/KelvoLight")), {}), 1);
    SimBank again(file);
    EXPECT_EQ(again.Patch(128), FilledPatch(0x33, "Last"));
    EXPECT_EQ(again.Patch(0), DemoPatch(1));
    EXPECT_EQ(again.Patch(1), DemoPatch(1));

    // A folder in the file's place: the rename over it fails whatever the user's rights, and
    // the patch stays in memory.
    std::filesystem::remove(file);
    std::filesystem::create_directory(file);
    EXPECT_THROW(again.Store(3, FilledPatch(0x15, "Blocked")), EKelvoError);
    EXPECT_EQ(again.Patch(3), FilledPatch(0x15, "Blocked"));
    EXPECT_TRUE(std::filesystem::is_directory(file));
}

TEST(SimBank, ForeignFileIsRefusedAndLeftAlone) {
    ScratchFolder folder;
    auto file = folder.File("notes.G33");
    const Bytes junk(CollectionFileSize - 1, 0x20);
    WriteFileAtomically(file, junk);
    EXPECT_EQ(FailureOf([&] { SimBank bank(file); }), bad);
    EXPECT_EQ(ReadWholeFile(file), junk);
}

// Values attached or separate, both ends of the delay's range; errors in the program's own words.
TEST(SimCommandLine, ValuesAndErrors) {
    auto line =
        ParseSimCommandLine({"--api=jack", "--delay", "20", "--fault=silent@A11", "--version"});
    EXPECT_EQ(std::tuple(line.api, line.options.delay, line.options.faults.size(), line.version),
              std::tuple("jack", 20ms, 1u, true));
    for (const char* ms : {"0", "60000"})
        EXPECT_EQ(ParseSimCommandLine({"--delay", ms}).options.delay.count(), std::atoi(ms));
    const std::pair<std::vector<std::string>, std::string> errors[] = {
        {{"--api"}, "--api needs a value"},
        {{"--api", "midi"}, "--api must be alsa or jack: midi"},
        {{"--delay=60001"}, "--delay needs a number of milliseconds (0..60000): 60001"},
        {{"--fault", "silent", "extra"}, "unknown argument: extra"}};
    for (const auto& [args, message] : errors)
        EXPECT_THAT([&args = args] { ParseSimCommandLine(args); },
                    ::testing::ThrowsMessage<EKelvoError>(::testing::StrEq(message)));
}

TEST(VirtualGr33, OffersOnePortEachWayAndRepliesWhenDueToOpenInputsOnly) {
    DeviceOptions options;
    options.delay = 80ms;
    VirtualGr33 device(std::make_unique<Gr33Device>(std::make_unique<SimBank>(), options));
    for (const auto& ports : {device.InputPorts(), device.OutputPorts()})
        EXPECT_EQ(ports.size() == 1 ? ports[0].name : "", "Virtual GR-33");
    EXPECT_THROW(device.OpenOutput(1), EMidiOut);
    EXPECT_THROW(device.OpenInput(-1, [](auto) {}), EMidiIn);

    std::mutex mutex;
    std::vector<std::pair<Clock::duration, Bytes>> inbox;
    const auto start = Clock::now();
    auto input = device.OpenInput(0, [&](std::span<const std::uint8_t> m) {
        std::lock_guard lock(mutex);
        inbox.emplace_back(Clock::now() - start, Bytes(m.begin(), m.end()));
    });
    auto output = device.OpenOutput(0);
    output->Send(IdentityRequest());
    std::this_thread::sleep_for(150ms);
    output->Send(IdentityRequest());
    input->Close(); // closed before the reply is due
    std::this_thread::sleep_for(150ms);
    std::lock_guard lock(mutex);
    ASSERT_EQ(inbox.size(), 1u);
    EXPECT_GE(inbox[0].first, 80ms);
    EXPECT_EQ(inbox[0].second, ExpectedIdentityReply());
}

TEST(VirtualGr33, ServesTheExchangeOfTheDeviceList) {
    ScratchFolder folder;
    auto bankFile = folder.File("virtual.G33");
    InstallMidiBackends(nullptr, CreateVirtualGr33(bankFile));
    RecordingDialogs prompts;
    ScopedPrompts scoped(prompts);
    EXPECT_EQ(TestDevice(1, 1), DeviceAnswer::Found);
    TPatch patch;
    patch.ReceiveFromDevice(1, 1, 7);
    EXPECT_EQ(patch.Bytes(), DemoPatch(7));
    patch.SetBytes(FilledPatch(0x21, "Sent to D84"), 0);
    ASSERT_TRUE(patch.SendToDevice(1, 128));
    TPatch back;
    back.ReceiveFromDevice(1, 1, 128);
    EXPECT_EQ(back.Bytes(), patch.Bytes());
    EXPECT_EQ(ParseCollection(ReadWholeFile(bankFile))[127], patch.Bytes());
    InstallMidiBackends(nullptr, nullptr);
}

// Data messages posted just before the device closes are all stored, none dropped at the close.
TEST(VirtualGr33, StoresEveryMessagePostedBeforeItCloses) {
    ScratchFolder folder;
    auto bankFile = folder.File("virtual.G33");
    {
        auto device = CreateVirtualGr33(bankFile);
        auto output = device->OpenOutput(0);
        for (int n = 1; n <= 16; ++n)
            output->Send(DataMessage(n, FilledPatch(n, "Slot")));
    }
    const auto stored = ParseCollection(ReadWholeFile(bankFile));
    for (int n = 1; n <= 16; ++n)
        EXPECT_EQ(stored[n - 1], FilledPatch(n, "Slot")) << n;
}

TEST(VirtualGr33, DefaultBankFollowsTheDataFolder) {
    const char* saved = std::getenv("XDG_DATA_HOME");
    const std::string keep = saved ? saved : "";
    setenv("XDG_DATA_HOME", "/some/data", 1);
    EXPECT_EQ(DefaultVirtualBankPath(), "/some/data/KelvoLight/virtual-gr33.G33");
    unsetenv("XDG_DATA_HOME");
    if (const char* home = std::getenv("HOME")) {
        EXPECT_EQ(DefaultVirtualBankPath(),
                  std::string(home) + "/.local/share/KelvoLight/virtual-gr33.G33");
    }
    if (saved) setenv("XDG_DATA_HOME", keep.c_str(), 1);
}
