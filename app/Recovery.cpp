#include "app/Recovery.h"

#include "base/Dialogs.h"
#include "base/Errors.h"
#include "base/UserFolders.h"
#include "model/Collection.h"
#include "model/Recovery.h"

#include <ctime>
#include <iostream>

void ReportRecoveredCollection() {
    const std::string path = TakeRecovered(UserDataFolder());
    if (path.empty()) return;
    Prompts().ShowMessage(RecoveredNotice(path));
}

void RecoverCollection(const TCollection& collection) {
    if (!collection.Modified()) return;
    std::string path;
    try {
        path = SaveRecoveredCollection(collection, UserDataFolder(), std::time(nullptr));
    } catch (const EKelvoError& e) {
        std::cerr << "KelvoLight: the unsaved patch collection could not be saved: " << e.what()
                  << "\n";
        return;
    }
    std::cerr << "KelvoLight: the unsaved patch collection was saved to " << path << "\n";
    try {
        RememberRecovered(UserDataFolder(), path);
    } catch (const EKelvoError& e) {
        std::cerr << "KelvoLight: the next start will not tell where: " << e.what() << "\n";
    }
}
