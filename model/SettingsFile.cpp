#include "model/SettingsFile.h"

#include <filesystem>
#include <unistd.h>

namespace fs = std::filesystem;

std::string ChooseSettingsFile(const std::string& executable, const std::string& installedBinDir,
                               const std::string& configFolder) {
    const fs::path exe(executable);
    const std::string name = exe.stem().string() + ".ini";
    const fs::path folder = exe.parent_path();
    const fs::path beside = folder / name;
    std::error_code ec;
    if (fs::exists(beside, ec)) {
        if (::access(beside.c_str(), W_OK) == 0) return beside.string();
    } else if (::access(folder.c_str(), W_OK) == 0 &&
               !fs::equivalent(folder, fs::path(installedBinDir), ec)) {
        return beside.string();
    }
    return (fs::path(configFolder) / name).string();
}
