#include "app/Recovery.h"

#include "base/Dialogs.h"
#include "base/Errors.h"
#include "base/UserFolders.h"
#include "model/Collection.h"
#include "model/Recovery.h"
#include "model/Settings.h"

#include <ctime>
#include <iostream>

void ReportRecoveredCollection() {
    std::string path = ReadSetting(RecoveredFileSetting);
    if (path.empty()) return;
    WriteSetting(RecoveredFileSetting, "");
    Prompts().ShowMessage(RecoveredNotice(path));
}

void RecoverCollection(const TCollection& collection) {
    if (!collection.Modified()) return;
    try {
        std::string path =
            SaveRecoveredCollection(collection, UserDataFolder(), std::time(nullptr));
        WriteSetting(RecoveredFileSetting, path);
        std::cerr << "KelvoLight: the unsaved patch collection was saved to " << path << "\n";
    } catch (const EKelvoError& e) {
        std::cerr << "KelvoLight: the unsaved patch collection could not be saved: " << e.what()
                  << "\n";
    }
}
