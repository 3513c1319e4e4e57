// Shared mechanisms: the error text rule and whole-file writes.
#include "base/AtomicFile.h"
#include "base/Errors.h"
#include "base/RecordingDialogs.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

TEST(MessageText, FullStopOnlyAfterCharactersSortingAfterTheDot) {
    EXPECT_EQ(MessageText("Illegal patch data format"), "Illegal patch data format.");
    EXPECT_EQ(MessageText("Patch (A11) is empty!"), "Patch (A11) is empty!");
    EXPECT_EQ(MessageText("Operation aborted."), "Operation aborted.");
    EXPECT_EQ(MessageText("mode)"), "mode)");
    EXPECT_EQ(MessageText("1/"), "1/.");
    EXPECT_EQ(MessageText(""), "");
}

TEST(AtomicFile, ReplacesWholeAndKeepsPermissions) {
    fs::path file = fs::temp_directory_path() / ("kelvo-atomic-" + std::to_string(::getpid()));
    WriteFileAtomically(file.string(), Bytes{1, 2, 3});
    ::chmod(file.c_str(), 0640);
    WriteFileAtomically(file.string(), Bytes{4});
    EXPECT_EQ(ReadWholeFile(file.string()), Bytes{4});
    struct stat st {};
    ::stat(file.c_str(), &st);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
    EXPECT_TRUE(FileExists(file.string()));
    fs::remove(file);
    EXPECT_FALSE(FileExists(file.string()));
    EXPECT_THROW(ReadWholeFile(file.string()), EKelvoError);
}

TEST(Prompts, ScopedRecorderAnswersFromItsQueue) {
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
}

} // namespace
