// The settings store's file rules: case-insensitive names, first match wins, lines without "="
// kept in place, CR LF on write, any line end on read, written only when something was written.
#include "base/AtomicFile.h"
#include "model/Settings.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

class SettingsStore : public ::testing::Test {
protected:
    void SetUp() override {
        file = fs::temp_directory_path() /
               ("kelvo-settings-" + std::to_string(::getpid()) + "-" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name() + ".ini");
        fs::remove(file);
    }
    void TearDown() override { fs::remove(file); }
    void write(const std::string& text) { std::ofstream(file, std::ios::binary) << text; }
    std::string read() const {
        Bytes b = ReadWholeFile(file.string());
        return std::string(b.begin(), b.end());
    }
    fs::path file;
    TSettingsStore store;
};

TEST_F(SettingsStore, NamesIgnoreCaseAndTheFirstLineWins) {
    write("[Options]\r\ndevicewarnings=yes\nDeviceWarnings=NO\rGridFont=8 0 Sans=Serif");
    store.Start(file.string());
    EXPECT_EQ(store.ReadSetting("DeviceWarnings"), "yes");
    EXPECT_TRUE(store.IsYes("DeviceWarnings"));
    EXPECT_EQ(store.ReadSetting("GRIDFONT"), "8 0 Sans=Serif");
    EXPECT_EQ(store.ReadSetting("Options"), "");
    EXPECT_EQ(store.ReadSetting("Missing"), "");
    EXPECT_FALSE(store.IsNo("Missing"));
}

TEST_F(SettingsStore, WritesReplaceInPlaceAppendNewNamesAndKeepOtherLines) {
    write("; comment\n[Section]\nConsole=Yes\n\nconsole=second\n");
    store.Start(file.string());
    store.WriteSetting("CONSOLE", "No");
    store.WriteSetting("Channel", "3");
    store.WriteSetting("Channel", "5");
    store.End();
    EXPECT_EQ(read(),
              "; comment\r\n[Section]\r\nCONSOLE=No\r\n\r\nconsole=second\r\nChannel=5\r\n");
}

TEST_F(SettingsStore, FileIsRewrittenOnlyWhenSomethingWasWritten) {
    write("Poly=Yes\n");
    store.Start(file.string());
    store.ReadSetting("Poly");
    store.End();
    EXPECT_EQ(read(), "Poly=Yes\n"); // untouched, LF kept

    store.Start(file.string());
    store.WriteSetting("Poly", "Yes"); // same value still counts as a write
    store.End();
    EXPECT_EQ(read(), "Poly=Yes\r\n");
}

TEST_F(SettingsStore, MissingFileStartsEmptyAndIsCreatedAtTheEnd) {
    store.Start(file.string());
    EXPECT_TRUE(store.Lines().empty());
    store.WriteSetting("MidiOutEntry", "2");
    store.End();
    EXPECT_EQ(read(), "MidiOutEntry=2\r\n");
}

// What cannot be the settings file is reported at start, not read (a pipe would block the
// start), and left as it is at the end.
TEST_F(SettingsStore, WhatIsNotASettingsFileIsReportedAndNeverOverwritten) {
    const std::pair<std::function<void()>, std::string> cases[] = {
        {[&] { fs::create_directory(file); }, file.string() + " is a folder, not a file"},
        {[&] { ::mkfifo(file.c_str(), 0600); }, file.string() + " is a pipe, not a file"},
        {[&] { write("Poly=Yes\n"), fs::resize_file(file, 1ull << 30); },
         "Settings file " + file.string() + " is larger than 1 MiB"},
    };
    for (const auto& [make, error] : cases) {
        SCOPED_TRACE(error);
        make();
        auto kind = fs::status(file).type();
        store.Start(file.string());
        EXPECT_EQ(store.ReadError(), error);
        store.WriteSetting("Console", "Yes");
        EXPECT_NO_THROW(store.End());
        EXPECT_EQ(fs::status(file).type(), kind);
        if (kind == fs::file_type::regular) {
            EXPECT_EQ(fs::file_size(file), 1ull << 30);
        }
        fs::remove(file);
    }
}

} // namespace
