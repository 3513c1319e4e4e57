#include "CliTestSupport.h"
#include "cli/Interrupt.h"
#include "gr33/CollectionFile.h"
#include "gr33/PatchNumber.h"
#include "sim/DemoBank.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>

using ::testing::ElementsAre;
using ::testing::HasSubstr;

namespace {

// Device commands against the in-process simulated GR-33 with its memory in a scratch file.
class DeviceCommands : public ::testing::Test {
protected:
    CliRun Device(std::vector<std::string> args) {
        args.insert(args.end(), {"--virtual", "--bank", deviceBank});
        return Gr33(args);
    }
    std::array<PatchBytes, 128> DeviceMemory() const { return ReadCollectionFile(deviceBank); }

    ScratchFolder folder;
    std::string deviceBank = folder.File("device.G33");
};

} // namespace

TEST_F(DeviceCommands, PortsListTheVirtualDevice) {
    auto run = Device({"ports"});
    ASSERT_EQ(run.code, 0) << run.err;
    EXPECT_THAT(run.OutLines(), ElementsAre("MIDI In:", "  #1  Virtual GR-33",
                                            "MIDI Out:", "  #0  MIDI Mapper (mapper)",
                                            "  #1  Virtual GR-33 (MIDI port)"));
}

TEST_F(DeviceCommands, IdentifyFindsTheDevice) {
    auto run = Device({"identify", "--in", "virtual", "--out", "1"});
    EXPECT_EQ(run.code, 0) << run.err;
    EXPECT_EQ(run.out, "GR-33 found\n");

    auto noPort = Device({"identify", "--in", "nonesuch"});
    EXPECT_EQ(noPort.code, 1);
    EXPECT_EQ(noPort.err, "No MIDI input port matches \"nonesuch\"\n");

    auto badNumber = Device({"identify", "--out", "7"});
    EXPECT_EQ(badNumber.code, 1);
    EXPECT_THAT(badNumber.err, HasSubstr("Communication or device error"));
    EXPECT_THAT(badNumber.err, HasSubstr("GR-33 not found (Check MIDI connection"));
}

TEST_F(DeviceCommands, ReceiveAllReproducesTheDeviceMemory) {
    auto out = folder.File("received.G33");
    auto run = Device({"receive", "all", "-o", out});
    ASSERT_EQ(run.code, 0) << run.err;
    EXPECT_EQ(ReadWholeFile(out), ReadWholeFile(deviceBank));
    EXPECT_THAT(run.err, HasSubstr("A11 (1/128)\n"));
    EXPECT_THAT(run.err, HasSubstr("D84 (128/128)\n"));
}

TEST_F(DeviceCommands, ReceiveOnePatchOrTheTemporaryPatch) {
    auto out = folder.File("b23.P33");
    ASSERT_EQ(Device({"receive", "b23", "-o", out}).code, 0);
    TPatch patch;
    patch.LoadFromFile(out);
    EXPECT_EQ(patch.Bytes(), DemoPatch(*PatchNumberOfLabel("B23")));

    EXPECT_EQ(Device({"receive", "temp", "-o", folder.File("temp.P33")}).code, 0);
    EXPECT_EQ(Device({"receive", "all", "-o", folder.File("x.P33")}).code, 2);
    EXPECT_EQ(Device({"receive", "E11", "-o", out}).code, 2);
}

TEST_F(DeviceCommands, SendOfACollectionStoresEveryNonEmptySlot) {
    ASSERT_EQ(Device({"identify"}).code, 0); // creates the device memory with the demo bank
    std::array<PatchBytes, 128> slots;
    slots.fill(PatchBytes{});
    slots[4] = NamedPatch("Fifth");
    slots[99] = NamedPatch("Hundredth", 0x21);
    auto file = folder.File("upload.G33");
    WriteCollection(file, slots);

    auto run = Device({"send", file});
    ASSERT_EQ(run.code, 0) << run.err;
    EXPECT_EQ(run.err, "A21 (5/128)\nD14 (100/128)\n");
    auto memory = DeviceMemory();
    EXPECT_EQ(memory[4], slots[4]);
    EXPECT_EQ(memory[99], slots[99]);
    EXPECT_EQ(memory[0], DemoPatch(1)); // empty slots are not sent
}

TEST_F(DeviceCommands, SendOfOnePatchGoesToItsSlotOrToTheTarget) {
    auto file = folder.File("upload.G33");
    std::array<PatchBytes, 128> slots;
    slots.fill(PatchBytes{});
    slots[2] = NamedPatch("Third");
    WriteCollection(file, slots);

    ASSERT_EQ(Device({"send", file + ":A13"}).code, 0);
    EXPECT_EQ(DeviceMemory()[2], slots[2]);
    ASSERT_EQ(Device({"send", file + ":A13", "--to=D84"}).code, 0);
    EXPECT_EQ(DeviceMemory()[127], slots[2]);

    auto single = folder.File("one.P33");
    WriteSinglePatch(single, NamedPatch("Single"));
    ASSERT_EQ(Device({"send", single, "--to", "a12"}).code, 0);
    EXPECT_EQ(DeviceMemory()[1], NamedPatch("Single"));

    auto empty = Device({"send", file + ":A11"});
    EXPECT_EQ(empty.code, 1);
    EXPECT_EQ(empty.err, "Patch (A11) is empty!\n");
    EXPECT_EQ(Device({"send", file, "--to", "A11"}).code, 2);
}

TEST_F(DeviceCommands, SendOfAnEmptyCollectionSendsNothing) {
    auto file = folder.File("empty.G33");
    std::array<PatchBytes, 128> slots;
    slots.fill(PatchBytes{});
    WriteCollection(file, slots);
    auto run = Device({"send", file});
    EXPECT_EQ(run.code, 1);
    EXPECT_EQ(run.err, "No patches in collection!\n");
    EXPECT_FALSE(std::filesystem::exists(deviceBank)); // the device was not even opened
}

TEST_F(DeviceCommands, UnreadableDeviceMemoryIsReported) {
    WriteFileAtomically(deviceBank, Bytes(100, 0x55));
    auto run = Device({"identify"});
    EXPECT_EQ(run.code, 1);
    EXPECT_EQ(run.err, "Illegal patch data format.\n");
    EXPECT_EQ(ReadWholeFile(deviceBank), Bytes(100, 0x55));
}

// Ctrl+C ends a transfer before its next patch: exit 130, no file, the device untouched.
TEST_F(DeviceCommands, CtrlCEndsATransferWithoutWritingAnything) {
    const auto upload = folder.File("upload.G33");
    std::array<PatchBytes, 128> slots{};
    slots[5] = NamedPatch("Sent");
    WriteCollection(upload, slots);
    const auto received = folder.File("received.G33");
    for (const auto& args : {std::vector<std::string>{"receive", "all", "-o", received},
                             std::vector<std::string>{"send", upload}}) {
        SCOPED_TRACE(args[0]);
        CatchInterrupt();
        std::raise(SIGINT);
        auto run = Device(args);
        EXPECT_EQ(run.code, 130);
        EXPECT_EQ(run.err, "Interrupted.\n");
    }
    EXPECT_FALSE(std::filesystem::exists(received));
    EXPECT_TRUE(!std::filesystem::exists(deviceBank) || DeviceMemory()[5] != slots[5]);
    std::signal(SIGINT, SIG_DFL);
}
