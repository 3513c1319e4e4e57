// Single-patch and collection files on disk.
#include "base/Errors.h"
#include "gr33/CollectionFile.h"
#include "gr33/Patch.h"
#include "tests/support/ScratchFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

class PatchFiles : public ::testing::Test {
protected:
    std::string path(const std::string& name) const { return folder.File(name); }
    static void writeBytes(const std::string& file, const Bytes& bytes) {
        std::ofstream(file, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    }

    ScratchFolder folder;
};

void fill(TPatch& patch, int seed) {
    for (std::size_t i = 0; i < PatchSize; ++i)
        patch.Data()[i] = static_cast<std::uint8_t>((i + seed * 3) % 128);
}

TEST_F(PatchFiles, SinglePatchIsAlwaysAddressedToTheTemporaryPatch) {
    TPatch fromB23;
    fill(fromB23, 1);
    fromB23.SaveToFile(path("b23.P33"), 39);
    Bytes bytes = ReadWholeFile(path("b23.P33"));
    ASSERT_EQ(bytes.size(), 140u);
    EXPECT_EQ((Bytes(bytes.begin() + 6, bytes.begin() + 10)), (Bytes{0x02, 0x00, 0x00, 0x00}));

    TPatch loaded;
    loaded.LoadFromFile(path("b23.P33"));
    EXPECT_EQ(loaded.Bytes(), fromB23.Bytes());
}

TEST_F(PatchFiles, SinglePatchLoadIgnoresTrailingBytesAndRefusesBadFiles) {
    TPatch patch;
    fill(patch, 2);
    Bytes bytes;
    patch.WriteSysEx(0, bytes);
    bytes.insert(bytes.end(), {1, 2, 3});
    writeBytes(path("extra.P33"), bytes);
    TPatch loaded;
    loaded.LoadFromFile(path("extra.P33"));
    EXPECT_EQ(loaded.Bytes(), patch.Bytes());

    Bytes userSlot;
    patch.WriteSysEx(5, userSlot);
    writeBytes(path("slot.P33"), userSlot);
    TPatch target;
    EXPECT_THROW(
        {
            try {
                target.LoadFromFile(path("slot.P33"));
            } catch (const EKelvoError& e) {
                EXPECT_STREQ(e.what(), "Illegal patch data format");
                throw;
            }
        },
        EKelvoError);
    EXPECT_TRUE(target.IsEmpty());

    try {
        target.LoadFromFile(path("missing.P33"));
        FAIL();
    } catch (const EKelvoError& e) {
        EXPECT_STREQ(e.what(), "Patch file not found");
    }
}

TEST_F(PatchFiles, SavingAnEmptyPatchIsRefusedAndWritesNothing) {
    TPatch empty;
    try {
        empty.SaveToFile(path("e.P33"), 2);
        FAIL();
    } catch (const EKelvoError& e) {
        EXPECT_STREQ(e.what(), "Patch (A12) is empty!");
    }
    EXPECT_FALSE(fs::exists(path("e.P33")));
}

TEST_F(PatchFiles, EmptyCollectionIs17920BytesWithAddressChecksums) {
    std::array<TPatch, 128> slots;
    std::array<const TPatch*, 128> refs;
    for (int i = 0; i < 128; ++i)
        refs[i] = &slots[i];
    WriteCollectionFile(path("empty.G33"), refs);
    Bytes bytes = ReadWholeFile(path("empty.G33"));
    ASSERT_EQ(bytes.size(), 17920u);
    for (int k = 1; k <= 128; ++k) {
        const std::uint8_t* m = bytes.data() + (k - 1) * 140;
        ASSERT_EQ(m[6], 1);
        ASSERT_EQ(m[7], k - 1);
        ASSERT_EQ(m[138], (128 - (1 + (k - 1)) % 128) % 128) << "slot " << k;
    }
    auto read = ReadCollectionFile(path("empty.G33"));
    for (const auto& slot : read)
        ASSERT_TRUE(std::all_of(slot.begin(), slot.end(), [](auto b) { return b == 0; }));
}

TEST_F(PatchFiles, CollectionRoundTripAndValidationBeforeUse) {
    std::array<TPatch, 128> slots;
    std::array<const TPatch*, 128> refs;
    for (int i = 0; i < 128; ++i) {
        fill(slots[i], i);
        refs[i] = &slots[i];
    }
    Bytes image = CollectionImage(refs);
    auto parsed = ParseCollection(image);
    for (int i = 0; i < 128; ++i)
        ASSERT_EQ(parsed[i], slots[i].Bytes());

    // The 5th message carrying slot 6's address, a short file, and a single-patch file are
    // all refused as a whole.
    Bytes swapped = image;
    swapped[4 * 140 + 7] = 5;
    Bytes shortFile(image.begin(), image.end() - 1);
    Bytes single;
    slots[0].WriteSysEx(0, single);
    for (const Bytes* bad : {&swapped, &shortFile, &single}) {
        try {
            ParseCollection(*bad);
            ADD_FAILURE() << "malformed collection accepted";
        } catch (const EKelvoError& e) {
            EXPECT_STREQ(e.what(), "Illegal patch data format");
        }
    }
    image.push_back(0x55); // trailing bytes are ignored
    EXPECT_NO_THROW(ParseCollection(image));

    try {
        ReadCollectionFile(path("none.G33"));
        FAIL();
    } catch (const EKelvoError& e) {
        EXPECT_EQ(std::string(e.what()), "File " + path("none.G33") + " not found");
    }
}

// Only the messages are read: a huge file refused at its first byte costs no more than a valid
// one, and a folder or pipe is named for what it is, for patches and collections alike.
TEST_F(PatchFiles, LoadsReadOnlyTheirMessagesAndNameWhatIsNotAFile) {
    writeBytes(path("huge"), Bytes{0x55});
    fs::resize_file(path("huge"), 2ull << 30);
    fs::create_directory(path("dir"));
    ::mkfifo(path("pipe").c_str(), 0600);
    rusage before{}, after{};
    ::getrusage(RUSAGE_SELF, &before);
    for (auto [name, text] : {std::pair{"huge", std::string("Illegal patch data format")},
                              std::pair{"dir", path("dir") + " is a folder, not a file"},
                              std::pair{"pipe", path("pipe") + " is a pipe, not a file"}}) {
        SCOPED_TRACE(name);
        TPatch patch;
        try {
            patch.LoadFromFile(path(name));
            ADD_FAILURE();
        } catch (const EKelvoError& e) {
            EXPECT_EQ(std::string(e.what()), text);
        }
        try {
            ReadCollectionFile(path(name));
            ADD_FAILURE();
        } catch (const EKelvoError& e) {
            EXPECT_EQ(std::string(e.what()), text);
        }
    }
    ::getrusage(RUSAGE_SELF, &after);
    EXPECT_LT(after.ru_maxrss - before.ru_maxrss, 64 * 1024); // kilobytes
}

} // namespace
