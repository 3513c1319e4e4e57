// gr33 run in-process on patch files in a scratch folder, on the simulated GR-33 with its memory
// in a scratch file, and on scratch libraries.
#include "cli/Gr33Cli.h"
#include "base/AtomicFile.h"
#include "base/Version.h"
#include "cli/Gr33CommandLine.h"
#include "cli/Interrupt.h"
#include "gr33/CollectionFile.h"
#include "gr33/Patch.h"
#include "gr33/PatchNumber.h"
#include "gr33/SysEx.h"
#include "midi/MidiLog.h"
#include "sim/DemoBank.h"
#include "tests/support/AsOrdinaryUser.h"
#include "tests/support/ScratchFolder.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <csignal>
#include <fstream>
#include <sstream>
#include <streambuf>
#include <sys/stat.h>

using ::testing::_;
using ::testing::AllOf;
using ::testing::Each;
using ::testing::ElementsAre;
using ::testing::EndsWith;
using ::testing::HasSubstr;
using ::testing::Not;
using ::testing::SizeIs;
using ::testing::StartsWith;

namespace {

struct CliRun {
    int code = -1;
    std::string out;
    std::string err;
    bool operator==(const CliRun&) const = default;
    std::vector<std::string> OutLines() const {
        std::vector<std::string> lines;
        std::istringstream in(out);
        for (std::string line; std::getline(in, line);)
            lines.push_back(line);
        return lines;
    }
    friend void PrintTo(const CliRun& run, std::ostream* os) {
        *os << "exit " << run.code << ", out " << ::testing::PrintToString(run.out) << ", err "
            << ::testing::PrintToString(run.err);
    }
};

CliRun Gr33(const std::vector<std::string>& args) {
    std::ostringstream out, err;
    const int code = RunGr33(args, out, err);
    return {code, out.str(), err.str()};
}

// A patch with a recognisable name and every other byte `fill`.
PatchBytes NamedPatch(const std::string& name, std::uint8_t fill = 0x40) {
    PatchBytes bytes;
    bytes.fill(fill);
    auto n = TextToName(name);
    std::copy(n.begin(), n.end(), bytes.begin());
    return bytes;
}

// Writes a collection file with the patches at their slot indexes 0..127, the others empty.
void WriteCollection(const std::string& file,
                     const std::vector<std::pair<int, PatchBytes>>& patches) {
    std::array<PatchBytes, 128> slots{};
    for (const auto& [index, bytes] : patches)
        slots[index] = bytes;
    auto records = std::make_unique<std::array<TPatch, 128>>();
    std::array<const TPatch*, 128> pointers;
    for (int n = 1; n <= 128; ++n) {
        (*records)[n - 1].SetBytes(slots[n - 1], n);
        pointers[n - 1] = &(*records)[n - 1];
    }
    WriteCollectionFile(file, pointers);
}

void WriteSinglePatch(const std::string& file, const PatchBytes& bytes) {
    TPatch patch;
    patch.SetBytes(bytes, 0);
    patch.SaveToFile(file, 0);
}

PatchBytes ReadSinglePatch(const std::string& file) {
    TPatch patch;
    patch.LoadFromFile(file);
    return patch.Bytes();
}

// The patch's name without trailing blanks, as the library and the log show it.
std::string NameOf(const PatchBytes& bytes) {
    TPatch patch;
    patch.SetBytes(bytes, 1);
    std::string name = patch.GetName();
    return name.erase(name.find_last_not_of(' ') + 1);
}

// The fields of a library listing's line.
std::vector<std::string> Fields(const std::string& line) {
    std::vector<std::string> fields;
    for (std::size_t start = 0, end = 0; end != std::string::npos; start = end + 3) {
        end = line.find(" | ", start);
        fields.push_back(line.substr(start, end - start));
    }
    return fields;
}

// A collection with named patches in A11 and D84, everything else empty, and a single patch.
class Gr33Cli : public ::testing::Test {
protected:
    Gr33Cli() {
        // A receive records its snapshot in the user's library: here one in the scratch folder.
        setenv("XDG_DATA_HOME", folder.Path().c_str(), 1);
        WriteCollection(bank, {{0, first}, {127, last}});
        WriteSinglePatch(single, NamedPatch("Single"));
    }
    // Runs against the simulated GR-33, its memory kept in the scratch folder.
    CliRun Device(std::vector<std::string> args) const {
        args.insert(args.end(), {"--virtual", "--bank", deviceBank});
        return Gr33(args);
    }
    CliRun Library(std::vector<std::string> args) const {
        args.insert(args.begin(), "library");
        args.insert(args.end(), {"--library", library});
        return Gr33(args);
    }

    const PatchBytes first = NamedPatch("First Patch");
    const PatchBytes last = NamedPatch("Last Patch", 0x30);
    ScratchFolder folder;
    std::string bank = folder.File("bank.G33");
    std::string single = folder.File("one.p33"); // the extension in any case
    std::string deviceBank = folder.File("device.G33");
    std::string library = folder.File("library.sqlite");
};
using FileCommands = Gr33Cli;
using DeviceCommands = Gr33Cli;
using LibraryCommands = Gr33Cli;

} // namespace

// Each command line form and the start of its output (status 0) or error output (nothing
// printed, no file written); file errors exit 1, diff's 2 (1 means "they differ").
TEST_F(FileCommands, CommandLineFormsAndWhatTheyPrint) {
    const std::string x = folder.File("x.P33"), noOption = "export-text has no option --to\n";
    const std::string none = folder.File("none.G33"), renamed = folder.File("single.G33");
    std::filesystem::copy_file(single, renamed); // read as a collection: fails at its first slot
    const std::string bankSyx = folder.File("bank.syx"), singleSyx = folder.File("one.SYX");
    std::filesystem::copy_file(bank, bankSyx); // .syx files are what their messages are
    std::filesystem::copy_file(single, singleSyx);
    const std::string escapes = folder.File("escapes.P33"); // a name that would retitle a terminal
    PatchBytes named = NamedPatch("");
    std::copy_n("\x1b]0;Bad\x07\\~", 10, named.begin());
    WriteSinglePatch(escapes, named);
    const struct {
        std::vector<std::string> args;
        int code;
        std::string text;
    } cases[] = {
        {{"--version"}, 0, std::string("gr33 ") + KelvoVersion + "\n"},
        {{"list", "--help"}, 0, "usage: gr33 list FILE\nPrint the label"},
        {{"send", "-h"}, 0, "usage: gr33 send FILE[:LABEL] [--to LABEL|temp]\n"},
        {{}, 2, "usage: gr33 COMMAND"},
        {{"frobnicate"}, 2, "gr33: unknown command frobnicate\nusage: gr33 COMMAND"},
        {{"--virtual", "list"}, 2, "gr33: unknown command --virtual\n"},
        {{"list"}, 2, "gr33 list: list takes 1 argument\n"},
        {{"dump", "list"}, 2, "gr33 dump: not a patch file"}, // a file, not a second command
        {{"list", folder.File("bank.txt")}, 2, "gr33 list: not a patch file"},
        {{"list", ".G33"}, 2, "gr33 list: not a patch file"}, // an extension alone
        {{"dump", bank}, 2, "gr33 dump: "},                   // a collection needs a slot
        {{"dump", single + ":A11"}, 2, "gr33 dump: "},        // a single patch has none
        {{"dump", bank + ":temp"}, 2, "gr33 dump: "},
        {{"export-text", bank, "--to", "A11"}, 2, "gr33 export-text: " + noOption},
        {{"export-text", bank, "--to=A11"}, 2, "gr33 export-text: " + noOption},
        {{"diff", bank + ":A11", single, "--to", "A11"}, 2, "gr33 diff: diff has no option --to\n"},
        {{"list", bank, "--frob"}, 2, "gr33 list: unknown option --frob\n"},
        {{"list", "-x.G33"}, 2, "gr33 list: unknown option -x.G33\n"},
        {{"list", bank, "-o"}, 2, "gr33 list: -o needs a value\n"},
        {{"send", bank, "--to", "A11", "--to=A12"}, 2, "gr33 send: --to given twice\n"},
        {{"import-text", single}, 2, "gr33 import-text: import-text needs -o OUT.P33\n"},
        {{"extract", single, "-o", x}, 2, "gr33 extract: "},
        {{"extract", bank + ":A11", "-o", folder.File("x.G33")}, 2, "gr33 extract: "},
        {{"identify"}, 2, "gr33 identify: name the input port with --in"},
        {{"receive", "all", "-o", bank, "--in", "1"}, 2, "gr33 receive: name the output port"},
        {{"receive", "all", "-o", none, "--out", "1"}, 2, "gr33 receive: name the input port"},
        {{"send", bank, "--in", "1"}, 2, "gr33 send: name the output port"},
        {{"ports", "--bank", bank}, 2, "gr33 ports: --bank belongs to --virtual\n"},
        {{"export-text", bank + ":A12"}, 1, "Patch (A12) is empty!\n"},
        {{"extract", bank + ":B23", "-o", x}, 1, "Patch (B23) is empty!\n"},
        {{"list", none}, 1, "File " + none + " not found.\n"},
        {{"import-text", none, "-o", x}, 1, "File " + none + " not found.\n"},
        {{"dump", folder.File("none.P33")}, 1, "Patch file not found.\n"},
        {{"diff", bank + ":A11", folder.File("none.P33")}, 2, "Patch file not found.\n"},
        {{"list", renamed}, 1, "Illegal patch data format.\n"},
        {{"list", single}, 0, "Temporary Patch: Single      \n"},
        {{"list", bankSyx + ":d84"}, 0, "D84: Last Patch  \n"},
        {{"list", escapes}, 0, "Temporary Patch: ]0;Bad\u00A5\u00BB  \n"}, // as dump shows it
        {{"dump", singleSyx}, 0, "Common / Patch Name: Single"},
        {{"dump", bank + ":A11"}, 0, "Common / Patch Name: First Patch \n"},
        {{"extract", bankSyx + ":D84", "-o", folder.File("x.syx")}, 2, "gr33 extract: the output"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.args));
        auto run = Gr33(c.args);
        EXPECT_EQ(run.code, c.code);
        EXPECT_THAT(c.code == 0 ? run.out : run.err, StartsWith(c.text)) << run.err;
        EXPECT_TRUE(c.code == 0 || run.out.empty());
    }
    EXPECT_FALSE(std::filesystem::exists(x));
    EXPECT_THAT(
        Gr33({"send", "--help"}).out, // its own options only, each with its value
        AllOf(Not(HasSubstr("-o FILE")), HasSubstr("\n  --to LABEL|temp             Where")));
    auto line = ParseGr33CommandLine({"list", "--", "-x.G33"}); // -- ends the options
    EXPECT_EQ(line.arguments.positional, std::vector<std::string>{"-x.G33"});
}

TEST_F(FileCommands, ListDumpAndDiff) {
    std::string listing = "A11: First Patch \n";
    for (int n = 2; n < 128; ++n)
        listing += PatchLabel(n) + ": Empty\n";
    EXPECT_EQ(Gr33({"list", bank}), (CliRun{0, listing + "D84: Last Patch  \n", ""}));
    // Type byte 0x40 selects no effect type.
    EXPECT_EQ(Gr33({"dump", bank + ":A11"}).OutLines().size(), 112u);
    auto changed = NamedPatch("First Patch");
    changed[12] = 50; // Patch Level
    WriteSinglePatch(folder.File("copy.P33"), changed);
    EXPECT_EQ(Gr33({"diff", bank + ":A11", folder.File("copy.P33")}),
              (CliRun{1, "Common / Patch Level: 64 -> 50\n", ""}));
    EXPECT_EQ(Gr33({"diff", bank + ":A11", bank + ":a11"}), (CliRun{0, "", ""}));
}

// Output that cannot be written fails also a command that did its work: help and listings exit
// 1, diff 2, and say why on the error output.
TEST_F(FileCommands, UnwritableOutputFailsTheRun) {
    struct Full : std::streambuf {
        int overflow(int) override { return traits_type::eof(); }
    } full;
    for (const auto& [args, status] : std::vector<std::pair<std::vector<std::string>, int>>{
             {{"--version"}, 1}, {{"list", bank}, 1}, {{"diff", bank + ":A11", single}, 2}}) {
        std::ostream out(&full);
        std::ostringstream err;
        EXPECT_EQ(RunGr33(args, out, err), status) << args[0];
        EXPECT_EQ(err.str(), "Unable to write the standard output\n");
    }
}

// Exported text imports back, also with CR LF; a failed import leaves the file as it was.
TEST_F(FileCommands, TextFormRoundTripsThroughExportAndImport) {
    const auto exported = Gr33({"export-text", bank + ":D84"});
    ASSERT_EQ(exported.code, 0) << exported.err;
    const auto lines = exported.OutLines();
    ASSERT_EQ(lines.size(), 22u);
    EXPECT_EQ(lines[2], "<Name>Last Patch</Name>");
    auto text = folder.File("d84.txt"), out = folder.File("out.P33");
    auto importAs = [&](const std::string& end, std::size_t at, const std::string& line) {
        auto changed = lines;
        changed[at] = line;
        std::string all;
        for (const auto& l : changed)
            all += l + (end.empty() ? "\n" : end);
        if (end.empty()) all.pop_back(); // "": the last line has no end
        WriteFileAtomically(text, Bytes(all.begin(), all.end()));
        return Gr33({"import-text", text, "-o", out});
    };
    for (const std::string end : {"\n", "\r\n", ""}) {
        std::filesystem::remove(out);
        EXPECT_EQ(importAs(end, 0, lines[0]), (CliRun{0, "", ""}));
        EXPECT_EQ(ReadSinglePatch(out), last);
    }
    // Whatever follows the text form is not read: a 64 GiB (sparse) tail costs nothing.
    std::filesystem::resize_file(text, 64ull << 30);
    EXPECT_EQ(Gr33({"import-text", text, "-o", out}), (CliRun{0, "", ""}));
    std::filesystem::remove(text);
    WriteSinglePatch(out, NamedPatch("Keep me"));
    const auto before = ReadWholeFile(out);
    auto notHex = lines[11];
    notHex.replace(10, 2, "ZZ");
    const std::vector<std::tuple<std::size_t, std::string, std::string>> broken = {
        {19, lines[19] + " ", "Unable to import data\n"},
        {11, notHex, "'$ZZ' is not a valid integer value.\n"}};
    for (const auto& [at, line, err] : broken) {
        EXPECT_EQ(importAs("\n", at, line), (CliRun{1, "", err}));
        EXPECT_EQ(ReadWholeFile(out), before);
    }
}

TEST_F(FileCommands, ExtractWritesOneSlotAsASinglePatchFile) {
    auto out = folder.File("last.P33");
    EXPECT_EQ(Gr33({"extract", bank + ":D84", "-o", out}), (CliRun{0, "", ""}));
    auto bytes = ReadWholeFile(out);
    ASSERT_EQ(bytes.size(), DataMessageSize);
    EXPECT_EQ(bytes[6], 0x02); // addressed to the temporary patch, whatever slot it came from
    EXPECT_EQ(ReadSinglePatch(out), last);
}

// Exit status and the whole output of the commands that stop before or at the device; a
// usage error (2) is checked by the start of its error output.
TEST_F(DeviceCommands, PortsIdentifyAndRefusals) {
    const std::string empty = folder.File("empty.G33"), x = folder.File("x.P33");
    WriteCollection(empty, {});
    EXPECT_EQ(Device({"send", empty}), (CliRun{1, "", "No patches in collection!\n"}));
    EXPECT_FALSE(std::filesystem::exists(deviceBank)); // the device was not even opened

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
        {{"receive", "temp", "-o", folder.File("temp.P33")}, {0, "", ""}},
        {{"receive", "all", "-o", x}, {2, "", "gr33 receive: "}},
        {{"receive", "E11", "-o", x}, {2, "", "gr33 receive: "}},
        {{"send", bank + ":A12"}, {1, "", "Patch (A12) is empty!\n"}},
        {{"send", bank, "--to", "A11"}, {2, "", "gr33 send: "}},
        {{"send", single, "--verify", "--no-verify"}, {2, "", "gr33 send: "}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.args));
        auto run = Device(c.args);
        if (c.expected.code == 2 && run.err.starts_with(c.expected.err)) run.err = c.expected.err;
        EXPECT_EQ(run, c.expected);
    }
    EXPECT_FALSE(std::filesystem::exists(x));

    WriteFileAtomically(deviceBank, Bytes(100, 0x55));
    EXPECT_EQ(Device({"identify"}), (CliRun{1, "", "Illegal patch data format.\n"}));
    EXPECT_EQ(ReadWholeFile(deviceBank), Bytes(100, 0x55));
}

TEST_F(DeviceCommands, SendStoresEveryNonEmptySlotOrOnePatch) {
    ASSERT_EQ(Device({"identify"}).code, 0); // creates the device memory with the demo bank
    const std::string upload = folder.File("upload.G33");
    const PatchBytes fifth = NamedPatch("Fifth"), hundredth = NamedPatch("Hundredth", 0x21);
    WriteCollection(upload, {{4, fifth}, {99, hundredth}});
    EXPECT_EQ(Device({"send", upload}), (CliRun{0, "", "A21 (5/128)\nD14 (100/128)\n"}));
    ASSERT_EQ(Device({"send", upload + ":D14", "--to=A13"}).code, 0);
    ASSERT_EQ(Device({"send", single, "--to", "a12"}).code, 0);
    const auto memory = ReadCollectionFile(deviceBank); // empty slots are not sent: A11 stays
    EXPECT_EQ(std::vector({memory[4], memory[99], memory[2], memory[1], memory[0]}),
              std::vector({fifth, hundredth, hundredth, NamedPatch("Single"), DemoPatch(1)}));

    // A verified send reads back the user slots it wrote, never the temporary patch.
    EXPECT_EQ(Device({"send", upload, "--verify"}),
              (CliRun{0, "Sent and verified 2 patches\n", "A21 (5/128)\nD14 (100/128)\n"}));
    EXPECT_EQ(Device({"send", single, "--to=temp", "--verify"}), (CliRun{0, "", ""}));
}

// Ctrl+C ends a transfer or an import before its next patch or file: exit 130, nothing
// printed, no file written, the device untouched.
TEST_F(DeviceCommands, CtrlCEndsATransferWithoutWritingAnything) {
    const auto received = folder.File("received.G33");
    for (const auto& args : std::vector<std::vector<std::string>>{
             {"receive", "all", "-o", received, "--virtual", "--bank", deviceBank},
             {"send", bank, "--virtual", "--bank", deviceBank},
             {"library", "import", bank, "--library", library}}) {
        SCOPED_TRACE(args[0]);
        CatchInterrupt();
        std::raise(SIGINT);
        EXPECT_EQ(Gr33(args), (CliRun{130, "", "Interrupted.\n"}));
    }
    EXPECT_FALSE(std::filesystem::exists(received));
    EXPECT_TRUE(!std::filesystem::exists(deviceBank) ||
                ReadCollectionFile(deviceBank)[127] != last);
    std::signal(SIGINT, SIG_DFL);
}

// --log, anywhere on the line, prints each message as it passes; not watched after the run.
TEST_F(DeviceCommands, LogPrintsTheMessagesToTheErrorOutput) {
    const PatchBytes b23 = DemoPatch(*PatchNumberOfLabel("B23"));
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
             " in  Virtual GR-33 140 bytes: Data B23 '" + NameOf(b23) + "'\n" + hexLine +
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
    EXPECT_EQ(ReadSinglePatch(single), b23);
    EXPECT_EQ(Device({"identify"}).err, "");
}

// Each import adds to the same library, so the counts say what it already knew.
TEST_F(LibraryCommands, ImportCountsNewKnownAndRefusedPatches) {
    const std::string four = folder.File("four.P33");
    WriteSinglePatch(four, DemoPatch(4));
    std::filesystem::create_directories(folder.File("tree/deeper"));
    std::filesystem::copy_file(bank, folder.File("tree/deeper/copy.G33"));
    WriteFileAtomically(folder.File("tree/deeper/bad.P33"), Bytes(7, 1));
    std::ofstream(folder.File("tree/four.txt")) << Gr33({"export-text", four}).out;
    const struct {
        std::vector<std::string> args;
        std::string summary;
        std::string refused; // the error output's one line, "" for none
    } cases[] = {
        {{"import", bank}, "2 new, 0 already known, 0 refused", ""},
        {{"import", bank, single}, "1 new, 2 already known, 0 refused", ""},
        {{"import", folder.File("tree")}, "1 new, 2 already known, 1 refused", "deeper/bad.P33: "},
        {{"import", folder.File("no.G33"), folder.File("tree/four.txt")},
         "0 new, 1 already known, 1 refused",
         "no.G33: "},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.summary);
        auto run = Library(c.args);
        const long refusals = c.refused.empty() ? 0 : 1;
        EXPECT_EQ(std::tuple(run.code, run.out, std::ranges::count(run.err, '\n')),
                  std::tuple(refusals, c.summary + "\n", refusals));
        EXPECT_THAT(run.err, HasSubstr(c.refused));
    }
    EXPECT_THAT(Library({"find", ""}).OutLines(), SizeIs(4)); // every patch once

    // A folder the user cannot read is one refusal, and the rest of the tree is still imported.
    std::filesystem::create_directories(folder.File("stick/closed"));
    std::filesystem::copy_file(four, folder.File("stick/four.P33"));
    ::chmod(folder.File("stick/closed").c_str(), 0);
    ::chmod(folder.Path().c_str(), 0777);
    const auto importAsUser = [&] {
        const CliRun expected{1, "1 new, 0 already known, 1 refused\n",
                              "Unable to read " + folder.File("stick/closed") +
                                  ": Permission denied.\n"};
        return int(Gr33({"library", "import", folder.File("stick"), "--library",
                         folder.File("other.sqlite")}) != expected);
    };
    EXPECT_EQ(AsOrdinaryUser(importAsUser), 0);
}

TEST_F(LibraryCommands, FindAndExportTheMatchesInOrder) {
    ASSERT_EQ(Library({"import", bank, bank, single}).code, 0);
    // name | tones | multi-FX | tags | first seen | places: seen twice in the same place
    EXPECT_THAT(Library({"find", NameOf(first)}).OutLines(),
                ElementsAre(::testing::ResultOf(
                    Fields, ElementsAre(NameOf(first), HasSubstr(" / "), _, _, _, bank + ":A11"))));

    auto out = folder.File("out.G33");
    ASSERT_EQ(Library({"export", "", "-o", out}).code, 0);
    const auto slots = ReadCollectionFile(out);
    const auto all = Library({"find", ""}).OutLines();
    ASSERT_THAT(all, SizeIs(3));
    for (std::size_t i = 0; i < 128; ++i)
        EXPECT_EQ(i < all.size() ? Fields(all[i])[0] : "Empty", NameOf(slots[i])) << i;

    const std::string badQuery = "at character"; // a query error says where
    const struct {
        std::vector<std::string> args;
        int code;
        std::string err;
    } refusals[] = {
        {{"find", "\"open"}, 2, badQuery},
        {{"find", "nonesuch>3"}, 2, badQuery},
        {{"export", "\"open", "-o", out}, 2, badQuery},
        {{"export", "9", "-o", out}, 1, "No snapshot 9"},
        {{"export", "zzzz", "-o", out}, 1, "No patch in the library matches zzzz"},
        {{"export", "", "-o", folder.File("out.P33")}, 2, "collection (.G33)"},
        {{"history", "temp"}, 2, "A11 .. D84"},
        {{"snapshots", "-o", out}, 2, "no option -o"},
        {{"nonesuch"}, 2, "nonesuch"},
    };
    for (const auto& r : refusals) {
        SCOPED_TRACE(::testing::PrintToString(r.args));
        auto run = Library(r.args);
        EXPECT_EQ(run.code, r.code);
        EXPECT_EQ(run.out, "");
        EXPECT_THAT(run.err, HasSubstr(r.err));
    }
    EXPECT_EQ(ReadCollectionFile(out), slots);
}

// A receive of all patches shows its progress and is a snapshot in the library.
TEST_F(LibraryCommands, ReceivesBecomeSnapshotsWithSlotHistories) {
    const auto received = folder.File("received.G33");
    const auto receive = [&](const std::string& into) {
        return Device({"receive", "all", "-o", received, "--library", into});
    };
    auto run = receive(library);
    ASSERT_EQ(run.code, 0) << run.err;
    EXPECT_THAT(run.err,
                AllOf(HasSubstr("A11 (1/128)\nA12 (2/128)\n"), HasSubstr("D84 (128/128)\n")));
    WriteSinglePatch(single, NamedPatch("Replaced"));
    ASSERT_EQ(Device({"send", single, "--to", "B23"}).code, 0);
    run = receive(library);
    ASSERT_EQ(run.code, 0);
    EXPECT_THAT(run.err, Not(HasSubstr("Warning")));

    EXPECT_THAT(Library({"snapshots"}).OutLines(),
                AllOf(SizeIs(2), Each(EndsWith("  Virtual GR-33  complete"))));
    EXPECT_THAT(Library({"history", "b23"}).OutLines(),
                ElementsAre(AllOf(StartsWith("2  "), EndsWith("  Replaced")),
                            EndsWith(NameOf(DemoPatch(*PatchNumberOfLabel("B23"))))));

    auto restored = folder.File("restored.G33");
    ASSERT_EQ(Library({"export", "1", "-o", restored}).code, 0);
    const auto slots = ReadCollectionFile(restored);
    for (int n = 1; n <= 128; ++n)
        EXPECT_EQ(slots[n - 1], DemoPatch(n)) << n;

    // A file that is no library: a warning, and the receive goes on.
    const auto foreign = folder.File("foreign.sqlite");
    WriteFileAtomically(foreign, Bytes(4096, 0x33));
    run = receive(foreign);
    EXPECT_EQ(run.code, 0);
    EXPECT_THAT(run.err, HasSubstr("Warning: "));
    EXPECT_EQ(ReadWholeFile(received), ReadWholeFile(deviceBank));
    EXPECT_EQ(ReadWholeFile(foreign), Bytes(4096, 0x33));
}
