// The patch record: emptiness, names, labels and the value codings.
#include "base/Errors.h"
#include "gr33/Patch.h"
#include "gr33/PatchNumber.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

void setName(TPatch& patch, const char* name) {
    std::memcpy(patch.Data(), name, NameSize);
}

TEST(PatchRecord, EmptyMeansEveryByteZero) {
    TPatch patch;
    EXPECT_TRUE(patch.IsEmpty());
    EXPECT_EQ(patch.GetName(), "Empty");
    for (std::size_t i : {std::size_t{0}, std::size_t{65}, std::size_t{127}}) {
        patch.Data()[i] = 1;
        EXPECT_FALSE(patch.IsEmpty()) << "byte " << i;
        patch.Clear();
        EXPECT_TRUE(patch.IsEmpty());
    }
}

TEST(PatchRecord, NameKeepsTrailingBlanksAndIsNotMapped) {
    TPatch patch;
    setName(patch, "Lead        ");
    EXPECT_EQ(patch.GetName(), "Lead        ");
    setName(patch, "A\\~\x7f        ");
    EXPECT_EQ(patch.GetName(), std::string("A\\~\x7f        "));
}

TEST(PatchRecord, CheckNotEmptyNamesTheSlot) {
    TPatch patch;
    try {
        patch.CheckNotEmpty(PatchCount);
        FAIL() << "an empty patch passed the check";
    } catch (const EKelvoError& e) {
        EXPECT_STREQ(e.what(), "Patch (D84) is empty!");
    }
    try {
        patch.CheckNotEmpty(0);
        FAIL();
    } catch (const EKelvoError& e) {
        EXPECT_STREQ(e.what(), "Patch (Temporary Patch) is empty!");
    }
    patch.Data()[40] = 3;
    EXPECT_NO_THROW(patch.CheckNotEmpty(1));
}

TEST(PatchNumbers, LabelsAndGridPositions) {
    EXPECT_EQ(PatchLabel(0), "Temporary Patch");
    EXPECT_EQ(PatchLabel(1), "A11");
    EXPECT_EQ(PatchLabel(4), "A14");
    EXPECT_EQ(PatchLabel(5), "A21");
    EXPECT_EQ(PatchLabel(32), "A84");
    EXPECT_EQ(PatchLabel(33), "B11");
    EXPECT_EQ(PatchLabel(128), "D84");
    EXPECT_EQ(GridToPatch(4, 32), 128);
    EXPECT_EQ(GridToPatch(0, 7), 0);
    EXPECT_EQ(PatchToGrid(0), (GridPos{0, 0}));
    for (int n = 1; n <= PatchCount; ++n) {
        GridPos pos = PatchToGrid(n);
        ASSERT_EQ(GridToPatch(pos.column, pos.row), n);
        std::string label = PatchLabel(n);
        ASSERT_EQ(GridRowOf(label[0], label[1]), pos.row) << label;
        ASSERT_EQ(PatchNumberOfLabel(label), n);
    }
    EXPECT_EQ(RowHeading(9), "B1");
    EXPECT_EQ(PatchNumberOfLabel("temp"), 0);
    EXPECT_EQ(PatchNumberOfLabel("d84"), 128);
    EXPECT_FALSE(PatchNumberOfLabel("E11"));
    EXPECT_FALSE(PatchNumberOfLabel("A15"));
    EXPECT_FALSE(PatchNumberOfLabel("A91"));
    EXPECT_FALSE(PatchNumberOfLabel("A1"));
}

TEST(NameCharacters, DeviceGlyphsMapBothWays) {
    const std::uint8_t bytes[NameSize] = {0x41, 0x5C, 0x7E, 0x7F, ' ', ' ',
                                          ' ',  ' ',  ' ',  ' ',  ' ', ' '};
    std::string text = NameToText(bytes);
    EXPECT_EQ(text, "A\u00A5\u00BB\u00AB        ");
    auto back = TextToName(text);
    EXPECT_TRUE(std::equal(back.begin(), back.end(), bytes));
}

TEST(NameCharacters, ControlAndForeignCharactersAreDropped) {
    const std::uint8_t withControl[NameSize] = {'A', 0x09, 'B', 0x80, 0xFF, 'C',
                                                ' ', ' ',  ' ', ' ',  ' ',  ' '};
    EXPECT_EQ(NameToText(withControl), "ABC      ");

    auto name = TextToName("ab\tcd");
    EXPECT_EQ(std::string(name.begin(), name.end()), "abcd        ");
    name = TextToName("Twenty characters!!!");
    EXPECT_EQ(std::string(name.begin(), name.end()), "Twenty chara");
    // Characters outside the device's set are skipped, not counted against the 12.
    name = TextToName("\u00E9t\u00E9 \u20AC\u00A5");
    EXPECT_EQ(std::string(name.begin(), name.end()), "t \\         ");
    // A malformed UTF-8 tail is skipped rather than read past the end.
    name = TextToName(std::string("ok\xC3"));
    EXPECT_EQ(std::string(name.begin(), name.end()), "ok          ");
}

TEST(ValueCodings, SignedAndPairs) {
    EXPECT_EQ(ByteToSigned(0), -64);
    EXPECT_EQ(ByteToSigned(64), 0);
    EXPECT_EQ(ByteToSigned(127), 63);
    for (int v = -64; v <= 63; ++v)
        ASSERT_EQ(ByteToSigned(SignedToByte(v)), v);
    const std::uint8_t pair[2] = {0x05, 0x02};
    EXPECT_EQ(PairToValue(pair), 261);
    std::uint8_t out[2];
    for (int v : {0, 127, 128, 250, 383, 16383}) {
        ValueToPair(v, out);
        EXPECT_LT(out[0], 128);
        EXPECT_LT(out[1], 128);
        EXPECT_EQ(PairToValue(out), v);
    }
}

} // namespace
