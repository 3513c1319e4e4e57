#include "CliTestSupport.h"
#include "base/Version.h"
#include "cli/Gr33CommandLine.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using ::testing::StartsWith;

// Each form of the command line and the start of what it prints: on the output with status 0,
// on the error output with status 2.
TEST(CommandLine, FormsAndWhatTheyPrint) {
    const struct {
        std::vector<std::string> args;
        int code;
        std::string text;
    } cases[] = {
        {{"--version"}, 0, std::string("gr33 ") + KelvoVersion + "\n"},
        {{"list", "--help"}, 0, "usage: gr33 list FILE\nPrint the label"},
        {{"send", "-h"}, 0, "usage: gr33 send FILE[:LABEL] [--to LABEL|temp]\n"},
        {{"list", "x.G33", "--to", "A11"}, 2, "gr33 list: list has no option --to\n"},
        {{"list", "x.G33", "--to=A11"}, 2, "gr33 list: list has no option --to\n"},
        {{"list", "x.G33", "--frob"}, 2, "gr33 list: unknown option --frob\n"},
        {{"list", "-x.G33"}, 2, "gr33 list: unknown option -x.G33\n"},
        {{"list", "x.G33", "-o"}, 2, "gr33 list: -o needs a value\n"},
        {{"send", "x.G33", "--to", "A11", "--to=A12"}, 2, "gr33 send: --to given twice\n"},
        {{"dump", "list"}, 2, "gr33 dump: not a patch file"}, // a file, not a second command
        {{"--virtual", "list"}, 2, "gr33: unknown command --virtual\nusage: gr33 COMMAND"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.args));
        auto run = Gr33(c.args);
        EXPECT_EQ(run.code, c.code);
        EXPECT_THAT(c.code == 0 ? run.out : run.err, StartsWith(c.text));
    }
}

TEST(CommandLine, HelpListsOnlyTheOptionsOfTheCommand) {
    auto help = Gr33({"send", "--help"}).out;
    EXPECT_THAT(help, ::testing::HasSubstr("--to LABEL|temp"));
    EXPECT_THAT(help, ::testing::HasSubstr("--in PORT"));
    EXPECT_THAT(help, ::testing::Not(::testing::HasSubstr("-o FILE")));
}

TEST(CommandLine, DoubleDashEndsTheOptions) {
    auto line = ParseGr33CommandLine({"list", "--", "-x.G33"});
    EXPECT_EQ(line.error, "");
    EXPECT_EQ(line.command, "list");
    EXPECT_EQ(line.arguments.positional, std::vector<std::string>{"-x.G33"});
}
