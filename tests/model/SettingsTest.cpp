// Settings file rules: names ignore case, first match wins, other lines kept, CR LF written;
// where the file is, the recent files, and the texts of settings: numbers, the grid font, the
// port entries.
#include "model/Settings.h"
#include "base/AtomicFile.h"
#include "model/GridFont.h"
#include "model/PortList.h"
#include "model/RecentFiles.h"
#include "model/SettingsFile.h"
#include "tests/midi/FakeMidiBackend.h"
#include "tests/support/AsOrdinaryUser.h"
#include "tests/support/FailureOf.h"
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

// The file is exactly 1 MiB, the most that is still read; its last line has no line end.
TEST_F(SettingsStore, NamesIgnoreCaseAndTheFirstLineWins) {
    const std::string text =
        "[Options]\r\ndevicewarnings=yes\nDeviceWarnings=NO\rGridFont=8 0 Sans=Serif";
    Write(std::string((1 << 20) - text.size(), '\n') + text);
    store.Start(file);
    EXPECT_EQ(store.ReadError(), "");
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
        EXPECT_TRUE(kind != fs::file_type::regular || fs::file_size(file) == 1ull << 30);
        fs::remove(file);
    }
}

// Beside a portable copy, in the user's folder for an installed one and for a file left there
// that the user cannot write.
TEST_F(SettingsStore, TheFileIsBesideAPortableCopyOnly) {
    const std::string portable = folder.File("portable/KelvoLight"), bin = folder.File("bin"),
                      installed = folder.File("bin/KelvoLight"), config = folder.File("config"),
                      home = config + "/KelvoLight.ini";
    fs::create_directories(folder.File("portable"));
    fs::create_directories(bin);
    EXPECT_EQ(ChooseSettingsFile(portable, bin, config), portable + ".ini");
    EXPECT_EQ(ChooseSettingsFile(installed, bin, config), home);
    std::ofstream(installed + ".ini") << "Poly=Yes\r\n"; // kept where someone writes it
    EXPECT_EQ(ChooseSettingsFile(installed, bin, config), installed + ".ini");
    // As a user who may write neither (root's file, a folder of the system's).
    ::chmod(folder.Path().c_str(), 0755);
    ::chmod((installed + ".ini").c_str(), 0444);
    ::chmod(folder.File("portable").c_str(), 0555);
    EXPECT_EQ(AsOrdinaryUser([&] {
                  return (ChooseSettingsFile(installed, bin, config) != home) +
                         2 * (ChooseSettingsFile(portable, bin, config) != home);
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

// The GridFont text: what it takes reads back the same; what it ignores or refuses leaves the
// font alone.
TEST(GridFont, TextsTakenIgnoredOrRefused) {
    const FontSpec design{8, 0, "Sans"};
    // The text, then the font it gives as text again or the error.
    const std::pair<const char*, const char*> cases[] = {
        {"", "8 0 Sans"},
        {"12", "8 0 Sans"},
        {"12 1", "8 0 Sans"},
        {"abc", "8 0 Sans"},
        {"1 255 X", "1 255 X"},
        {"200 0 S", "200 0 S"},
        {"x 0 Sans Bold", "'x' is not a valid integer value"},
        {"10 b Sans", "'b' is not a valid integer value"},
        {"10 256 Sans", "'256' is not a valid font style"},
        {"10 -1 Sans", "'-1' is not a valid font style"},
        {"0 0 Sans", "'0' is not a valid font size"},
        {"201 0 Sans", "'201' is not a valid font size"}};
    for (const auto& [text, outcome] : cases) {
        FontSpec font = design;
        const std::string error = FailureOf([&, t = text] { StringToFont(font, t); });
        EXPECT_EQ(error.empty() ? FontToString(font) : error, outcome) << text;
        EXPECT_TRUE(error.empty() || font == design) << text;
    }
    FontSpec font = design;
    StringToFont(font, "12 1 Arial Narrow");
    EXPECT_EQ(font, (FontSpec{12, 1, "Arial Narrow"}));
}

TEST(PortList, EntriesNameTheirDeviceNumbers) {
    using K = TMidiTechnology;
    InstalledFake fake({{"USB In"}, {"Hub #2 In"}}, {{"Soft Synth", K::mtSynth},
                                                     {"Out & Thru", K::mtMidiPort},
                                                     {"Wave", K::mtFmSynth},
                                                     {"Last", K::mtMidiPort}});
    auto listed = [](const std::vector<PortEntry>& entries) {
        std::string text;
        for (const PortEntry& entry : entries)
            text += entry.caption + "=" + entry.name + "@" + std::to_string(entry.device) + ";";
        return text;
    };
    EXPECT_EQ(listed(ListInputPorts(nullptr)), "USB In  #1=USB In@1;Hub #2 In  #2=Hub #2 In@2;");
    // Only ports of the MIDI-port kind, never the mapper (device 0).
    EXPECT_EQ(listed(ListOutputPorts(nullptr)), "Out & Thru  #2=Out & Thru@2;Last  #4=Last@4;");
}

TEST(PortList, RestoredEntryByNumberOrName) {
    const std::tuple<const char*, int, int> cases[] = {
        {"1", 3, 1}, {"2", 3, 2}, {"0", 3, 0},  {"3", 3, 0},  {"-1", 3, 0},
        {"", 3, 0},  {"x", 3, 0}, {"2 ", 3, 0}, {"+1", 3, 0}, {"0", 0, 0}};
    for (const auto& [stored, count, entry] : cases)
        EXPECT_EQ(RestoredEntry(stored, count), entry) << stored << " of " << count;
    // The stored name finds the port wherever listed; the position counts only when none matches.
    const std::vector<PortEntry> entries = {
        {"Hub  #1", "Hub", 1}, {"GR-33 In  #2", "GR-33 In", 2}, {"GR-33 In  #3", "GR-33 In", 3}};
    const std::tuple<const char*, const char*, int> named[] = {
        {"GR-33 In", "0", 1}, {"GR-33 In", "2", 1}, {"Hub", "x", 0},
        {"Gone", "2", 2},     {"", "1", 1},         {"gr-33 in", "9", 0}};
    for (const auto& [name, position, entry] : named) {
        SCOPED_TRACE(std::string(name) + " at " + position);
        EXPECT_EQ(RestoredEntry(entries, name, position), entry);
    }
    EXPECT_EQ(RestoredEntry({}, "Hub", "1"), 0);
    EXPECT_EQ(EntryNamed(entries, "Gone"), -1);
}

} // namespace
