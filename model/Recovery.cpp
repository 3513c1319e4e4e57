#include "model/Recovery.h"

#include "base/Errors.h"
#include "base/FileRead.h"
#include "gr33/CollectionFile.h"
#include "model/Collection.h"

#include <filesystem>

namespace fs = std::filesystem;

std::string SaveRecoveredCollection(const TCollection& collection, const std::string& folder,
                                    std::time_t when) {
    std::error_code ec;
    fs::create_directories(folder, ec);
    if (ec) throw EKelvoError(FileErrorText("Unable to create", folder, ec.value()));

    char stamp[32];
    std::tm local{};
    ::localtime_r(&when, &local);
    std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", &local);
    std::string base = (fs::path(folder) / ("recovered-" + std::string(stamp))).string();
    std::string path = base + ".G33";
    for (int n = 2; FileExists(path); ++n)
        path = base + "-" + std::to_string(n) + ".G33";

    WriteCollectionFile(path, collection.Records());
    return path;
}

std::string RecoveredNotice(const std::string& path) {
    return "KelvoLight was ended while the patch collection had unsaved changes. They were "
           "saved to " +
           path;
}
