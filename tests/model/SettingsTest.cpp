// Settings file rules: names ignore case, first match wins, other lines kept, CR LF written.
#include "model/Settings.h"
#include "base/AtomicFile.h"
#include "model/RecentFiles.h"
#include "model/SettingsFile.h"
#include "tests/support/AsOrdinaryUser.h"
#include "tests/support/ScratchFolder.h"

#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <sys/stat.h>

namespace fs = std::filesystem;

namespace {

class SettingsStore : public ::testing::Test {
protected:
    void Write(const std::string& text) { std::ofstream(file, std::ios::binary) << text; }
    std::string Read() const {
        Bytes b = ReadWholeFile(file);
        return std::string(b.begin(), b.end());
    }
    ScratchFolder folder;
    std::string file = folder.File("KelvoLight.ini");
    TSettingsStore store;
};

TEST_F(SettingsStore, NamesIgnoreCaseAndTheFirstLineWins) {
    Write("[Options]\r\ndevicewarnings=yes\nDeviceWarnings=NO\rGridFont=8 0 Sans=Serif");
    store.Start(file);
    EXPECT_EQ(store.ReadSetting("DeviceWarnings"), "yes");
    EXPECT_TRUE(store.IsYes("DEVICEWARNINGS"));
    EXPECT_EQ(store.ReadSetting("GRIDFONT"), "8 0 Sans=Serif");
    EXPECT_EQ(store.ReadSetting("Options") + store.ReadSetting("Missing"), "");
    EXPECT_FALSE(store.IsNo("Missing") || store.IsYes("Missing"));
}

TEST_F(SettingsStore, WhatTheFileHoldsAfterTheWrites) {
    const std::vector<
        std::tuple<const char*, std::vector<std::pair<const char*, const char*>>, const char*>>
        cases = {
            {"\r\n; comment\n[Section]\nConsole=Yes\n\nconsole=second\n",
             {{"CONSOLE", "No"}, {"Channel", "3"}, {"Channel", "5"}},
             "\r\n; comment\r\n[Section]\r\nCONSOLE=No\r\n\r\nconsole=second\r\nChannel=5\r\n"},
            {"Poly=Yes\n", {}, "Poly=Yes\n"},                         // untouched, LF kept
            {"Poly=Yes\n", {{"Poly", "Yes"}}, "Poly=Yes\r\n"},        // a same value still writes
            {nullptr, {{"MidiOutEntry", "2"}}, "MidiOutEntry=2\r\n"}, // created at the end
        };
    for (const auto& [before, writes, after] : cases) {
        SCOPED_TRACE(after);
        fs::remove(file);
        if (before) Write(before);
        store.Start(file);
        EXPECT_EQ(store.Lines().empty(), before == nullptr);
        store.ReadSetting("Poly");
        for (const auto& [name, value] : writes)
            store.WriteSetting(name, value);
        store.End();
        store.End(); // nothing written since the last end
        EXPECT_EQ(Read(), after);
    }
}

TEST(SettingInteger, TakesDecimalsInTheSixteenBitRange) {
    const std::pair<const char*, std::optional<int>> cases[] = {
        {"5", 5}, {"  -32768", -32768}, {"+32767", 32767}, {"32768", {}}, {"-32769", {}},
        {"", {}}, {"   ", {}},          {"1x", {}},        {"+-1", {}},   {"3 ", {}}};
    for (const auto& [text, value] : cases)
        EXPECT_EQ(SettingInteger(text), value) << text;
}

TEST_F(SettingsStore, AFileOfExactlyOneMiBIsStillRead) {
    Write("Poly=Yes\n");
    fs::resize_file(file, 1 << 20);
    store.Start(file);
    EXPECT_EQ(store.ReadError(), "");
    EXPECT_EQ(store.ReadSetting("Poly"), "Yes");
}

// What cannot be the settings file is reported at start, never read nor overwritten.
TEST_F(SettingsStore, WhatIsNotASettingsFileIsReportedAndNeverOverwritten) {
    const std::pair<std::function<void()>, std::string> cases[] = {
        {[&] { fs::create_directory(file); }, file + " is a folder, not a file"},
        {[&] { ::mkfifo(file.c_str(), 0600); }, file + " is a pipe, not a file"},
        {[&] { Write("Poly=Yes\n"), fs::resize_file(file, 1ull << 30); },
         "Settings file " + file + " is larger than 1 MiB"},
    };
    for (const auto& [make, error] : cases) {
        SCOPED_TRACE(error);
        make();
        auto kind = fs::status(file).type();
        store.Start(file);
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

// Beside a portable copy, in the user's folder for an installed one and for a file left there
// that the user cannot write.
TEST_F(SettingsStore, TheFileIsBesideAPortableCopyOnly) {
    const std::string portable = folder.File("portable/KelvoLight"), bin = folder.File("bin"),
                      installed = folder.File("bin/KelvoLight"), config = folder.File("config");
    fs::create_directories(folder.File("portable"));
    fs::create_directories(bin);
    EXPECT_EQ(ChooseSettingsFile(portable, bin, config), portable + ".ini");
    EXPECT_EQ(ChooseSettingsFile(installed, bin, config), config + "/KelvoLight.ini");
    std::ofstream(installed + ".ini") << "Poly=Yes\r\n"; // kept where someone writes it
    EXPECT_EQ(ChooseSettingsFile(installed, bin, config), installed + ".ini");
    // As a user who may write neither (root's file, a folder of the system's).
    ::chmod(folder.Path().c_str(), 0755);
    ::chmod((installed + ".ini").c_str(), 0444);
    ::chmod(folder.File("portable").c_str(), 0555);
    EXPECT_EQ(AsOrdinaryUser([&] {
                  return ChooseSettingsFile(installed, bin, config) == config + "/KelvoLight.ini" &&
                                 ChooseSettingsFile(portable, bin, config) ==
                                     config + "/KelvoLight.ini"
                             ? 0
                             : 1;
              }),
              0);
}

// The recent files: absolute names, newest first, no repeats, at most RecentFileCount.
TEST(RecentFiles, NewestFirstWithoutRepeats) {
    ScratchFolder folder;
    Settings().Start(folder.File("settings.ini"));
    for (int k = 0; k <= RecentFileCount; ++k)
        RememberRecentFile("/f" + std::to_string(k));
    RememberRecentFile("/f3");
    ForgetRecentFile("/f8");
    EXPECT_EQ(RecentFiles(),
              (std::vector<std::string>{"/f3", "/f7", "/f6", "/f5", "/f4", "/f2", "/f1"}));
    EXPECT_EQ(ReadSetting("Recent8"), "");
    RememberRecentFile("x.G33");
    EXPECT_EQ(RecentFiles()[0], (fs::current_path() / "x.G33").string());
}

} // namespace
