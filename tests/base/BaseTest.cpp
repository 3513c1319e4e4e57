// Shared mechanisms: the error text rule, whole-file writes and reads.
#include "base/AtomicFile.h"
#include "base/Errors.h"
#include "tests/support/AsOrdinaryUser.h"
#include "tests/support/FailureOf.h"
#include "tests/support/RecordingDialogs.h"
#include "tests/support/ScratchFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <random>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

TEST(MessageText, FullStopOnlyAfterCharactersSortingAfterTheDot) {
    std::string shown;
    for (const char* text : {"Illegal patch data format", "Patch (A11) is empty!",
                             "Operation aborted.", "mode)", "1/", ""})
        shown += MessageText(text) + "|";
    EXPECT_EQ(shown,
              "Illegal patch data format.|Patch (A11) is empty!|Operation aborted.|mode)|1/.||");
}

class AtomicFile : public ::testing::Test {
protected:
    std::vector<std::string> names() const {
        std::vector<std::string> found;
        for (const auto& entry : fs::directory_iterator(folder.Path()))
            found.push_back(entry.path().filename().string());
        std::sort(found.begin(), found.end());
        return found;
    }
    ScratchFolder folder;
    std::string file = folder.File("real.G33");
};

TEST_F(AtomicFile, ReplacesWholeKeepsPermissionsAndWritesThroughLinks) {
    WriteFileAtomically(file, Bytes{1, 2, 3});
    ::chmod(file.c_str(), 0640);
    fs::create_symlink("real.G33", folder.File("link.G33"));
    WriteFileAtomically(folder.File("link.G33"), Bytes{4});
    EXPECT_TRUE(fs::is_symlink(folder.File("link.G33")));
    EXPECT_EQ(ReadWholeFile(file), Bytes{4});
    EXPECT_EQ(fs::status(file).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    EXPECT_EQ(names(), (std::vector<std::string>{"link.G33", "real.G33"}));
    EXPECT_EQ(FailureOf([&] { WriteFileAtomically(folder.File("no/such/x.G33"), Bytes{1}); }),
              "Unable to write " + folder.File("no/such/x.G33") + ": No such file or directory");
}

// A file made read-only is refused and kept (checked as an ordinary user: the superuser writes).
TEST_F(AtomicFile, AReadOnlyFileIsRefusedAndKept) {
    WriteFileAtomically(file, Bytes{1, 2, 3});
    ::chmod(folder.Path().c_str(), 0777);
    ::chmod(file.c_str(), 0444);
    EXPECT_EQ(AsOrdinaryUser([&] {
                  return FailureOf([&] { WriteFileAtomically(file, Bytes{4}); }) ==
                                 "Unable to write " + file + ": Permission denied"
                             ? 0
                             : 1;
              }),
              0);
    EXPECT_EQ(ReadWholeFile(file), (Bytes{1, 2, 3}));
}

// A pipe (like /dev/null or /dev/stdout for the superuser) is written into, never replaced.
TEST_F(AtomicFile, APipeIsWrittenIntoAndStaysAPipe) {
    const std::string pipe = folder.File("pipe");
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    fs::create_symlink("pipe", folder.File("out.G33"));
    int reader = ::open(pipe.c_str(), O_RDONLY | O_NONBLOCK); // the write then never waits
    ASSERT_GE(reader, 0);
    WriteFileAtomically(folder.File("out.G33"), Bytes(5000, 7));
    Bytes read(6000);
    ssize_t n = ::read(reader, read.data(), read.size());
    ::close(reader);
    read.resize(n > 0 ? static_cast<std::size_t>(n) : 0);
    EXPECT_EQ(read, Bytes(5000, 7));
    EXPECT_TRUE(fs::is_fifo(pipe));
    EXPECT_EQ(names(), (std::vector<std::string>{"out.G33", "pipe"}));
    // Without a reader the write says so at once instead of waiting for one.
    EXPECT_EQ(FailureOf([&] { WriteFileAtomically(folder.File("out.G33"), Bytes(5, 7)); }),
              "Unable to write " + folder.File("out.G33") + ": it is a pipe that nothing reads");
    EXPECT_TRUE(fs::is_fifo(pipe));
}

TEST_F(AtomicFile, FileSizeLimitIsReportedAndKeepsTheOldFile) {
    WriteFileAtomically(file, Bytes(40, 7));
    // In a child process, since the limit and the signal it raises belong to the process; the
    // limit also truncates the child's error output, so the child checks the message itself.
    auto writeOverTheLimit = [this] {
        rlimit tiny{50, 50};
        ::setrlimit(RLIMIT_FSIZE, &tiny);
        try {
            WriteFileAtomically(file, Bytes(100, 8));
        } catch (const EKelvoError& e) {
            bool kept = ReadWholeFile(file) == Bytes(40, 7) && names().size() == 1 &&
                        std::string(e.what()) == "Unable to write " + file + ": File too large";
            std::_Exit(kept ? 0 : 1);
        }
        std::_Exit(2);
    };
    EXPECT_EXIT(writeOverTheLimit(), ::testing::ExitedWithCode(0), "");
}

// A save killed at any moment leaves the old or the new file whole; what it may leave beside it
// (only if killed between the link and the rename) is gone after the next save.
TEST_F(AtomicFile, KilledSavesLeaveNoTornAndNoTemporaryFiles) {
    const char* loops = std::getenv("KELVO_KILL_LOOPS");
    int count = loops ? std::atoi(loops) : 20;
    WriteFileAtomically(file, Bytes(17920, 1));
    std::mt19937 random(7);
    for (int i = 0; i < count; ++i) {
        pid_t child = ::fork();
        if (child == 0)
            for (std::uint8_t fill = 2;; fill = static_cast<std::uint8_t>(fill % 2 + 1))
                WriteFileAtomically(file, Bytes(17920, fill));
        ::usleep(500 + random() % 3000);
        ::kill(child, SIGKILL);
        ::waitpid(child, nullptr, 0);
        Bytes content = ReadWholeFile(file);
        ASSERT_EQ(content.size(), 17920u) << "after kill " << i;
        ASSERT_TRUE(content == Bytes(17920, 1) || content == Bytes(17920, 2)) << "after kill " << i;
        ASSERT_LE(names().size(), 2u) << "after kill " << i;
        WriteFileAtomically(file, content);
        ASSERT_EQ(names(), std::vector<std::string>{"real.G33"}) << "after kill " << i;
    }
}

TEST_F(AtomicFile, ReadsSayWhatAPathIsAndTakeOnlyWhatIsAsked) {
    fs::create_directory(folder.File("dir"));
    ::mkfifo(folder.File("pipe").c_str(), 0600);
    WriteFileAtomically(file, Bytes{1, 2, 3, 4});
    EXPECT_EQ(ReadFileStart(file, 2), (Bytes{1, 2}));
    EXPECT_FALSE(FileExists(folder.File("none")));
    for (auto [name, text] : {std::pair{"dir", " is a folder, not a file"},
                              std::pair{"pipe", " is a pipe, not a file"}}) {
        const std::string path = folder.File(name);
        EXPECT_TRUE(FileExists(path));
        EXPECT_EQ(FailureOf([&] { ReadWholeFile(path); }), path + text);
    }
}

TEST(Prompts, RecordedWhileInstalledAndAnsweredNoWithoutWindows) {
    RecordingDialogs rec;
    {
        ScopedPrompts guard(rec);
        rec.confirmAnswers = {true, false};
        EXPECT_TRUE(Confirmation("Save first"));
        EXPECT_FALSE(Confirmation("Again"));
        EXPECT_FALSE(Confirmation("Queue empty")); // defaultYes is false
    }
    EXPECT_EQ(rec.Texts("confirm"),
              (std::vector<std::string>{"Save first ?", "Again ?", "Queue empty ?"}));
    EXPECT_NE(&Prompts(), &rec);
    // A program without windows (the command-line tool) is never held by a question.
    Prompts().ShowMessage("shown nowhere");
    Prompts().ShowError("shown nowhere");
    EXPECT_FALSE(Confirmation("Overwrite"));
    EXPECT_FALSE(Prompts().OpenFileName("Load", "*.G33", "G33") ||
                 Prompts().SaveFileName("Save", "*.G33", "G33") ||
                 Prompts().InputText("Name", "Name:", "") || Prompts().ChooseFont({}));
}

} // namespace
