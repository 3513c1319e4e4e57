#include "CliTestSupport.h"
#include "base/Version.h"
#include "cli/Gr33CommandLine.h"
#include "gr33/CollectionFile.h"
#include "gr33/PatchNumber.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::Not;
using ::testing::StartsWith;

namespace {

// A collection with named patches in A11 and D84, everything else empty.
class FileCommands : public ::testing::Test {
protected:
    void SetUp() override {
        slots.fill(PatchBytes{});
        slots[0] = NamedPatch("First Patch");
        slots[127] = NamedPatch("Last Patch", 0x30);
        WriteCollection(bank, slots);
        WriteSinglePatch(single, NamedPatch("Single"));
    }
    ScratchFolder folder;
    std::array<PatchBytes, 128> slots;
    std::string bank = folder.File("bank.G33");
    std::string single = folder.File("one.p33"); // the extension in any case
};

} // namespace

TEST_F(FileCommands, ListShowsEveryCellOfACollectionOrTheSinglePatch) {
    auto run = Gr33({"list", bank});
    ASSERT_EQ(run.code, 0) << run.err;
    auto lines = run.OutLines();
    ASSERT_EQ(lines.size(), 128u);
    EXPECT_EQ(lines[0], "A11: First Patch ");
    EXPECT_EQ(lines[1], "A12: Empty");
    EXPECT_EQ(lines[127], "D84: Last Patch  ");

    EXPECT_THAT(Gr33({"list", single}).OutLines(), ElementsAre("Temporary Patch: Single      "));
    EXPECT_THAT(Gr33({"list", bank + ":d84"}).OutLines(), ElementsAre("D84: Last Patch  "));
}

TEST_F(FileCommands, FileErrorsAreTheSystemsMessagesWithExitOne) {
    auto missing = Gr33({"list", folder.File("none.G33")});
    EXPECT_EQ(missing.code, 1);
    EXPECT_EQ(missing.err, "File " + folder.File("none.G33") + " not found.\n");
    EXPECT_EQ(Gr33({"dump", folder.File("none.P33")}).err, "Patch file not found.\n");

    // A single-patch file read as a collection fails at its first slot.
    auto renamed = folder.File("single-as-bank.G33");
    std::filesystem::copy_file(single, renamed);
    auto wrongKind = Gr33({"list", renamed});
    EXPECT_EQ(wrongKind.code, 1);
    EXPECT_EQ(wrongKind.err, "Illegal patch data format.\n");
}

// Each form of the command line and the start of what it prints: on the output for status 0,
// otherwise on the error output, with nothing on the output and no file written.
TEST_F(FileCommands, CommandLineFormsAndWhatTheyPrint) {
    const std::string x = folder.File("x.P33"), noOption = "export-text has no option --to\n";
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
        {{"dump", bank}, 2, "gr33 dump: "},            // a collection needs a slot
        {{"dump", single + ":A11"}, 2, "gr33 dump: "}, // a single patch has none
        {{"dump", bank + ":temp"}, 2, "gr33 dump: "},
        {{"export-text", bank, "--to", "A11"}, 2, "gr33 export-text: " + noOption},
        {{"export-text", bank, "--to=A11"}, 2, "gr33 export-text: " + noOption},
        {{"list", bank, "--frob"}, 2, "gr33 list: unknown option --frob\n"},
        {{"list", "-x.G33"}, 2, "gr33 list: unknown option -x.G33\n"},
        {{"list", bank, "-o"}, 2, "gr33 list: -o needs a value\n"},
        {{"send", bank, "--to", "A11", "--to=A12"}, 2, "gr33 send: --to given twice\n"},
        {{"import-text", single}, 2, "gr33 import-text: import-text needs -o OUT.P33\n"},
        {{"extract", single, "-o", x}, 2, "gr33 extract: "},
        {{"extract", bank + ":A11", "-o", folder.File("x.G33")}, 2, "gr33 extract: "},
        {{"identify"}, 2, "gr33 identify: name the input port with --in"},
        {{"receive", "all", "-o", bank, "--in", "1"}, 2, "gr33 receive: name the output port"},
        {{"ports", "--bank", bank}, 2, "gr33 ports: --bank belongs to --virtual\n"},
        {{"export-text", bank + ":A12"}, 1, "Patch (A12) is empty!\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.args));
        auto run = Gr33(c.args);
        EXPECT_EQ(run.code, c.code);
        EXPECT_THAT(c.code == 0 ? run.out : run.err, StartsWith(c.text));
        EXPECT_TRUE(c.code == 0 || run.out.empty());
    }
    EXPECT_FALSE(std::filesystem::exists(x));
    EXPECT_THAT(Gr33({"send", "--help"}).out, Not(HasSubstr("-o FILE"))); // its options only
    auto line = ParseGr33CommandLine({"list", "--", "-x.G33"});           // -- ends the options
    EXPECT_EQ(line.arguments.positional, std::vector<std::string>{"-x.G33"});
}

TEST_F(FileCommands, DumpShowsEveryParameterOfOnePatch) {
    auto run = Gr33({"dump", bank + ":A11"});
    ASSERT_EQ(run.code, 0) << run.err;
    auto lines = run.OutLines();
    EXPECT_GE(lines.size(), 100u);
    EXPECT_EQ(lines[0], "Common / Patch Name: First Patch ");
    EXPECT_THAT(lines, Contains("Common / Pan: 0")); // byte 15 = 0x40
}

TEST_F(FileCommands, DiffListsChangedParametersAndSaysSoByItsExitStatus) {
    auto same = Gr33({"diff", single, bank + ":A11"});
    EXPECT_EQ(same.code, 1); // the names differ
    EXPECT_THAT(same.OutLines(), ElementsAre("Common / Patch Name: Single       -> First Patch "));

    auto copy = folder.File("copy.P33");
    WriteSinglePatch(copy, NamedPatch("First Patch"));
    auto equal = Gr33({"diff", copy, bank + ":A11"});
    EXPECT_EQ(equal.code, 0);
    EXPECT_THAT(equal.out, IsEmpty());

    auto changed = NamedPatch("First Patch");
    changed[12] = 50; // Patch Level
    WriteSinglePatch(copy, changed);
    auto differ = Gr33({"diff", bank + ":A11", copy});
    EXPECT_EQ(differ.code, 1);
    EXPECT_THAT(differ.OutLines(), ElementsAre("Common / Patch Level: 64 -> 50"));

    auto trouble = Gr33({"diff", bank + ":A11", folder.File("none.P33")});
    EXPECT_EQ(trouble.code, 2);
    EXPECT_EQ(trouble.err, "Patch file not found.\n");
}

TEST_F(FileCommands, TextFormRoundTripsThroughExportAndImport) {
    auto exported = Gr33({"export-text", bank + ":D84"});
    ASSERT_EQ(exported.code, 0) << exported.err;
    auto lines = exported.OutLines();
    ASSERT_EQ(lines.size(), 22u);
    EXPECT_EQ(lines[2], "<Name>Last Patch</Name>");

    auto text = folder.File("d84.txt");
    WriteFileAtomically(text, Bytes(exported.out.begin(), exported.out.end()));
    auto out = folder.File("d84.P33");
    auto imported = Gr33({"import-text", text, "-o", out});
    ASSERT_EQ(imported.code, 0) << imported.err;
    TPatch patch;
    patch.LoadFromFile(out);
    EXPECT_EQ(patch.Bytes(), slots[127]);

    // Lines ending in CR LF, as pasted from elsewhere, import the same way.
    std::string crlf;
    for (const auto& line : lines)
        crlf += line + "\r\n";
    WriteFileAtomically(text, Bytes(crlf.begin(), crlf.end()));
    EXPECT_EQ(Gr33({"import-text", text, "-o", folder.File("crlf.P33")}).code, 0);
}

TEST_F(FileCommands, FailedImportWritesNothing) {
    auto exported = Gr33({"export-text", single}).OutLines();
    ASSERT_EQ(exported.size(), 22u);
    auto text = folder.File("bad.txt");
    auto out = folder.File("out.P33");
    auto write = [&](std::vector<std::string> lines) {
        std::string all;
        for (const auto& l : lines)
            all += l + "\n";
        WriteFileAtomically(text, Bytes(all.begin(), all.end()));
    };

    auto badCheck = exported;
    badCheck[19] += " ";
    write(badCheck);
    auto run = Gr33({"import-text", text, "-o", out});
    EXPECT_EQ(run.code, 1);
    EXPECT_EQ(run.err, "Unable to import data\n");
    EXPECT_FALSE(std::filesystem::exists(out));

    auto notHex = exported;
    notHex[11].replace(10, 2, "ZZ");
    write(notHex);
    run = Gr33({"import-text", text, "-o", out});
    EXPECT_EQ(run.code, 1);
    EXPECT_EQ(run.err, "'$ZZ' is not a valid integer value.\n");
    EXPECT_FALSE(std::filesystem::exists(out));

    // An existing output file is left as it was.
    WriteSinglePatch(out, NamedPatch("Keep me"));
    auto before = ReadWholeFile(out);
    write(badCheck);
    EXPECT_EQ(Gr33({"import-text", text, "-o", out}).code, 1);
    EXPECT_EQ(ReadWholeFile(out), before);

    EXPECT_EQ(Gr33({"import-text", folder.File("none.txt"), "-o", out}).code, 1);
}

TEST_F(FileCommands, ExtractWritesOneSlotAsASinglePatchFile) {
    auto out = folder.File("last.P33");
    auto run = Gr33({"extract", bank + ":D84", "-o", out});
    ASSERT_EQ(run.code, 0) << run.err;
    auto bytes = ReadWholeFile(out);
    ASSERT_EQ(bytes.size(), DataMessageSize);
    EXPECT_EQ(bytes[6], 0x02); // addressed to the temporary patch, whatever slot it came from
    TPatch patch;
    patch.LoadFromFile(out);
    EXPECT_EQ(patch.Bytes(), slots[127]);

    auto empty = Gr33({"extract", bank + ":B23", "-o", folder.File("empty.P33")});
    EXPECT_EQ(empty.code, 1);
    EXPECT_EQ(empty.err, "Patch (B23) is empty!\n");
    EXPECT_FALSE(std::filesystem::exists(folder.File("empty.P33")));
}
