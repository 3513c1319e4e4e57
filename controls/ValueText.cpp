#include "controls/ValueText.h"

#include <array>
#include <charconv>
#include <cmath>
#include <limits>
#include <regex>

std::string ValueText(float value) {
    std::array<char, 64> buffer{};
    // Adding +0 turns a negative zero into a plain zero.
    const double shown = double(value) + 0.0;
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), shown,
                                      std::chars_format::fixed, 3);
    return std::string(buffer.data(), result.ptr);
}

std::optional<float> ParseValue(std::string_view text) {
    while (!text.empty() && text.front() == ' ')
        text.remove_prefix(1);
    static const std::regex number(R"([+-]?(\d+\.?\d*|\.\d+)([eE][+-]?\d+)?)");
    if (!std::regex_match(text.begin(), text.end(), number)) return std::nullopt;
    if (text.front() == '+') text.remove_prefix(1); // from_chars takes no plus sign
    double parsed = 0;
    const auto result = std::from_chars(text.data(), text.data() + text.size(), parsed);
    if (result.ec != std::errc() || result.ptr != text.data() + text.size()) return std::nullopt;
    if (!std::isfinite(parsed) || std::fabs(parsed) > std::numeric_limits<float>::max())
        return std::nullopt;
    return float(parsed);
}
