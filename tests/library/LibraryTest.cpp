// The patch library on scratch files: what is stored once and what is added as a sighting,
// device snapshots, deleting, the search language and its errors, and library files that are
// old, damaged, read-only, in use or killed during an import.
#include "library/Library.h"
#include "gr33/Catalogue.h"
#include "library/Query.h"
#include "library/Schema.h"

#include <gtest/gtest.h>

#include "tests/support/AsOrdinaryUser.h"
#include "tests/support/FailureOf.h"
#include "tests/support/ScratchFolder.h"

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <optional>
#include <random>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

PatchBytes RandomPatch(std::mt19937& random) {
    PatchBytes bytes{};
    for (auto& b : bytes)
        b = static_cast<std::uint8_t>(random() % 128);
    return bytes;
}

PatchBytes Renamed(PatchBytes bytes, const std::string& name) {
    auto text = TextToName(name);
    std::copy(text.begin(), text.end(), bytes.begin());
    return bytes;
}

// Sets a parameter (by caption, or an effect slot of the patch's type) to the shown value.
void Set(PatchBytes& bytes, std::string_view caption, int shown, int string = 1) {
    if (const ParameterInfo* p = FindParameter(caption)) {
        const int raw = ShownToRaw(*p, shown);
        if (p->byteCount == 2)
            ValueToPair(raw, &bytes[p->firstByte]);
        else
            bytes[p->firstByte + string - 1] = static_cast<std::uint8_t>(raw);
        return;
    }
    const auto& slots = EffectType(bytes[EffectTypeByte])->parameters;
    for (int slot = 0; slot < EffectSlotCount; ++slot)
        if (slots[slot].caption == caption) bytes[FirstEffectByte + slot] = std::uint8_t(shown);
}

std::vector<std::string> Names(const std::vector<PatchSummary>& found) {
    std::vector<std::string> names;
    for (const auto& p : found)
        names.push_back(p.name);
    return names;
}

const SightingSource FileA{SightingKind::File, "/music/fileA.G33", 1000};

TEST(Library, SameBytesAddSightingsAndNameVariantsShareASound) {
    TPatchLibrary library(":memory:");
    std::mt19937 random(1);
    const PatchBytes a = Renamed(RandomPatch(random), "Alpha");
    const PatchBytes b = Renamed(a, "Beta");
    const std::vector<SlotPatch> batch = {{1, a}, {2, a}, {3, b}, {4, PatchBytes{}}};
    auto ids = library.Add(batch, FileA);
    EXPECT_NE(ids[0], ids[2]);
    EXPECT_EQ(ids, (std::vector<std::int64_t>{ids[0], ids[0], ids[2], 0}))
        << "an empty slot is not a patch";
    EXPECT_EQ(library.Add(a, {SightingKind::Editor, "editor", 2000}), ids[0]);
    EXPECT_EQ(library.PatchCount(), 2);
    EXPECT_EQ(library.Bytes(ids[2]), b);
    EXPECT_EQ(library.Sightings(ids[0]),
              (std::vector<Sighting>{{1000, SightingKind::File, FileA.place, 0, 1},
                                     {1000, SightingKind::File, FileA.place, 0, 2},
                                     {2000, SightingKind::Editor, "editor", 0, 0}}));
    const auto variants = library.Variants(library.Search("Alpha")[0].sound);
    EXPECT_EQ(Names(variants), (std::vector<std::string>{"Alpha", "Beta"}));
    EXPECT_EQ(Names(library.Search("is:duplicate")), Names(variants));
}

TEST(Library, SnapshotsKeepSlotHistoryAndRestoreWhole) {
    TPatchLibrary library(":memory:");
    std::mt19937 random(2);
    std::vector<PatchBytes> first(CollectionSlots), second(10);
    std::ranges::generate(first, [&] { return RandomPatch(random); });
    std::ranges::generate(second, [&] { return RandomPatch(random); });
    first[4] = {};
    second[0] = first[0];
    const auto one = library.AddSnapshot(first, "GR-33 port", 100);
    const auto two = library.AddSnapshot(second, "other port", 200);
    std::vector<std::tuple<std::int64_t, bool, int, std::string>> snapshots;
    for (const SnapshotInfo& s : library.Snapshots())
        snapshots.emplace_back(s.id, s.Complete(), s.received, s.port);
    EXPECT_EQ(snapshots, (decltype(snapshots){{one, true, 128, "GR-33 port"},
                                              {two, false, 10, "other port"}}));
    EXPECT_EQ(library.RestoreSnapshot(one), first);
    second.resize(CollectionSlots);
    EXPECT_EQ(library.RestoreSnapshot(two), second) << "slots not received come back empty";
    // Per slot, each snapshot (a: the first, b: the second) with a patch (1) or empty (0): slot 5
    // was empty in the first, slot 20 not reached by the second.
    std::map<std::int64_t, char> letter{{one, 'a'}, {two, 'b'}};
    for (auto [slot, held] : {std::pair{1, "a1b1"}, {5, "a0b1"}, {20, "a1"}}) {
        std::string found;
        for (const SlotHistoryEntry& e : library.SlotHistory(slot))
            found += {letter[e.snapshot], e.patch ? '1' : '0'};
        EXPECT_EQ(found, held) << slot;
    }
    EXPECT_EQ(library.SlotHistory(1)[0].patch, library.SlotHistory(1)[1].patch);
    EXPECT_THROW(library.RestoreSnapshot(99), EKelvoError);
}

class Search : public ::testing::Test {
protected:
    void SetUp() override {
        PatchBytes piano = Renamed({}, "Grand Piano");
        // "1st Select" 0 is "  1 GR Piano"; Multi-FX Type 16 is stereo-delay, 1 overdrive.
        for (auto [caption, forPiano, forPad] : {std::tuple{"1st Select", 0, 100},
                                                 {"2nd Select", 100, 100},
                                                 {"Pan", -20, 30},
                                                 {"Rev Send Level", 80, 40},
                                                 {"Multi-FX Type", 16, 1}})
            Set(piano, caption, forPiano), Set(pad, caption, forPad);
        Set(pad, "* Drive (0..127)", 100);
        Set(pad, "MIDI [PC]", 5, 3);
        Set(pad, "Har/Arp Control", 1);
        ids = library.Add(
            std::vector<SlotPatch>{{1, piano}, {2, pad}, {3, Renamed(piano, "Piano 50%_")}}, FileA);
        library.AddSnapshot(std::vector<PatchBytes>{pad}, "port", 5);
        library.AddTag(ids[1], "Warm");
        library.SetFavourite(ids[0], true);
    }
    // The first letters of the names found.
    std::string Found(const std::string& query) {
        std::string found;
        for (const auto& p : library.Search(query))
            found += p.name[0];
        return found;
    }
    TPatchLibrary library{":memory:"};
    PatchBytes pad = Renamed({}, "Soft Pad");
    std::vector<std::int64_t> ids;
};

// What a search finds, by first letters of the names (Grand Piano, Piano 50%_, Soft Pad), or
// the error it reports.
TEST_F(Search, EveryFormFindsWhatItSaysOrSaysWhatAndWhereItFails) {
    const std::vector<std::pair<std::string, std::vector<std::string>>> finds = {
        {"GPS", {"", "seen:fileA"}},
        {"GP",
         {"piano", "tone:piano", "\"1st Select\"=\"1 gr piano\"",
          "\"Multi-FX Type\":\"stereo delay\"", "\"Rev Send Level\">60", "\"Rev Send Level\" >= 80",
          "Pan<0", "is:duplicate"}},
        {"P", {"PIANO -grand", "50%_", "0%", "tone:piano \"Rev Send Level\">60 -is:favourite"}},
        {"S",
         {"\"soft p\"", "name:pad", "\"Rev Send Level\"<=40", "pan:30", "drive>=100",
          "\"MIDI [PC]\"=5", "\"Har/Arp Control\":on", "tag:warm", "snapshot:1"}},
        {"G", {"is:favourite"}},
        {"", {"Drive<100", "seen:port -seen:fileA", "\"x') OR 1=1 --\""}}};
    for (const auto& [found, queries] : finds)
        for (const std::string& query : queries)
            EXPECT_EQ(Found(query), found) << query;
    const std::pair<const char*, const char*> errors[] = {
        {"piano \"Pan", "Unclosed quote at character 7"},
        {"Bogus:3", "Unknown parameter \"Bogus\" at character 1"},
        {"pan>", "Missing value after \">\" at character 5"},
        {"pan>=:", "Missing value after \">=\" at character 6"},
        {":x", "Expected a word or a caption before \":\" at character 1"},
        {"Pan>abc", "Pan needs a number, not \"abc\" at character 5"},
        {"Pan=3x", "Pan needs a number, not \"3x\" at character 5"},
        {"drive:on", "drive needs a number, not \"on\" at character 7"},
        {"tone>3", "tone is a list: use \":\" or \"=\" at character 5"},
        {"tone:zzz", "No entry of tone contains \"zzz\" at character 6"},
        {"tone=piano", "No entry of tone is \"piano\" at character 6"},
        {"is:nice", "Unknown \"is:nice\" (favourite or duplicate) at character 4"},
        {"name>x", "\">\" does not apply to name at character 5"},
        {"snapshot:x", "snapshot needs a number, not \"x\" at character 10"},
        {"a -", "Nothing after \"-\" at character 3"}};
    for (const auto& [query, error] : errors)
        EXPECT_EQ(FailureOf([&, q = query] { library.Search(q); }), error) << query;
    EXPECT_THROW(library.Search("a -"), EQueryError);
}

// A deleted patch leaves every search, keeps its snapshot slot, sightings and marks, and comes
// back when undeleted.
TEST_F(Search, DeletedPatchesLeaveSearchesButNotSnapshots) {
    library.SetFavourite(ids[1], true);
    library.SetDeleted(std::array{ids[1]}, true);
    const std::pair<const char*, const char*> queries[] = {
        {"", "GP"},         {"pad", ""},         {"tag:warm", ""}, {"is:favourite", "G"},
        {"snapshot:1", ""}, {"seen:fileA", "GP"}};
    for (auto [query, found] : queries)
        EXPECT_EQ(Found(query), found) << query;
    EXPECT_EQ(library.RestoreSnapshot(1)[0], pad);
    EXPECT_EQ(library.Bytes(ids[1]), pad);
    EXPECT_EQ(library.SlotHistory(1).at(0).patch, ids[1]);
    EXPECT_EQ(library.Sightings(ids[1]).size(), 2u);
    EXPECT_TRUE(library.Favourite(ids[1]));
    library.SetDeleted(std::array{ids[1]}, false);
    EXPECT_EQ(Found("tag:warm is:favourite") + Found(""), "SGPS");
}

std::string Contents(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

std::string OpenError(const std::string& path) {
    return FailureOf([&] { TPatchLibrary(path, {100}).Add(Renamed({}, "x"), FileA); });
}

class LibraryFile : public ::testing::Test {
protected:
    ScratchFolder folder;
    std::string path = folder.File("data/KelvoLight/library.sqlite");
};

TEST_F(LibraryFile, OlderVersionsAreBroughtUpToDate) {
    const std::int64_t id = TPatchLibrary(path).Add(Renamed({}, "Kept"), FileA);
    // The same file as the first version wrote it.
    TDatabase(path, false)
        .Execute("DROP INDEX patches_names; DROP TABLE tags;"
                 "ALTER TABLE patches DROP COLUMN favourite;"
                 "ALTER TABLE patches DROP COLUMN deleted;"
                 "ALTER TABLE patches DROP COLUMN notes; PRAGMA user_version = 1");
    TPatchLibrary library(path);
    library.AddTag(id, "old");
    library.SetNotes(id, "from version 1");
    EXPECT_EQ(library.Tags(id), std::vector<std::string>{"old"});
    EXPECT_EQ(library.Notes(id), "from version 1");
    EXPECT_EQ(Names(library.Search("kept tag:old")), std::vector<std::string>{"Kept"});
    library.SetDeleted(std::array{id}, true);
    EXPECT_TRUE(library.Search("kept").empty());
    TDatabase db(path, false);
    EXPECT_EQ(LibraryVersion(db), LibrarySchemaVersion);
}

// A file of 4 KiB pages, as libraries were made before: rewritten with larger pages when it is
// opened alone, left as it is while another connection has it open, whole either way.
TEST_F(LibraryFile, SmallPagesAreRewrittenWhenTheFileIsFree) {
    const std::int64_t id = TPatchLibrary(path).Add(Renamed({}, "Kept"), FileA);
    TDatabase(path, false)
        .Execute("PRAGMA journal_mode = DELETE; PRAGMA page_size = 4096;"
                 " VACUUM; PRAGMA journal_mode = WAL");
    for (const int pages : {4096, LibraryPageSize}) {
        SCOPED_TRACE(pages);
        std::optional<TDatabase> other;
        if (pages == 4096) other.emplace(path, false).Execute("SELECT count(*) FROM patches");
        TPatchLibrary library(path);
        EXPECT_EQ(library.Search("kept").at(0).id, id);
        EXPECT_EQ(library.IntegrityCheck(), "ok");
        TStatement size = TDatabase(path, false).Prepare("PRAGMA page_size");
        EXPECT_TRUE(size.Step());
        EXPECT_EQ(size.Int(0), pages);
    }
}

TEST_F(LibraryFile, BadFilesAreReportedAndLeftAsTheyAre) {
    { TPatchLibrary library(path); }
    const std::string good = Contents(path), damaged = " is damaged or is not a KelvoLight library";
    ::chmod(folder.Path().c_str(), 0777);
    struct Case {
        std::string name, contents, message;
        mode_t mode = 0666;
    };
    std::vector<Case> cases = {{"damaged", std::string(4096, 'x'), damaged},
                               {"truncated", good.substr(0, 1000), damaged},
                               {"read-only", good, " cannot be written", 0444}};
    // Another program's files: with no version, with its own schema number, with a negative one.
    for (const std::string version : {"0", "3", "-1"}) {
        const std::string other = folder.File("other" + version);
        TDatabase(other, true).Execute("CREATE TABLE t(x); PRAGMA user_version = " + version);
        cases.push_back({"other" + version, Contents(other), damaged});
    }
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string file = folder.File(c.name + ".sqlite");
        std::ofstream(file, std::ios::binary) << c.contents;
        ::chmod(file.c_str(), c.mode);
        EXPECT_EQ(AsOrdinaryUser([&] {
                      return OpenError(file).find(file + c.message) != std::string::npos ? 0 : 1;
                  }),
                  0);
        EXPECT_EQ(Contents(file), c.contents);
    }
    // A snapshot refused part-way leaves nothing of itself bound for the next sighting.
    {
        TPatchLibrary library(path);
        TDatabase(path, false)
            .Execute("CREATE TRIGGER refuse BEFORE INSERT ON sightings WHEN NEW.slot = 2"
                     " BEGIN SELECT RAISE(ABORT, 'refused'); END");
        const std::vector<PatchBytes> two{Renamed({}, "One"), Renamed({}, "Two")};
        EXPECT_NE(FailureOf([&] { library.AddSnapshot(two, "port", 1); }), "");
        EXPECT_EQ(FailureOf([&] { library.Add(Renamed({}, "After"), FileA); }), "");
        // Patches deleted together stay together: one refused keeps the others.
        const auto first = library.Add(Renamed({}, "Gone 1"), FileA);
        const auto second = library.Add(Renamed({}, "Gone 2"), FileA);
        TDatabase(path, false)
            .Execute("CREATE TRIGGER keep BEFORE UPDATE ON patches WHEN NEW.id = " +
                     std::to_string(second) + " BEGIN SELECT RAISE(ABORT, 'refused'); END");
        EXPECT_NE(FailureOf([&] { library.SetDeleted(std::array{first, second}, true); }), "");
        EXPECT_EQ(library.Search("gone").size(), 2u);
    }
    // A snapshot's slot outside the collection is a damage found when it is restored.
    const std::vector<PatchBytes> one{Renamed({}, "Kept")};
    const std::int64_t snapshot = TPatchLibrary(path).AddSnapshot(one, "port", 1);
    TDatabase(path, false).Execute("UPDATE sightings SET slot = 129");
    EXPECT_NE(
        FailureOf([&] { TPatchLibrary(path).RestoreSnapshot(snapshot); }).find(path + damaged),
        std::string::npos);
    TDatabase(path, false).Execute("PRAGMA user_version = 9");
    EXPECT_EQ(OpenError(path),
              "The library " + path +
                  " was made by a newer KelvoLight (version 9); it was left as it is");
}

TEST_F(LibraryFile, AWriteWhileAnotherProgramWritesSaysSo) {
    { TPatchLibrary library(path); }
    // Another connection holds the write lock as another program would.
    std::optional<TDatabase> other(std::in_place, path, false);
    other->Execute("BEGIN IMMEDIATE");
    EXPECT_EQ(OpenError(path), "The library " + path +
                                   " is in use by another program; try again when it is done"
                                   " (database is locked)");
    other.reset();
    EXPECT_EQ(OpenError(path), "");
}

// An import killed at any moment leaves a sound file holding each import whole or not at all,
// and every import that was reported done is there. Every other loop waits for one import to
// be done before the kill, so both outcomes occur.
TEST_F(LibraryFile, KilledImportsAreWholeOrAbsent) {
    const char* loops = std::getenv("KELVO_KILL_LOOPS");
    const int count = loops ? std::atoi(loops) : 3;
    constexpr int Batch = 10000;
    std::mt19937 random(3);
    std::int64_t done = 0;
    { TPatchLibrary library(path); }
    for (int i = 0; i < count; ++i) {
        int report[2];
        ASSERT_EQ(::pipe(report), 0);
        pid_t child = ::fork();
        if (child == 0) {
            TPatchLibrary library(path);
            std::mt19937 patches(static_cast<unsigned>(::getpid()));
            std::vector<SlotPatch> batch(Batch);
            for (;;) {
                for (auto& p : batch)
                    p.bytes = RandomPatch(patches);
                library.Add(batch, FileA);
                (void)::write(report[1], "x", 1);
            }
        }
        ::close(report[1]);
        char byte;
        if (i % 2 == 1 && ::read(report[0], &byte, 1) == 1) ++done;
        ::usleep(random() % 1000000);
        ::kill(child, SIGKILL);
        ::waitpid(child, nullptr, 0);
        while (::read(report[0], &byte, 1) == 1)
            ++done;
        ::close(report[0]);
        TPatchLibrary library(path);
        ASSERT_EQ(library.IntegrityCheck(), "ok") << "after kill " << i;
        ASSERT_EQ(library.PatchCount() % Batch, 0) << "after kill " << i;
        ASSERT_GE(library.PatchCount(), done * Batch) << "after kill " << i;
        ASSERT_EQ(library.Search("seen:fileA").size(), std::size_t(library.PatchCount()));
    }
    std::printf("%d kills, %lld imports done\n", count, static_cast<long long>(done));
}

} // namespace
