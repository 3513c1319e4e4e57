#include "base/UserFolders.h"

#include <cstdlib>
#include <filesystem>

std::string UserDataFolder() {
    std::filesystem::path base = ".";
    if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg && *xdg)
        base = xdg;
    else if (const char* home = std::getenv("HOME"); home && *home)
        base = std::filesystem::path(home) / ".local/share";
    return (base / "KelvoLight").string();
}
