// The text exchange form: checksum vectors, export layout and the tolerant import.
#include "gr33/TextForm.h"

#include "tests/support/FailureOf.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cstring>
#include <regex>

namespace {

TEST(TextChecksum, ShiftsByPositionModSeven) {
    for (auto [index, sum] : {std::pair{0, 0x0002}, {5, 0x0040}, {6, 0x0001}}) {
        PatchBytes b{};
        b[index] = 1;
        EXPECT_EQ(TextChecksum(b), sum) << index;
    }
    EXPECT_EQ(TextChecksum(PatchBytes{}), 0x0000);
    PatchBytes all;
    all.fill(0xFF); // the sum stays below 2^24 and is folded modulo 65535, not 65536
    unsigned long sum = 0;
    for (std::size_t i = 0; i < 128; ++i)
        sum += 0xFFul << ((i + 1) % 7);
    EXPECT_EQ(TextChecksum(all), sum % 65535);
    EXPECT_EQ(TextChecksum(std::vector<std::uint8_t>(200, 0)), (72ull << 24) % 65535);
}

TEST(TextChecksum, DateUsesNoLeadingZeros) {
    std::tm t{};
    t.tm_year = 2026 - 1900;
    t.tm_mon = 2, t.tm_mday = 7, t.tm_hour = 9, t.tm_min = 5;
    EXPECT_EQ(TextFormDate(t), "3/7/2026 9:05");
    t.tm_mon = 11, t.tm_mday = 31, t.tm_hour = 23, t.tm_min = 59;
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
    // clang-format off
    const std::vector<std::string> head = {"<Patch>", "<Converter>KelvoLight 1.01</Converter>",
        "<Name>Warm Pad</Name>", "<Author>Unknown</Author>", "<Description>", "</Description>"};
    // clang-format on
    EXPECT_EQ(std::vector<std::string>(lines.begin(), lines.begin() + 6), head);
    EXPECT_TRUE(std::regex_match(lines[6], std::regex("<Date>\\d{1,2}/\\d{1,2}/\\d{4} "
                                                      "\\d{1,2}:\\d{2}</Date>")))
        << lines[6];
    EXPECT_EQ(lines[9], "<Number>0</Number>");
    EXPECT_EQ(lines[10], "<Data>");
    EXPECT_EQ(lines[11], "<HexBlock>20205761726D20506164202024272A2D</HexBlock>");
    EXPECT_EQ(lines[18], "<HexBlock>505356595C5F6265686B6E7174777A7D</HexBlock>");
    EXPECT_TRUE(std::regex_match(lines[19], std::regex("<Check>[0-9A-F]{4}</Check>")));
    EXPECT_EQ(lines[21], "</Patch>");
}

// Extra lines around the block, blanks around its lines and hex digits in either case.
TEST_F(TextForm, ImportRoundTripsTolerantly) {
    TPatch copy;
    EXPECT_EQ(copy.ImportText(lines), TextImport::Imported);
    EXPECT_EQ(copy.Bytes(), patch.Bytes());
    std::vector<std::string> pasted{"Some mail text", "", "  <Data>\t"};
    for (int k = 0; k < 8; ++k) {
        std::string line = lines[11 + k];
        for (std::size_t i = 10; i < 42; ++i)
            line[i] = static_cast<char>(std::tolower(line[i]));
        pasted.push_back("   " + line + " \r");
    }
    pasted.insert(pasted.end(), {lines[19], "trailing words"});
    TPatch again;
    EXPECT_EQ(again.ImportText(pasted), TextImport::Imported);
    EXPECT_EQ(again.Bytes(), patch.Bytes());
    EXPECT_STREQ(TextImportMessage(TextImport::Imported), "Data imported");
}

TEST_F(TextForm, BrokenTextsSayWhyAndChangeNothing) {
    auto changed = [&](std::size_t at, std::string line) {
        auto l = lines;
        l[at] = line;
        return l;
    };
    std::string lowerCheck = lines[19];
    for (std::size_t i = 7; i < 11; ++i)
        lowerCheck[i] = static_cast<char>(std::tolower(lowerCheck[i]));
    const std::vector<std::pair<std::vector<std::string>, TextImport>> cases = {
        {changed(10, "<data>"), TextImport::NoData},
        {{lines.begin() + 10, lines.begin() + 18}, TextImport::NoData}, // seven blocks
        {changed(14, "<HexBlock>00</HexBlock>"), TextImport::BadBlock},
        {changed(14, lines[14].substr(10)), TextImport::BadBlock},
        {changed(14, lines[14].substr(0, 42)), TextImport::BadBlock},
        {changed(19, lines[19] + " "), TextImport::BadCheck},
        {changed(19, "<Check>0000</Check>"), TextImport::BadCheck},
        {{lines.begin() + 10, lines.begin() + 19}, TextImport::BadCheck}, // no check line
    };
    for (const auto& [text, why] : cases) {
        TPatch target;
        target.Data()[3] = 9;
        EXPECT_EQ(target.ImportText(text), why);
        EXPECT_EQ(target.Data()[3], 9);
        EXPECT_EQ(target.Data()[0], 0);
    }
    EXPECT_TRUE(lowerCheck == lines[19] ||
                TPatch().ImportText(changed(19, lowerCheck)) == TextImport::BadCheck);
    EXPECT_STREQ(TextImportMessage(TextImport::BadCheck), "Unable to import data");
}

TEST_F(TextForm, NonHexPairRaisesTheConversionError) {
    for (const std::string pair : {"G1", "g1", "1:"}) {
        auto text = lines;
        text[12] = "<HexBlock>00" + pair + "0000000000000000000000000000</HexBlock>";
        TPatch target;
        EXPECT_EQ(FailureOf([&] { (void)target.ImportText(text); }),
                  "'$" + pair + "' is not a valid integer value");
        EXPECT_TRUE(target.IsEmpty());
    }
}

} // namespace
