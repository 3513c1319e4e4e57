// Single-patch and collection files on disk.
#include "base/AtomicFile.h"
#include "base/FileRead.h"
#include "gr33/CollectionFile.h"
#include "gr33/Patch.h"
#include "tests/support/FailureOf.h"
#include "tests/support/ScratchFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sys/resource.h>
#include <sys/stat.h>

namespace fs = std::filesystem;

namespace {

void fill(TPatch& patch, int seed) {
    for (std::size_t i = 0; i < PatchSize; ++i)
        patch.Data()[i] = static_cast<std::uint8_t>((i + seed * 3) % 128);
}

// A scratch folder, and 128 slots filled each by its own seed.
class PatchFiles : public ::testing::Test {
protected:
    PatchFiles() {
        for (int i = 0; i < 128; ++i) {
            fill(slots[i], i);
            refs[i] = &slots[i];
        }
    }
    std::string path(const std::string& name) const { return folder.File(name); }
    void write(const std::string& name, const Bytes& bytes) const {
        WriteFileAtomically(path(name), bytes);
    }
    ScratchFolder folder;
    std::array<TPatch, 128> slots;
    std::array<const TPatch*, 128> refs;
};

TEST_F(PatchFiles, SinglePatchIsAddressedToTheTemporaryPatchAndValidated) {
    TPatch patch, loaded, target;
    fill(patch, 1);
    patch.SaveToFile(path("b23.P33"), 39);
    const Bytes bytes = ReadWholeFile(path("b23.P33"));
    ASSERT_EQ(bytes.size(), 140u);
    EXPECT_EQ((Bytes(bytes.begin() + 6, bytes.begin() + 10)), (Bytes{0x02, 0x00, 0x00, 0x00}));
    Bytes extra = bytes; // trailing bytes are ignored
    extra.insert(extra.end(), {1, 2, 3});
    write("extra.P33", extra);
    loaded.LoadFromFile(path("extra.P33"));
    EXPECT_EQ(loaded.Bytes(), patch.Bytes());

    Bytes userSlot;
    patch.WriteSysEx(5, userSlot);
    write("slot.P33", userSlot);
    EXPECT_EQ(FailureOf([&] { target.LoadFromFile(path("slot.P33")); }),
              "Illegal patch data format");
    EXPECT_TRUE(target.IsEmpty());
    EXPECT_EQ(FailureOf([&] { target.LoadFromFile(path("missing.P33")); }), "Patch file not found");
    EXPECT_EQ(FailureOf([&] { TPatch().SaveToFile(path("e.P33"), 2); }), "Patch (A12) is empty!");
    EXPECT_FALSE(fs::exists(path("e.P33")));
}

TEST_F(PatchFiles, CollectionRoundTripsAndIsValidatedAsAWhole) {
    std::array<TPatch, 128> empties;
    std::array<const TPatch*, 128> emptyRefs;
    for (int i = 0; i < 128; ++i)
        emptyRefs[i] = &empties[i];
    WriteCollectionFile(path("empty.G33"), emptyRefs);
    const Bytes empty = ReadWholeFile(path("empty.G33"));
    ASSERT_EQ(empty.size(), CollectionFileSize);
    for (int k = 1; k <= 128; ++k) {
        const std::uint8_t* m = empty.data() + (k - 1) * 140;
        ASSERT_EQ(m[6], 1);
        ASSERT_EQ(m[7], k - 1);
        ASSERT_EQ(m[138], (128 - (1 + (k - 1)) % 128) % 128) << "slot " << k;
    }
    EXPECT_EQ(ReadCollectionFile(path("empty.G33"))[5], PatchBytes{});

    Bytes image = CollectionImage(refs);
    auto parsed = ParseCollection(image);
    for (int i = 0; i < 128; ++i)
        ASSERT_EQ(parsed[i], slots[i].Bytes());
    // The 5th message carrying slot 6's address, a short file, and a single-patch file.
    Bytes swapped = image;
    swapped[4 * 140 + 7] = 5;
    Bytes single;
    slots[0].WriteSysEx(0, single);
    for (const Bytes& bad : {swapped, Bytes(image.begin(), image.end() - 1), single})
        EXPECT_EQ(FailureOf([&] { ParseCollection(bad); }), "Illegal patch data format");
    image.push_back(0x55); // trailing bytes are ignored
    EXPECT_EQ(ParseCollection(image), parsed);
    EXPECT_EQ(FailureOf([&] { ReadCollectionFile(path("none.G33")); }),
              "File " + path("none.G33") + " not found");
}

// A .syx file is a patch or a collection by what it holds, read by the same readers, and holds
// nothing else: one message for the temporary patch, or the 128 messages of a collection.
TEST_F(PatchFiles, SysExFileIsTheKindItsMessagesAre) {
    const Bytes bank = CollectionImage(refs);
    Bytes temp, user, broken = bank, longBank = bank;
    slots[3].WriteSysEx(0, temp);
    slots[3].WriteSysEx(4, user);
    Bytes longTemp = temp;
    broken[4 * 140 + 7] = 5; // the 5th message for slot 6
    longBank.push_back(0xF7);
    longTemp.push_back(0xF7);
    const std::string illegal = "Illegal patch data format", file = path("x.SyX");
    const std::pair<Bytes, std::string> cases[] = {
        {temp, "patch"},     {bank, "collection"},
        {user, illegal},     {broken, illegal},
        {longBank, illegal}, {longTemp, illegal},
        {Bytes(), illegal},  {Bytes(bank.begin(), bank.begin() + 280), illegal},
    };
    for (const auto& [image, expected] : cases) {
        SCOPED_TRACE(expected + " of " + std::to_string(image.size()) + " bytes");
        write("x.SyX", image);
        TPatch loaded;
        std::string kind = "patch";
        std::string got = FailureOf([&] {
            if (SysExFileKind(file) != FileKind::Collection) return loaded.LoadFromFile(file);
            kind = "collection";
            loaded.SetBytes(ReadCollectionFile(file)[3], 4);
        });
        if (got.empty()) got = loaded.Bytes() == slots[3].Bytes() ? kind : "other bytes";
        EXPECT_EQ(got, expected);
    }
}

// Only the messages are read: a huge file refused at its first byte costs no more than a valid
// one, and a folder or pipe is named for what it is, for patches and collections alike.
TEST_F(PatchFiles, LoadsReadOnlyTheirMessagesAndNameWhatIsNotAFile) {
    write("huge", Bytes{0x55});
    fs::resize_file(path("huge"), 2ull << 30);
    fs::create_directory(path("dir"));
    ::mkfifo(path("pipe").c_str(), 0600);
    rusage before{}, after{};
    ::getrusage(RUSAGE_SELF, &before);
    for (auto [name, text] : {std::pair{"huge", std::string("Illegal patch data format")},
                              std::pair{"dir", path("dir") + " is a folder, not a file"},
                              std::pair{"pipe", path("pipe") + " is a pipe, not a file"}}) {
        SCOPED_TRACE(name);
        const std::string file = path(name); // a lambda may not capture a structured binding
        EXPECT_EQ(FailureOf([&] { TPatch().LoadFromFile(file); }), text);
        EXPECT_EQ(FailureOf([&] { ReadCollectionFile(file); }), text);
    }
    ::getrusage(RUSAGE_SELF, &after);
    EXPECT_LT(after.ru_maxrss - before.ru_maxrss, 64 * 1024); // kilobytes
}

} // namespace
