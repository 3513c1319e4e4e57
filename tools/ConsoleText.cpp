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

std::optional<int> SettingInteger(const std::string& text) {
    std::size_t pos = text.find_first_not_of(' ');
    if (pos == std::string::npos) return std::nullopt;
    if (text[pos] == '+' && pos + 1 < text.size() && text[pos + 1] != '-') ++pos;
    int value = 0;
    const char* last = text.data() + text.size();
    auto [ptr, ec] = std::from_chars(text.data() + pos, last, value);
    if (ec != std::errc() || ptr != last || value < -32768 || value > 32767) return std::nullopt;
    return value;
}
