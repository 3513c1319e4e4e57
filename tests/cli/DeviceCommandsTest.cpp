// Device commands against the in-process simulated GR-33 with its memory in a scratch file.
#include "CliFixture.h"
#include "cli/Interrupt.h"
#include "gr33/MessageLog.h"
#include "gr33/SysEx.h"

#include <csignal>

using ::testing::HasSubstr;

namespace {

class DeviceCommands : public CliTest {
protected:
    std::string upload = folder.File("upload.G33");
    std::string single = folder.File("one.P33");
};

} // namespace

// Exit status and the whole output of the commands that stop before or at the device; a
// usage error (2) is checked by the start of its error output.
TEST_F(DeviceCommands, PortsIdentifyAndRefusals) {
    WriteCollection(upload, {});
    EXPECT_EQ(Device({"send", upload}), (CliRun{1, "", "No patches in collection!\n"}));
    EXPECT_FALSE(std::filesystem::exists(deviceBank)); // the device was not even opened

    WriteCollection(upload, {{0, NamedPatch("First")}});
    const struct {
        std::vector<std::string> args;
        CliRun expected;
    } cases[] = {
        {{"ports"},
         {0,
          "MIDI In:\n  #1  Virtual GR-33\nMIDI Out:\n  #0  MIDI Mapper (mapper)\n  #1  Virtual "
          "GR-33 (MIDI port)\n",
          ""}},
        {{"identify", "--in", "virtual", "--out", "1"}, {0, "GR-33 found\n", ""}},
        {{"identify", "--in", "nonesuch"}, {1, "", "No MIDI input port matches \"nonesuch\"\n"}},
        {{"identify", "--out", "7"},
         {1, "",
          "Warning: Communication or device error\nGR-33 not found (Check MIDI connection, "
          "GR-33 must be in \"SYSTEM:BULK LOAD Waiting...\" mode)\n"}},
        {{"receive", "all", "-o", single}, {2, "", "gr33 receive: "}},
        {{"receive", "E11", "-o", single}, {2, "", "gr33 receive: "}},
        {{"send", upload + ":A12"}, {1, "", "Patch (A12) is empty!\n"}},
        {{"send", upload, "--to", "A11"}, {2, "", "gr33 send: "}},
        {{"send", upload, "--verify", "--no-verify"}, {2, "", "gr33 send: "}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.args));
        auto run = Device(c.args);
        if (c.expected.code == 2 && run.err.starts_with(c.expected.err)) run.err = c.expected.err;
        EXPECT_EQ(run, c.expected);
    }
    EXPECT_FALSE(std::filesystem::exists(single));

    WriteFileAtomically(deviceBank, Bytes(100, 0x55));
    EXPECT_EQ(Device({"identify"}), (CliRun{1, "", "Illegal patch data format.\n"}));
    EXPECT_EQ(ReadWholeFile(deviceBank), Bytes(100, 0x55));
}

TEST_F(DeviceCommands, ReceiveReproducesTheDeviceMemory) {
    auto out = folder.File("received.G33");
    auto run = Device({"receive", "all", "-o", out});
    ASSERT_EQ(run.code, 0) << run.err;
    EXPECT_EQ(ReadWholeFile(out), ReadWholeFile(deviceBank));
    EXPECT_THAT(run.err, HasSubstr("A11 (1/128)\nA12 (2/128)\n"));
    EXPECT_THAT(run.err, HasSubstr("D84 (128/128)\n"));

    ASSERT_EQ(Device({"receive", "b23", "-o", single}).code, 0);
    EXPECT_EQ(ReadSinglePatch(single), DemoPatch(*PatchNumberOfLabel("B23")));
    EXPECT_EQ(Device({"receive", "temp", "-o", folder.File("temp.P33")}).code, 0);
}

TEST_F(DeviceCommands, SendStoresEveryNonEmptySlotOrOnePatch) {
    ASSERT_EQ(Device({"identify"}).code, 0); // creates the device memory with the demo bank
    const PatchBytes fifth = NamedPatch("Fifth"), hundredth = NamedPatch("Hundredth", 0x21);
    WriteCollection(upload, {{4, fifth}, {99, hundredth}});
    EXPECT_EQ(Device({"send", upload}), (CliRun{0, "", "A21 (5/128)\nD14 (100/128)\n"}));
    ASSERT_EQ(Device({"send", upload + ":D14", "--to=A13"}).code, 0);
    WriteSinglePatch(single, NamedPatch("Single"));
    ASSERT_EQ(Device({"send", single, "--to", "a12"}).code, 0);
    const auto memory = ReadCollectionFile(deviceBank); // empty slots are not sent: A11 stays
    EXPECT_EQ(std::vector({memory[4], memory[99], memory[2], memory[1], memory[0]}),
              std::vector({fifth, hundredth, hundredth, NamedPatch("Single"), DemoPatch(1)}));

    // A verified send reads back the user slots it wrote, never the temporary patch.
    auto run = Device({"send", upload, "--verify"});
    EXPECT_EQ(std::pair(run.code, run.out),
              std::pair(0, std::string("Sent and verified 2 patches\n")));
    EXPECT_EQ(Device({"send", single, "--to=temp", "--verify"}), (CliRun{0, "", ""}));
}

// Ctrl+C ends a transfer or an import before its next patch or file: exit 130, nothing
// printed, no file written, the device untouched.
TEST_F(DeviceCommands, CtrlCEndsATransferWithoutWritingAnything) {
    const PatchBytes sent = NamedPatch("Sent");
    WriteCollection(upload, {{5, sent}});
    const auto received = folder.File("received.G33"), library = folder.File("library.sqlite");
    for (const auto& args : std::vector<std::vector<std::string>>{
             {"receive", "all", "-o", received, "--virtual", "--bank", deviceBank},
             {"send", upload, "--virtual", "--bank", deviceBank},
             {"library", "import", upload, "--library", library}}) {
        SCOPED_TRACE(args[0]);
        CatchInterrupt();
        std::raise(SIGINT);
        EXPECT_EQ(Gr33(args), (CliRun{130, "", "Interrupted.\n"}));
    }
    EXPECT_FALSE(std::filesystem::exists(received));
    EXPECT_TRUE(!std::filesystem::exists(deviceBank) || ReadCollectionFile(deviceBank)[5] != sent);
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
        {{"--log", "receive", "b23", "-o", single},
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
