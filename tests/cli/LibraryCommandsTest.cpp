// The library commands on a library in a scratch folder, fed by files and by receives from the
// in-process simulated GR-33.
#include "CliTestSupport.h"
#include "gr33/CollectionFile.h"
#include "gr33/PatchNumber.h"
#include "sim/DemoBank.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::SizeIs;

namespace {

// The name as the library keeps it, without trailing blanks.
std::string NameOf(const PatchBytes& bytes) {
    TPatch patch;
    patch.SetBytes(bytes, 1);
    std::string name = patch.GetName();
    return name.erase(name.find_last_not_of(' ') + 1);
}

std::vector<std::string> Fields(const std::string& line) {
    std::vector<std::string> fields;
    for (std::size_t start = 0;;) {
        const auto end = line.find(" | ", start);
        fields.push_back(line.substr(start, end - start));
        if (end == std::string::npos) return fields;
        start = end + 3;
    }
}

class LibraryCommands : public ::testing::Test {
protected:
    LibraryCommands() {
        std::array<PatchBytes, 128> slots{};
        slots[0] = DemoPatch(1);
        slots[1] = DemoPatch(2);
        WriteCollection(collection, slots);
        WriteSinglePatch(single, DemoPatch(3));
        std::filesystem::create_directories(folder.File("tree/deeper"));
        std::filesystem::copy_file(collection, folder.File("tree/deeper/copy.G33"));
        WriteFileAtomically(folder.File("tree/deeper/bad.P33"), Bytes(7, 1));
        WriteSinglePatch(folder.File("four.P33"), DemoPatch(4));
        auto text = Gr33({"export-text", folder.File("four.P33")});
        std::ofstream(folder.File("tree/four.txt")) << text.out;
    }
    CliRun Library(std::vector<std::string> args) {
        args.insert(args.begin(), "library");
        args.insert(args.end(), {"--library", library});
        return Gr33(args);
    }
    CliRun Receive() {
        return Gr33({"receive", "all", "-o", folder.File("received.G33"), "--virtual", "--bank",
                     bank, "--library", library});
    }

    ScratchFolder folder;
    std::string library = folder.File("library.sqlite");
    std::string bank = folder.File("device.G33");
    std::string collection = folder.File("two.G33");
    std::string single = folder.File("three.P33");
};

} // namespace

// Each import adds to the same library, so the counts say what it already knew.
TEST_F(LibraryCommands, ImportCountsNewKnownAndRefusedPatches) {
    const struct {
        std::vector<std::string> files;
        std::string summary;
        std::vector<std::string> refused;
    } cases[] = {
        {{collection}, "2 new, 0 already known, 0 refused", {}},
        {{collection, single}, "1 new, 2 already known, 0 refused", {}},
        {{folder.File("tree")}, "1 new, 2 already known, 1 refused", {"tree/deeper/bad.P33: "}},
        {{folder.File("nowhere.G33"), folder.File("tree/four.txt")},
         "0 new, 1 already known, 1 refused",
         {"nowhere.G33: "}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.summary);
        std::vector<std::string> args = {"import"};
        args.insert(args.end(), c.files.begin(), c.files.end());
        auto run = Library(args);
        EXPECT_EQ(run.code, c.refused.empty() ? 0 : 1);
        EXPECT_EQ(run.out, c.summary + "\n");
        std::istringstream errors(run.err);
        std::vector<std::string> lines;
        for (std::string line; std::getline(errors, line);)
            lines.push_back(line);
        ASSERT_THAT(lines, SizeIs(c.refused.size())) << run.err;
        for (std::size_t i = 0; i < lines.size(); ++i)
            EXPECT_THAT(lines[i], HasSubstr(c.refused[i]));
    }
    auto all = Library({"find", ""});
    EXPECT_THAT(all.OutLines(), SizeIs(4)); // the patches imported, each once
}

TEST_F(LibraryCommands, FindPrintsOneLinePerPatchAndExplainsBadQueries) {
    ASSERT_EQ(Library({"import", collection, collection, single}).code, 0);
    auto run = Library({"find", NameOf(DemoPatch(1))});
    ASSERT_EQ(run.code, 0) << run.err;
    ASSERT_THAT(run.OutLines(), SizeIs(1));
    const auto fields = Fields(run.OutLines()[0]);
    ASSERT_THAT(fields, SizeIs(6));
    EXPECT_EQ(fields[0], NameOf(DemoPatch(1)));
    EXPECT_THAT(fields[1], HasSubstr(" / "));
    EXPECT_FALSE(fields[2].empty());
    EXPECT_EQ(fields[5], collection + ":A11"); // seen twice in the same place

    for (const std::string query : {"\"open", "nonesuch>3", "-"}) {
        SCOPED_TRACE(query);
        auto bad = Library({"find", query});
        EXPECT_EQ(bad.code, 2);
        EXPECT_THAT(bad.err, HasSubstr("at character"));
        EXPECT_EQ(bad.out, "");
    }
}

TEST_F(LibraryCommands, ReceivesBecomeSnapshotsWithSlotHistories) {
    ASSERT_EQ(Receive().code, 0);
    WriteSinglePatch(single, NamedPatch("Replaced"));
    ASSERT_EQ(Gr33({"send", single, "--to", "B23", "--virtual", "--bank", bank}).code, 0);
    auto second = Receive();
    ASSERT_EQ(second.code, 0) << second.err;
    EXPECT_THAT(second.err, Not(HasSubstr("Warning")));

    auto snapshots = Library({"snapshots"}).OutLines();
    ASSERT_THAT(snapshots, SizeIs(2));
    for (const auto& line : snapshots)
        EXPECT_TRUE(line.ends_with("  Virtual GR-33  complete")) << line;
    auto history = Library({"history", "b23"}).OutLines();
    ASSERT_THAT(history, SizeIs(2));
    EXPECT_TRUE(history[0].starts_with("2  ") && history[0].ends_with("  Replaced")) << history[0];
    EXPECT_TRUE(history[1].ends_with(NameOf(DemoPatch(*PatchNumberOfLabel("B23")))));

    auto restored = folder.File("restored.G33");
    ASSERT_EQ(Library({"export", "1", "-o", restored}).code, 0);
    auto slots = ReadCollectionFile(restored);
    for (int n = 1; n <= 128; ++n)
        EXPECT_EQ(slots[n - 1], DemoPatch(n)) << n;
}

TEST_F(LibraryCommands, AnUnusableLibraryOnlyWarnsAReceive) {
    WriteFileAtomically(library, Bytes(4096, 0x33));
    auto run = Receive();
    EXPECT_EQ(run.code, 0);
    EXPECT_THAT(run.err, HasSubstr("Warning: "));
    EXPECT_EQ(ReadWholeFile(folder.File("received.G33")), ReadWholeFile(bank));
    EXPECT_EQ(ReadWholeFile(library), Bytes(4096, 0x33));
}

TEST_F(LibraryCommands, ExportWritesTheMatchesInOrder) {
    ASSERT_EQ(Library({"import", collection, single}).code, 0);
    auto out = folder.File("out.G33");
    ASSERT_EQ(Library({"export", "", "-o", out}).code, 0);
    auto slots = ReadCollectionFile(out);
    std::vector<std::string> names;
    for (const auto& bytes : slots)
        if (bytes != PatchBytes{}) names.push_back(NameOf(bytes));
    auto found = Library({"find", ""}).OutLines();
    ASSERT_THAT(names, SizeIs(found.size()));
    for (std::size_t i = 0; i < names.size(); ++i)
        EXPECT_EQ(Fields(found[i])[0], names[i]);
    EXPECT_EQ(slots[names.size()], PatchBytes{}); // the rest empty

    const struct {
        std::vector<std::string> args;
        int code;
    } refusals[] = {
        {{"export", "\"open", "-o", out}, 2},
        {{"export", "9", "-o", out}, 1},
        {{"export", "", "-o", folder.File("out.P33")}, 2},
        {{"history", "temp"}, 2},
        {{"nonesuch"}, 2},
    };
    for (const auto& r : refusals) {
        SCOPED_TRACE(::testing::PrintToString(r.args));
        EXPECT_EQ(Library(r.args).code, r.code);
    }
    EXPECT_EQ(ReadCollectionFile(out), slots);
}
