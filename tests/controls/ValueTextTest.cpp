// Number text of the bar: three fixed decimals with '.', and the strict reading of typed values.

#include "controls/ValueText.h"

#include <gtest/gtest.h>

namespace {

TEST(ValueText, FixedPointWithThreeDecimals) {
    EXPECT_EQ(ValueText(69), "69.000");
    EXPECT_EQ(ValueText(-0.5f), "-0.500");
    EXPECT_EQ(ValueText(0.12345f), "0.123");
    EXPECT_EQ(ValueText(1e6f), "1000000.000");
    EXPECT_EQ(ValueText(-0.0f), "0.000");
}

TEST(ParseValue, AcceptsDecimalNumbersWithLeadingBlanksOnly) {
    EXPECT_EQ(ParseValue("   -3"), -3.0f);
    EXPECT_EQ(ParseValue("+7.25"), 7.25f);
    EXPECT_EQ(ParseValue(".5"), 0.5f);
    EXPECT_EQ(ParseValue("5."), 5.0f);
    EXPECT_EQ(ParseValue("2.5E-1"), 0.25f);
    for (const char* text :
         {"", "abc", "1,5", "12.4 ", "1e", "--1", "0x10", "inf", "nan", "1e39", ".", "+"})
        EXPECT_EQ(ParseValue(text), std::nullopt) << '"' << text << '"';
}

} // namespace
