#include "model/Recovery.h"

#include "base/AtomicFile.h"
#include "base/Errors.h"
#include "base/FileRead.h"
#include "gr33/CollectionFile.h"
#include "model/Collection.h"
#include "model/Settings.h"

#include <filesystem>

namespace fs = std::filesystem;

namespace {

fs::path noteFile(const std::string& folder) {
    return fs::path(folder) / "recovered.note";
}

// A path is one line; anything longer than a path can be is not a note this program wrote.
constexpr std::size_t MaxNoteSize = 8192;

} // namespace

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

void RememberRecovered(const std::string& folder, const std::string& path) {
    WriteFileAtomically(noteFile(folder).string(), Bytes(path.begin(), path.end()));
}

std::string TakeRecovered(const std::string& folder) {
    std::string path = ReadSetting(RecoveredFileSetting);
    if (!path.empty()) WriteSetting(RecoveredFileSetting, "");
    const std::string note = noteFile(folder).string();
    if (!FileExists(note)) return path;
    try {
        const Bytes bytes = ReadFileStart(note, MaxNoteSize);
        if (bytes.size() < MaxNoteSize) path.assign(bytes.begin(), bytes.end());
    } catch (const EKelvoError&) {
        // An unreadable note says nothing; it is removed below all the same.
    }
    std::error_code ec;
    fs::remove(note, ec);
    return path;
}
