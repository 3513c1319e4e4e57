#include "librarian/model/Recovery.h"

#include "base/Errors.h"
#include "gr33/CollectionFile.h"
#include "librarian/model/Collection.h"

#include <cstdlib>
#include <filesystem>

namespace fs = std::filesystem;

std::string UserDataFolder() {
    const char* data = std::getenv("XDG_DATA_HOME");
    if (data && *data) return (fs::path(data) / "KelvoLight").string();
    const char* home = std::getenv("HOME");
    return (fs::path(home ? home : ".") / ".local" / "share" / "KelvoLight").string();
}

std::string SaveRecoveredCollection(const TCollection& collection, const std::string& folder,
                                    std::time_t when) {
    std::error_code ec;
    fs::create_directories(folder, ec);
    if (ec) throw EKelvoError("Unable to create " + folder + ": " + ec.message());

    char stamp[32];
    std::tm local{};
    ::localtime_r(&when, &local);
    std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", &local);
    std::string base = (fs::path(folder) / ("recovered-" + std::string(stamp))).string();
    std::string path = base + ".G33";
    for (int n = 2; FileExists(path); ++n)
        path = base + "-" + std::to_string(n) + ".G33";

    std::array<const TPatch*, 128> slots;
    for (int n = 1; n <= 128; ++n)
        slots[n - 1] = &collection.Slot(n);
    WriteCollectionFile(path, slots);
    return path;
}

std::string RecoveredNotice(const std::string& path) {
    return "KelvoLight was ended while the patch collection had unsaved changes. They were "
           "saved to " +
           path;
}
