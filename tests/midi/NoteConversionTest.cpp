#include "midi/NoteConversion.h"

#include "base/Errors.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

std::string failureOf(const std::string& text) {
    try {
        NoteNameToKey(text);
    } catch (const EMidiException& e) {
        return e.what();
    }
    return "no failure";
}

TEST(NoteConversion, KeyNames) {
    EXPECT_EQ(KeyToNoteName(0), "C 0");
    EXPECT_EQ(KeyToNoteName(61), "C# 5");
    EXPECT_EQ(KeyToNoteName(69), "A 5");
    EXPECT_EQ(KeyToNoteName(127), "G 10");
    EXPECT_EQ(KeyToNote(255), (TNote{21, 3}));
    EXPECT_EQ(NoteToKey(10, 7), 127);
    EXPECT_THROW(NoteToKey(10, 8), EMidiException);
}

TEST(NoteConversion, NoteNamesToKeys) {
    EXPECT_EQ(NoteNameToKey("a 5"), 69);
    EXPECT_EQ(NoteNameToKey("A  5"), 69);
    EXPECT_EQ(NoteNameToKey("h 4"), 59);
    EXPECT_EQ(NoteNameToKey("G 10"), 127);
    EXPECT_EQ(NoteNameToKey("c# 0"), 1);
    EXPECT_EQ(failureOf("C#5"), "Illegal Note Format");
    EXPECT_EQ(failureOf("Bb 4"), "Illegal Note Format");
    EXPECT_EQ(failureOf("A 5 "), "Illegal Note Format");
    EXPECT_EQ(failureOf("A "), "Illegal Note Format");
    EXPECT_EQ(failureOf("X 5"), "Illegal Note Format");
    EXPECT_EQ(failureOf("G# 10"), "Note cannot be mapped into a key");
    EXPECT_EQ(failureOf("C -1"), "Note cannot be mapped into a key");
    EXPECT_EQ(failureOf("C 9999999999"), "Note cannot be mapped into a key");
}

TEST(NoteConversion, KeysToFrequencies) {
    EXPECT_DOUBLE_EQ(KeyToFrequency(0), 8.1765625);
    EXPECT_NEAR(KeyToFrequency(60), 261.65, 1e-9);
    EXPECT_NEAR(KeyToFrequency(69), 440.0000016, 5e-8);
    EXPECT_NEAR(KeyToFrequency(127), 12544.11, 0.01);
    // An octave is exactly a factor of two, unlike twelve tuned semitones.
    EXPECT_NEAR(KeyToFrequency(72) / KeyToFrequency(60), 2.0, 1e-12);
}

TEST(NoteConversion, EveryKeyFrequencyMapsBack) {
    for (int key = 0; key <= 255; ++key)
        EXPECT_EQ(FrequencyToKey(KeyToFrequency(static_cast<std::uint8_t>(key))), key) << key;
}

TEST(NoteConversion, FrequenciesToKeys) {
    EXPECT_EQ(FrequencyToKey(440.0), 69);
    EXPECT_EQ(FrequencyToKey(8.1765625), 0);
    EXPECT_EQ(FrequencyToKey(7.95), 0);
    // Halfway between two keys in the logarithm rounds to the nearer one on either side.
    const double halfway = std::sqrt(KeyToFrequency(69) * KeyToFrequency(70));
    EXPECT_EQ(FrequencyToKey(halfway * 0.999), 69);
    EXPECT_EQ(FrequencyToKey(halfway * 1.001), 70);
    for (double hz : {7.9, 0.0, -440.0, std::numeric_limits<double>::quiet_NaN()}) {
        try {
            FrequencyToKey(hz);
            FAIL() << hz;
        } catch (const EMidiException& e) {
            EXPECT_STREQ(e.what(), "Frequency cannot be mapped into a key");
        }
    }
    EXPECT_THROW(FrequencyToKey(1e9), std::out_of_range);
    EXPECT_THROW(FrequencyToKey(std::numeric_limits<double>::infinity()), std::out_of_range);
}

} // namespace
