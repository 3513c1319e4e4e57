// Number text of the bar: three fixed decimals with '.', and the strict reading of typed values.

#include "controls/ValueText.h"

#include <gtest/gtest.h>

TEST(ValueText, FixedPointWithThreeDecimalsAndStrictReading) {
    const std::pair<float, const char*> shown[] = {{69, "69.000"},
                                                   {-0.5f, "-0.500"},
                                                   {0.12345f, "0.123"},
                                                   {1e6f, "1000000.000"},
                                                   {-0.0f, "0.000"}};
    for (auto [value, text] : shown)
        EXPECT_EQ(ValueText(value), text);
    const std::pair<const char*, float> read[] = {
        {"   -3", -3}, {"+7.25", 7.25f}, {".5", 0.5f}, {"5.", 5}, {"2.5E-1", 0.25f}};
    for (auto [text, value] : read)
        EXPECT_EQ(ParseValue(text), value) << text;
    // Only leading blanks; no other separators, bases or words; nothing beyond a float.
    for (const char* text :
         {"", "abc", "1,5", "12.4 ", "1e", "--1", "0x10", "inf", "nan", "1e39", ".", "+"})
        EXPECT_EQ(ParseValue(text), std::nullopt) << '"' << text << '"';
}
