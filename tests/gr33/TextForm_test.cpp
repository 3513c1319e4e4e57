// The text exchange form: checksum vectors, export layout and the tolerant import.
#include "base/Errors.h"
#include "gr33/Patch.h"
#include "gr33/TextForm.h"

#include <gtest/gtest.h>

#include <cstring>
#include <regex>

namespace {

PatchBytes block(std::size_t index, std::uint8_t value) {
    PatchBytes b{};
    b[index] = value;
    return b;
}

TEST(TextChecksum, ShiftsByPositionModSeven) {
    EXPECT_EQ(TextChecksum(PatchBytes{}), 0x0000);
    EXPECT_EQ(TextChecksum(block(0, 1)), 0x0002);
    EXPECT_EQ(TextChecksum(block(6, 1)), 0x0001);
    EXPECT_EQ(TextChecksum(block(5, 1)), 0x0040);
    PatchBytes all;
    all.fill(0xFF); // the sum stays below 2^24 and is folded modulo 65535, not 65536
    unsigned long sum = 0;
    for (std::size_t i = 0; i < 128; ++i)
        sum += 0xFFul << ((i + 1) % 7);
    EXPECT_EQ(TextChecksum(all), sum % 65535);
}

TEST(TextChecksum, DateUsesNoLeadingZeros) {
    std::tm t{};
    t.tm_year = 2026 - 1900;
    t.tm_mon = 2;
    t.tm_mday = 7;
    t.tm_hour = 9;
    t.tm_min = 5;
    EXPECT_EQ(TextFormDate(t), "3/7/2026 9:05");
    t.tm_mon = 11;
    t.tm_mday = 31;
    t.tm_hour = 23;
    t.tm_min = 59;
    EXPECT_EQ(TextFormDate(t), "12/31/2026 23:59");
}

class TextForm : public ::testing::Test {
protected:
    void SetUp() override {
        std::memcpy(patch.Data(), "  Warm Pad  ", NameSize);
        for (std::size_t i = NameSize; i < PatchSize; ++i)
            patch.Data()[i] = static_cast<std::uint8_t>(i * 3 % 128);
        patch.ExportText(lines);
    }
    TPatch patch;
    std::vector<std::string> lines;
};

TEST_F(TextForm, ExportHasTheFixedLayout) {
    ASSERT_EQ(lines.size(), 22u);
    EXPECT_EQ(lines[0], "<Patch>");
    EXPECT_EQ(lines[1], "<Converter>KelvoLight 1.01</Converter>");
    EXPECT_EQ(lines[2], "<Name>Warm Pad</Name>");
    EXPECT_EQ(lines[3], "<Author>Unknown</Author>");
    EXPECT_TRUE(std::regex_match(lines[6], std::regex("<Date>\\d{1,2}/\\d{1,2}/\\d{4} "
                                                      "\\d{1,2}:\\d{2}</Date>")))
        << lines[6];
    EXPECT_EQ(lines[9], "<Number>0</Number>");
    EXPECT_EQ(lines[10], "<Data>");
    EXPECT_EQ(lines[11], "<HexBlock>20205761726D20506164202024272A2D</HexBlock>");
    EXPECT_EQ(lines[19].substr(0, 7), "<Check>");
    EXPECT_EQ(lines[21], "</Patch>");
}

TEST_F(TextForm, ImportRoundTripsAndTellsTheUser) {
    TPatch copy;
    EXPECT_EQ(copy.ImportText(lines), TextImport::Imported);
    EXPECT_EQ(copy.Bytes(), patch.Bytes());
    EXPECT_STREQ(TextImportMessage(TextImport::Imported), "Data imported");
}

TEST_F(TextForm, ImportToleratesExtraLinesAndPaddedHexLines) {
    std::vector<std::string> pasted{"Some mail text", "", "  <Data>\t"};
    for (int k = 0; k < 8; ++k)
        pasted.push_back("   " + lines[11 + k] + " \r");
    pasted.push_back(lines[19]);
    pasted.push_back("trailing words");
    TPatch copy;
    copy.ImportText(pasted);
    EXPECT_EQ(copy.Bytes(), patch.Bytes());
}

TEST_F(TextForm, BrokenTextsChangeNothing) {
    auto withCheck = [&](std::string check) {
        auto l = lines;
        l[19] = check;
        return l;
    };
    auto sevenBlocks = std::vector<std::string>(lines.begin() + 10, lines.begin() + 18);
    auto shortBlock = lines;
    shortBlock[14] = "<HexBlock>00</HexBlock>";
    auto noData = lines;
    noData[10] = "<data>";
    std::string lowerCheck = lines[19];
    for (char& c : lowerCheck)
        if (c >= 'A' && c <= 'F') c = static_cast<char>(c - 'A' + 'a');
    const std::vector<std::vector<std::string>> broken{
        withCheck(lines[19] + " "),       sevenBlocks, shortBlock, noData,
        withCheck("<Check>0000</Check>"),
    };
    for (const auto& text : broken) {
        TPatch target;
        target.Data()[3] = 9;
        EXPECT_NE(target.ImportText(text), TextImport::Imported);
        EXPECT_EQ(target.Data()[3], 9);
        EXPECT_EQ(target.Data()[0], 0);
    }
    if (lowerCheck != lines[19]) {
        TPatch target;
        EXPECT_EQ(target.ImportText(withCheck(lowerCheck)), TextImport::BadCheck);
        EXPECT_STREQ(TextImportMessage(TextImport::BadCheck), "Unable to import data");
    }
}

TEST_F(TextForm, NonHexPairRaisesTheConversionError) {
    auto text = lines;
    text[12] = "<HexBlock>00G10000000000000000000000000000</HexBlock>";
    TPatch target;
    try {
        (void)target.ImportText(text);
        FAIL();
    } catch (const EKelvoError& e) {
        EXPECT_STREQ(e.what(), "'$G1' is not a valid integer value");
    }
    EXPECT_TRUE(target.IsEmpty());
}

} // namespace
