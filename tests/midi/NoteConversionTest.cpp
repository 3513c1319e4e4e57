#include "midi/NoteConversion.h"

#include "base/Errors.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

std::string failureOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const EMidiException& e) {
        return e.what();
    }
    return "no failure";
}

} // namespace

TEST(NoteConversion, KeysNamesAndNotes) {
    const std::pair<int, const char*> names[] = {{0, "C 0"},   {1, "C# 0"}, {59, "B 4"},
                                                 {61, "C# 5"}, {69, "A 5"}, {127, "G 10"}};
    for (auto [key, name] : names) {
        SCOPED_TRACE(name);
        EXPECT_EQ(KeyToNoteName(static_cast<std::uint8_t>(key)), name);
        EXPECT_EQ(NoteNameToKey(name), key);
    }
    EXPECT_EQ(NoteNameToKey("a 5"), 69);
    EXPECT_EQ(NoteNameToKey("A  5"), 69);
    EXPECT_EQ(NoteNameToKey("h 4"), 59);
    EXPECT_EQ(KeyToNote(255), (TNote{21, 3}));
    EXPECT_EQ(NoteToKey(10, 7), 127);
    EXPECT_EQ(failureOf([] { NoteToKey(10, 8); }), "Note cannot be mapped into a key");
    const std::pair<const char*, const char*> failures[] = {
        {"C#5", "Illegal Note Format"},
        {"Bb 4", "Illegal Note Format"},
        {"A 5 ", "Illegal Note Format"},
        {"A ", "Illegal Note Format"},
        {"X 5", "Illegal Note Format"},
        {"G# 10", "Note cannot be mapped into a key"},
        {"C -1", "Note cannot be mapped into a key"},
        {"C 9999999999", "Note cannot be mapped into a key"}};
    for (auto [text, failure] : failures)
        EXPECT_EQ(failureOf([&] { NoteNameToKey(text); }), failure) << text;
}

// Every key's frequency maps back to it; an octave is exactly a factor of two; halfway between
// two keys in the logarithm goes to the nearer one.
TEST(NoteConversion, Frequencies) {
    EXPECT_DOUBLE_EQ(KeyToFrequency(0), 8.1765625);
    EXPECT_NEAR(KeyToFrequency(60), 261.65, 1e-9);
    EXPECT_NEAR(KeyToFrequency(69), 440.0000016, 5e-8);
    EXPECT_NEAR(KeyToFrequency(127), 12544.11, 0.01);
    EXPECT_NEAR(KeyToFrequency(72) / KeyToFrequency(60), 2.0, 1e-12);
    for (int key = 0; key <= 255; ++key)
        EXPECT_EQ(FrequencyToKey(KeyToFrequency(static_cast<std::uint8_t>(key))), key) << key;
    EXPECT_EQ(FrequencyToKey(440.0), 69);
    EXPECT_EQ(FrequencyToKey(7.95), 0);
    const double halfway = std::sqrt(KeyToFrequency(69) * KeyToFrequency(70));
    EXPECT_EQ(FrequencyToKey(halfway * 0.999), 69);
    EXPECT_EQ(FrequencyToKey(halfway * 1.001), 70);
    for (double hz : {7.9, 0.0, -440.0, std::numeric_limits<double>::quiet_NaN()})
        EXPECT_EQ(failureOf([&] { FrequencyToKey(hz); }), "Frequency cannot be mapped into a key")
            << hz;
    EXPECT_THROW(FrequencyToKey(1e9), std::out_of_range);
    EXPECT_THROW(FrequencyToKey(std::numeric_limits<double>::infinity()), std::out_of_range);
}
