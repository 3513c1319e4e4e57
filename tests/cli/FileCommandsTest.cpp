#include "CliFixture.h"
#include "base/Version.h"
#include "cli/Gr33CommandLine.h"

#include <streambuf>

using ::testing::AllOf;
using ::testing::HasSubstr;
using ::testing::Not;
using ::testing::StartsWith;

namespace {

// A collection with named patches in A11 and D84, everything else empty.
class FileCommands : public CliTest {
protected:
    void SetUp() override {
        WriteCollection(bank, {{0, NamedPatch("First Patch")}, {127, last}});
        WriteSinglePatch(single, NamedPatch("Single"));
    }
    const PatchBytes last = NamedPatch("Last Patch", 0x30);
    std::string bank = folder.File("bank.G33");
    std::string single = folder.File("one.p33"); // the extension in any case
};

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
