// gr33 receive all --resume / --keep-partial and the snapshot a collection send takes first,
// against the in-process simulated GR-33.
#include "CliTestSupport.h"
#include "base/FileRead.h"
#include "cli/Interrupt.h"
#include "gr33/CollectionFile.h"
#include "gr33/PatchNumber.h"
#include "gr33/SafeTransfer.h"
#include "gr33/SysEx.h"
#include "sim/DemoBank.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>

using ::testing::HasSubstr;

namespace {

class SafeTransferCommands : public ::testing::Test {
protected:
    SafeTransferCommands() { setenv("XDG_DATA_HOME", folder.Path().c_str(), 1); }
    CliRun Device(std::vector<std::string> args) {
        args.insert(args.end(), {"--virtual", "--bank", deviceBank});
        return Gr33(args);
    }
    // The partial file a receive stopped before slot k would have kept.
    std::string Partial(int k) {
        std::vector<PatchBytes> received;
        for (int n = 1; n < k; ++n)
            received.push_back(DemoPatch(n));
        WritePartialFile(partial, received);
        return partial;
    }

    ScratchFolder folder;
    std::string deviceBank = folder.File("device.G33");
    std::string out = folder.File("bank.G33");
    std::string partial = folder.File("kept.partial.G33");
};

} // namespace

// Going on at slot k writes the file an uninterrupted receive writes, asking only from k on.
TEST_F(SafeTransferCommands, ResumeCompletesTheCollection) {
    ASSERT_EQ(Device({"identify"}).code, 0); // creates the device memory with the demo bank
    for (int k : {1, 2, 37, 128}) {
        SCOPED_TRACE(k);
        std::filesystem::remove(out);
        auto run = Device({"receive", "all", "--resume", Partial(k), "-o", out});
        ASSERT_EQ(run.code, 0) << run.err;
        EXPECT_EQ(ReadWholeFile(out), ReadWholeFile(deviceBank));
        EXPECT_TRUE(run.err.starts_with(PatchLabel(k) + " (" + std::to_string(k) + "/128)\n"))
            << run.err;
    }
    EXPECT_THAT(Gr33({"library", "snapshots"}).out, HasSubstr("Virtual GR-33  complete\n"));
}

// A receive that stops keeps what it got only with --keep-partial, under FILE.partial.G33, whose
// length says where it stopped; a file that is no partial receive is refused before any exchange.
TEST_F(SafeTransferCommands, KeptPartialFileAndRefusals) {
    const std::string kept = folder.File("bank.partial.G33");
    for (bool keep : {false, true}) {
        SCOPED_TRACE(keep);
        std::vector<std::string> args = {"receive", "all", "--resume", Partial(38), "-o", out};
        if (keep) args.push_back("--keep-partial");
        CatchInterrupt();
        std::raise(SIGINT);
        auto run = Device(args);
        EXPECT_EQ(run.code, 130);
        EXPECT_FALSE(std::filesystem::exists(out));
        ASSERT_EQ(std::filesystem::exists(kept), keep);
    }
    std::signal(SIGINT, SIG_DFL);
    EXPECT_EQ(std::filesystem::file_size(kept), 37 * DataMessageSize);
    EXPECT_EQ(ReadPartialFile(kept), ReadPartialFile(partial));

    const struct {
        std::vector<std::string> args;
        int code;
        std::string err;
    } cases[] = {
        {{"receive", "all", "--resume", deviceBank, "-o", out}, 1, "Illegal patch data format.\n"},
        {{"receive", "all", "--resume", folder.File("none"), "-o", out}, 1, "File "},
        {{"receive", "A11", "--keep-partial", "-o", folder.File("a.P33")}, 2, "gr33 receive: "},
    };
    ASSERT_EQ(Device({"identify"}).code, 0);
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.args));
        auto run = Device(c.args);
        EXPECT_EQ(run.code, c.code);
        EXPECT_TRUE(run.err.starts_with(c.err)) << run.err;
        EXPECT_FALSE(std::filesystem::exists(out));
    }
}

// A collection send first records the device's bank as a snapshot, unless told not to.
TEST_F(SafeTransferCommands, SendRecordsTheBankBeforeIt) {
    std::array<PatchBytes, 128> slots{};
    slots[4] = NamedPatch("Fifth");
    const std::string upload = folder.File("upload.G33");
    WriteCollection(upload, slots);
    ASSERT_EQ(Device({"send", upload, "--no-snapshot"}).code, 0);
    EXPECT_EQ(Gr33({"library", "snapshots"}).out, "");
    auto run = Device({"send", upload, "--verify"});
    ASSERT_EQ(run.code, 0) << run.err;
    EXPECT_EQ(run.out, "Sent and verified 1 patches\n");
    EXPECT_THAT(Gr33({"library", "snapshots"}).out,
                HasSubstr("before send (Virtual GR-33)  complete\n"));
    ASSERT_EQ(Gr33({"library", "export", "1", "-o", out}).code, 0);
    const auto before = ReadCollectionFile(out);
    EXPECT_EQ(before[4], NamedPatch("Fifth"));
    EXPECT_EQ(before[0], DemoPatch(1));
}
