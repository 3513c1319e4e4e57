#include "model/RecentFiles.h"

#include "model/Settings.h"

#include <algorithm>
#include <filesystem>

namespace {

std::string settingName(int k) {
    return "Recent" + std::to_string(k);
}

void store(const std::vector<std::string>& files) {
    for (int k = 1; k <= RecentFileCount; ++k) {
        const auto index = static_cast<std::size_t>(k - 1);
        // A place never used stays out of the file; one used before is blanked.
        if (index < files.size())
            WriteSetting(settingName(k), files[index]);
        else if (!ReadSetting(settingName(k)).empty())
            WriteSetting(settingName(k), "");
    }
}

} // namespace

std::vector<std::string> RecentFiles() {
    std::vector<std::string> files;
    for (int k = 1; k <= RecentFileCount; ++k) {
        std::string name = ReadSetting(settingName(k));
        if (name.find_first_not_of(" \t") == std::string::npos) continue;
        if (std::find(files.begin(), files.end(), name) == files.end()) files.push_back(name);
    }
    return files;
}

void RememberRecentFile(const std::string& fileName) {
    std::error_code error;
    auto path = std::filesystem::absolute(fileName, error);
    const std::string name = error ? fileName : path.lexically_normal().string();
    auto files = RecentFiles();
    std::erase(files, name);
    files.insert(files.begin(), name);
    if (files.size() > RecentFileCount) files.resize(RecentFileCount);
    store(files);
}

void ForgetRecentFile(const std::string& fileName) {
    auto files = RecentFiles();
    std::erase(files, fileName);
    store(files);
}
