#include "model/Settings.h"

#include "base/AtomicFile.h"
#include "base/Errors.h"

#include <algorithm>
#include <cctype>
#include <charconv>

namespace {

std::string upper(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return text;
}

// The name of a setting line (text before the first "="), or npos when the line has none.
bool nameMatches(const std::string& line, const std::string& upperName) {
    auto eq = line.find('=');
    return eq != std::string::npos && upper(line.substr(0, eq)) == upperName;
}

} // namespace

std::vector<std::string> SplitSettingsLines(const std::string& text) {
    std::vector<std::string> lines;
    std::string line;
    for (std::size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (c == '\r' || c == '\n') {
            lines.push_back(line);
            line.clear();
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        } else {
            line += c;
        }
    }
    if (!line.empty()) lines.push_back(line);
    return lines;
}

void TSettingsStore::Start(const std::string& path) {
    path_ = path;
    lines_.clear();
    changed_ = false;
    readError_.clear();
    if (!FileExists(path)) return;
    // A settings file is a few hundred bytes. Anything far larger, or a folder or pipe in its
    // place, is not one: it is reported, not read, and never overwritten.
    try {
        Bytes bytes = ReadFileStart(path, MaxSettingsFileSize + 1);
        if (bytes.size() > MaxSettingsFileSize)
            throw EKelvoError("Settings file " + path + " is larger than 1 MiB");
        lines_ = SplitSettingsLines(std::string(bytes.begin(), bytes.end()));
    } catch (const EKelvoError& e) {
        readError_ = e.what();
    }
}

void TSettingsStore::End() {
    if (changed_ && readError_.empty()) {
        std::string text;
        for (const auto& line : lines_)
            text += line + "\r\n";
        WriteFileAtomically(path_, Bytes(text.begin(), text.end()));
    }
    lines_.clear();
    changed_ = false;
}

std::string TSettingsStore::ReadSetting(const std::string& name) const {
    std::string key = upper(name);
    for (const auto& line : lines_)
        if (nameMatches(line, key)) return line.substr(line.find('=') + 1);
    return {};
}

void TSettingsStore::WriteSetting(const std::string& name, const std::string& value) {
    changed_ = true;
    std::string key = upper(name);
    for (auto& line : lines_)
        if (nameMatches(line, key)) {
            line = name + "=" + value;
            return;
        }
    lines_.push_back(name + "=" + value);
}

bool TSettingsStore::IsYes(const std::string& name) const {
    return upper(ReadSetting(name)) == "YES";
}
bool TSettingsStore::IsNo(const std::string& name) const {
    return upper(ReadSetting(name)) == "NO";
}

TSettingsStore& Settings() {
    static TSettingsStore store;
    return store;
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
