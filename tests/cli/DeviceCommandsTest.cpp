// Device commands against the in-process simulated GR-33 with its memory in a scratch file.
#include "CliTestSupport.h"
#include "cli/Interrupt.h"
#include "gr33/CollectionFile.h"
#include "gr33/MessageLog.h"
#include "gr33/PatchNumber.h"
#include "gr33/SysEx.h"
#include "sim/DemoBank.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>

using ::testing::ElementsAre;
using ::testing::HasSubstr;

namespace {

class DeviceCommands : public ::testing::Test {
protected:
    // A receive records its snapshot in the user's library: here one in the scratch folder.
    DeviceCommands() { setenv("XDG_DATA_HOME", folder.Path().c_str(), 1); }
    CliRun Device(std::vector<std::string> args) {
        args.insert(args.end(), {"--virtual", "--bank", deviceBank});
        return Gr33(args);
    }
    std::array<PatchBytes, 128> DeviceMemory() const { return ReadCollectionFile(deviceBank); }
    // A collection of the given slots, the others empty.
    std::string Upload(const std::vector<std::pair<int, PatchBytes>>& patches) {
        std::array<PatchBytes, 128> slots{};
        for (const auto& [index, bytes] : patches)
            slots[index] = bytes;
        WriteCollection(upload, slots);
        return upload;
    }

    ScratchFolder folder;
    std::string deviceBank = folder.File("device.G33");
    std::string upload = folder.File("upload.G33");
};

} // namespace

TEST_F(DeviceCommands, PortsListTheVirtualDevice) {
    auto run = Device({"ports"});
    ASSERT_EQ(run.code, 0) << run.err;
    EXPECT_THAT(run.OutLines(), ElementsAre("MIDI In:", "  #1  Virtual GR-33",
                                            "MIDI Out:", "  #0  MIDI Mapper (mapper)",
                                            "  #1  Virtual GR-33 (MIDI port)"));
}

// Exit status and the whole error output of the commands that stop before or at the device.
TEST_F(DeviceCommands, IdentifyAndRefusals) {
    const std::string noPatch = folder.File("x.P33");
    const struct {
        std::vector<std::string> args;
        int code;
        std::string err;
    } cases[] = {
        {{"identify", "--in", "virtual", "--out", "1"}, 0, ""},
        {{"identify", "--in", "nonesuch"}, 1, "No MIDI input port matches \"nonesuch\"\n"},
        {{"identify", "--out", "7"},
         1,
         "Warning: Communication or device error\nGR-33 not found (Check MIDI connection, GR-33 "
         "must be in \"SYSTEM:BULK LOAD Waiting...\" mode)\n"},
        {{"receive", "all", "-o", noPatch}, 2, "gr33 receive: "},
        {{"receive", "E11", "-o", noPatch}, 2, "gr33 receive: "},
        {{"send", Upload({{0, NamedPatch("First")}}) + ":A12"}, 1, "Patch (A12) is empty!\n"},
        {{"send", upload, "--to", "A11"}, 2, "gr33 send: "},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.args));
        auto run = Device(c.args);
        EXPECT_EQ(run.code, c.code);
        EXPECT_TRUE(c.code == 2 ? run.err.starts_with(c.err) : run.err == c.err) << run.err;
        EXPECT_EQ(run.out, c.code ? "" : "GR-33 found\n");
    }
    EXPECT_FALSE(std::filesystem::exists(noPatch));
}

TEST_F(DeviceCommands, ReceiveReproducesTheDeviceMemory) {
    auto out = folder.File("received.G33");
    auto run = Device({"receive", "all", "-o", out});
    ASSERT_EQ(run.code, 0) << run.err;
    EXPECT_EQ(ReadWholeFile(out), ReadWholeFile(deviceBank));
    EXPECT_THAT(run.err, HasSubstr("A11 (1/128)\nA12 (2/128)\n"));
    EXPECT_THAT(run.err, HasSubstr("D84 (128/128)\n"));

    ASSERT_EQ(Device({"receive", "b23", "-o", folder.File("b23.P33")}).code, 0);
    EXPECT_EQ(ReadSinglePatch(folder.File("b23.P33")), DemoPatch(*PatchNumberOfLabel("B23")));
    EXPECT_EQ(Device({"receive", "temp", "-o", folder.File("temp.P33")}).code, 0);
}

TEST_F(DeviceCommands, SendStoresEveryNonEmptySlotOrOnePatch) {
    ASSERT_EQ(Device({"identify"}).code, 0); // creates the device memory with the demo bank
    const PatchBytes fifth = NamedPatch("Fifth"), hundredth = NamedPatch("Hundredth", 0x21);
    auto run = Device({"send", Upload({{4, fifth}, {99, hundredth}})});
    ASSERT_EQ(run.code, 0) << run.err;
    EXPECT_EQ(run.err, "A21 (5/128)\nD14 (100/128)\n");
    EXPECT_EQ(DeviceMemory()[4], fifth);
    EXPECT_EQ(DeviceMemory()[99], hundredth);
    EXPECT_EQ(DeviceMemory()[0], DemoPatch(1)); // empty slots are not sent

    ASSERT_EQ(Device({"send", upload + ":D14", "--to=A13"}).code, 0);
    EXPECT_EQ(DeviceMemory()[2], hundredth);
    auto single = folder.File("one.P33");
    WriteSinglePatch(single, NamedPatch("Single"));
    ASSERT_EQ(Device({"send", single, "--to", "a12"}).code, 0);
    EXPECT_EQ(DeviceMemory()[1], NamedPatch("Single"));

    // A verified send reads back the user slots it wrote, never the temporary patch.
    run = Device({"send", upload, "--verify"});
    EXPECT_EQ(run.code, 0) << run.err;
    EXPECT_EQ(run.out, "Sent and verified 2 patches\n");
    run = Device({"send", single, "--to=temp", "--verify"});
    EXPECT_EQ(run.code, 0) << run.err;
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(Device({"send", single, "--verify", "--no-verify"}).code, 2);
}

TEST_F(DeviceCommands, FailuresBeforeTheTransfer) {
    auto run = Device({"send", Upload({})});
    EXPECT_EQ(run.code, 1);
    EXPECT_EQ(run.err, "No patches in collection!\n");
    EXPECT_FALSE(std::filesystem::exists(deviceBank)); // the device was not even opened

    WriteFileAtomically(deviceBank, Bytes(100, 0x55));
    run = Device({"identify"});
    EXPECT_EQ(run.code, 1);
    EXPECT_EQ(run.err, "Illegal patch data format.\n");
    EXPECT_EQ(ReadWholeFile(deviceBank), Bytes(100, 0x55));
}

// Ctrl+C ends a transfer before its next patch: exit 130, no file, the device untouched.
TEST_F(DeviceCommands, CtrlCEndsATransferWithoutWritingAnything) {
    const PatchBytes sent = NamedPatch("Sent");
    Upload({{5, sent}});
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
    EXPECT_TRUE(!std::filesystem::exists(deviceBank) || DeviceMemory()[5] != sent);
    std::signal(SIGINT, SIG_DFL);
}

// --log, anywhere on the line, prints each message as it passes; not watched after the run.
TEST_F(DeviceCommands, LogPrintsTheMessagesToTheErrorOutput) {
    const std::string name = NameOf(DemoPatch(*PatchNumberOfLabel("B23")));
    const std::string time = "[0-9][0-9]:[0-9][0-9]:[0-9][0-9]\\.[0-9][0-9][0-9]";
    const std::string hexLine = "(    [0-9A-F][0-9A-F]( [0-9A-F][0-9A-F]){31}\n)";
    std::string request = "   ";
    for (std::uint8_t b : RequestMessage(*PatchNumberOfLabel("B23")))
        request += {' ', "0123456789ABCDEF"[b >> 4], "0123456789ABCDEF"[b & 15]};
    const struct {
        std::vector<std::string> args;
        std::string err; // a regular expression
    } cases[] = {
        {{"--log", "receive", "b23", "-o", folder.File("b23.P33")},
         time + " out Virtual GR-33 16 bytes: Request B23\n" + request + "\n" + time +
             " in  Virtual GR-33 140 bytes: Data B23 '" + name + "'\n" + hexLine +
             "{4}    [0-9A-F ]+ F7\n"},
        {{"identify", "--log"},
         time + " out Virtual GR-33 6 bytes: Identity request\n    F0 7E 10 06 01 F7\n" + time +
             " in  Virtual GR-33 15 bytes: Identity reply\n    [0-9A-F ]+\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args[0]);
        auto run = Device(c.args);
        EXPECT_EQ(run.code, 0);
        EXPECT_THAT(run.err, ::testing::MatchesRegex(c.err));
        EXPECT_FALSE(MidiLog().Watched());
    }
    EXPECT_EQ(Device({"identify"}).err, "");
}
