// The library commands on a scratch library fed by files and receives from the simulated GR-33.
#include "CliFixture.h"
#include "tests/support/AsOrdinaryUser.h"

#include <fstream>
#include <sys/stat.h>

using ::testing::_;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::SizeIs;

namespace {

std::vector<std::string> Fields(const std::string& line) {
    std::vector<std::string> fields;
    for (std::size_t start = 0, end = 0; end != std::string::npos; start = end + 3) {
        end = line.find(" | ", start);
        fields.push_back(line.substr(start, end - start));
    }
    return fields;
}

class LibraryCommands : public CliTest {
protected:
    LibraryCommands() {
        WriteCollection(collection, {{0, DemoPatch(1)}, {1, DemoPatch(2)}});
        WriteSinglePatch(single, DemoPatch(3));
        std::filesystem::create_directories(folder.File("tree/deeper"));
        std::filesystem::copy_file(collection, folder.File("tree/deeper/copy.G33"));
        WriteFileAtomically(folder.File("tree/deeper/bad.P33"), Bytes(7, 1));
        WriteSinglePatch(folder.File("four.P33"), DemoPatch(4));
        std::ofstream(folder.File("tree/four.txt"))
            << Gr33({"export-text", folder.File("four.P33")}).out;
    }
    CliRun Library(std::vector<std::string> args) const {
        args.insert(args.begin(), "library");
        args.insert(args.end(), {"--library", library});
        return Gr33(args);
    }
    CliRun Receive(const std::string& into) const {
        return Device({"receive", "all", "-o", folder.File("received.G33"), "--library", into});
    }

    std::string library = folder.File("library.sqlite");
    std::string collection = folder.File("two.G33");
    std::string single = folder.File("three.P33");
};

} // namespace

// Each import adds to the same library, so the counts say what it already knew.
TEST_F(LibraryCommands, ImportCountsNewKnownAndRefusedPatches) {
    const struct {
        std::vector<std::string> args;
        std::string summary;
        std::string refused; // the error output's one line, "" for none
    } cases[] = {
        {{"import", collection}, "2 new, 0 already known, 0 refused", ""},
        {{"import", collection, single}, "1 new, 2 already known, 0 refused", ""},
        {{"import", folder.File("tree")}, "1 new, 2 already known, 1 refused", "deeper/bad.P33: "},
        {{"import", folder.File("no.G33"), folder.File("tree/four.txt")},
         "0 new, 1 already known, 1 refused",
         "no.G33: "},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.summary);
        auto run = Library(c.args);
        EXPECT_EQ(run.code, c.refused.empty() ? 0 : 1);
        EXPECT_EQ(run.out, c.summary + "\n");
        EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), c.refused.empty() ? 0 : 1);
        EXPECT_THAT(run.err, HasSubstr(c.refused));
    }
    EXPECT_THAT(Library({"find", ""}).OutLines(), SizeIs(4)); // every patch once

    // A folder the user cannot read is one refusal, and the rest of the tree is still imported.
    std::filesystem::create_directories(folder.File("stick/closed"));
    std::filesystem::copy_file(folder.File("four.P33"), folder.File("stick/four.P33"));
    ::chmod(folder.File("stick/closed").c_str(), 0);
    ::chmod(folder.Path().c_str(), 0777);
    const CliRun expected{1, "1 new, 0 already known, 1 refused\n",
                          "Unable to read " + folder.File("stick/closed") +
                              ": Permission denied.\n"};
    EXPECT_EQ(AsOrdinaryUser([&] {
                  return Gr33({"library", "import", folder.File("stick"), "--library",
                               folder.File("other.sqlite")}) == expected
                             ? 0
                             : 1;
              }),
              0);
}

TEST_F(LibraryCommands, FindAndExportTheMatchesInOrder) {
    ASSERT_EQ(Library({"import", collection, collection, single}).code, 0);
    // name | tones | multi-FX | tags | first seen | places: seen twice in the same place
    EXPECT_THAT(
        Library({"find", NameOf(DemoPatch(1))}).OutLines(),
        ElementsAre(::testing::ResultOf(Fields, ElementsAre(NameOf(DemoPatch(1)), HasSubstr(" / "),
                                                            _, _, _, collection + ":A11"))));

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

TEST_F(LibraryCommands, ReceivesBecomeSnapshotsWithSlotHistories) {
    ASSERT_EQ(Receive(library).code, 0);
    WriteSinglePatch(single, NamedPatch("Replaced"));
    ASSERT_EQ(Device({"send", single, "--to", "B23"}).code, 0);
    auto second = Receive(library);
    ASSERT_EQ(second.code, 0);
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
    const auto slots = ReadCollectionFile(restored);
    for (int n = 1; n <= 128; ++n)
        EXPECT_EQ(slots[n - 1], DemoPatch(n)) << n;

    // A file that is no library: a warning, and the receive goes on.
    const auto foreign = folder.File("foreign.sqlite");
    WriteFileAtomically(foreign, Bytes(4096, 0x33));
    auto run = Receive(foreign);
    EXPECT_EQ(run.code, 0);
    EXPECT_THAT(run.err, HasSubstr("Warning: "));
    EXPECT_EQ(ReadWholeFile(folder.File("received.G33")), ReadWholeFile(deviceBank));
    EXPECT_EQ(ReadWholeFile(foreign), Bytes(4096, 0x33));
}
