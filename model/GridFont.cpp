#include "model/GridFont.h"

#include "base/Errors.h"

#include <charconv>

namespace {

constexpr int MaxFontSize = 200; // beyond this the grid would outgrow any screen many times

int parseInteger(const std::string& text) {
    int value = 0;
    const char* first = text.data();
    const char* last = text.data() + text.size();
    if (first != last && *first == '+') ++first;
    auto [end, error] = std::from_chars(first, last, value);
    if (text.empty() || error != std::errc() || end != last)
        throw EKelvoError("'" + text + "' is not a valid integer value");
    return value;
}

} // namespace

std::string FontToString(const FontSpec& font) {
    return std::to_string(font.size) + " " + std::to_string(font.style) + " " + font.name;
}

void StringToFont(FontSpec& font, const std::string& text) {
    auto blank = text.find(' ');
    if (blank == std::string::npos) return;
    std::string sizeText = text.substr(0, blank);
    std::string rest = text.substr(blank + 1);
    auto blank2 = rest.find(' ');
    if (blank2 == std::string::npos) return;
    int size = parseInteger(sizeText);
    int style = parseInteger(rest.substr(0, blank2));
    if (style < 0 || style > 255)
        throw EKelvoError("'" + rest.substr(0, blank2) + "' is not a valid font style");
    if (size < 1 || size > MaxFontSize)
        throw EKelvoError("'" + sizeText + "' is not a valid font size");
    font.name = rest.substr(blank2 + 1);
    font.style = style;
    font.size = size;
}
