#include "tools/ConsoleText.h"

#include "midi/NoteConversion.h"

#include <charconv>

std::string FrequencyText(std::uint8_t key) {
    char digits[32];
    auto result = std::to_chars(digits, digits + sizeof digits, KeyToFrequency(key),
                                std::chars_format::fixed, 2);
    std::string text(digits, result.ptr);
    if (text.size() < 7) text.insert(0, 7 - text.size(), ' ');
    return text;
}
