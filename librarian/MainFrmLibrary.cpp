#include "librarian/MainFrm.h"

#include "base/Dialogs.h"
#include "base/Errors.h"
#include "gr33/PatchNumber.h"
#include "librarian/LibraryWindow.h"
#include "librarian/StringGrid.h"
#include "library/Library.h"
#include "qtcommon/RunHandler.h"

#include <QMenu>

#include <algorithm>

namespace {

constexpr const char* NoLibraryText = "The patch library is not open";

} // namespace

// Recording is a side matter of the command that brought the patches: a library that fails
// (locked by another program, a full disk) shows its message, and the command's own result
// stands. A source without a time is stamped with the moment it is recorded.

void TFormMain::PatchesSeen(std::span<const SlotPatch> patches, const SightingSource& source) {
    if (!library_) return;
    SightingSource stamped = source;
    if (stamped.when == 0) stamped.when = NowMs();
    RunHandler([&] { library_->Add(patches, stamped); });
    refreshLibraryWindow();
}

void TFormMain::CollectionReceived(std::span<const PatchBytes> received, const std::string& port) {
    if (!library_ || received.empty()) return;
    RunHandler([&] { library_->AddSnapshot(received, port, NowMs()); });
    refreshLibraryWindow();
}

void TFormMain::refreshLibraryWindow() {
    if (libraryWindow_ && libraryWindow_->isVisible()) libraryWindow_->Search();
}

void TFormMain::RecordPatch(const SlotPatch& patch, const SightingSource& source) {
    PatchesSeen({&patch, 1}, source);
}

// --- The "Library" menu ----------------------------------------------------------------------

void TFormMain::createLibraryMenu(QMenu* menu) {
    command(menu, "PatchLibrary1", "Patch Library...", &TFormMain::PatchLibrary1Click);
    command(menu, "SlotHistory1", "History of Selected Slot", &TFormMain::SlotHistory1Click);
    command(menu, "RestoreSnapshot1", "Restore Snapshot...", &TFormMain::RestoreSnapshot1Click);
    connect(grid_, &TStringGrid::PatchesDropped, this,
            [this](int row, int column, const QList<qint64>& ids) {
                RunHandler([&] { GridPatchesDropped(row, column, ids); });
            });
}

TPatchLibrary& TFormMain::requireLibrary() const {
    if (!library_) throw EKelvoError(NoLibraryText);
    return *library_;
}

void TFormMain::PatchLibrary1Click() {
    TPatchLibrary& library = requireLibrary();
    if (!libraryWindow_) libraryWindow_ = new TLibraryWindow(*this, library);
    libraryWindow_->show();
    libraryWindow_->raise();
    libraryWindow_->activateWindow();
}

void TFormMain::SlotHistory1Click() {
    const int number = SelectedPatch();
    const std::string label = PatchLabel(number);
    const auto history = requireLibrary().SlotHistory(number);
    if (history.empty()) {
        Prompts().ShowMessage("No snapshot holds " + label + " yet");
        return;
    }
    // Newest first, as "what was in B23 before?" is asked. Appended piece by piece: GCC 12's
    // release build reports a false overlap for a chain of + here.
    std::string text = label;
    text.append(" in the snapshots of the device:");
    for (auto entry = history.rbegin(); entry != history.rend(); ++entry)
        text.append("\n")
            .append(std::to_string(entry->snapshot))
            .append("  ")
            .append(LibraryTimeText(entry->when))
            .append("  ")
            .append(entry->patch ? entry->name : "(empty)");
    Prompts().ShowMessage(text);
}

void TFormMain::RestoreSnapshot1Click() {
    TPatchLibrary& library = requireLibrary();
    const auto snapshots = library.Snapshots();
    if (snapshots.empty()) throw EKelvoError("The library holds no snapshot of the device yet");
    std::string prompt = "Snapshot (";
    prompt.append(std::to_string(snapshots.front().id))
        .append(" .. ")
        .append(std::to_string(snapshots.back().id))
        .append(")");
    const auto answer =
        Prompts().InputText("Restore Snapshot", prompt, std::to_string(snapshots.back().id));
    if (!answer) return;
    const auto chosen = std::find_if(snapshots.begin(), snapshots.end(), [&](const auto& s) {
        return std::to_string(s.id) == *answer;
    });
    if (chosen == snapshots.end()) throw EKelvoError("No snapshot " + *answer + " in the library");
    collection_.ShowSlots(library.RestoreSnapshot(chosen->id));
}

void TFormMain::GridPatchesDropped(int row, int column, const QList<qint64>& ids) {
    TPatchLibrary& library = requireLibrary();
    std::vector<PatchBytes> patches;
    for (qint64 id : ids)
        patches.push_back(library.Bytes(id));
    collection_.PutPatches(GridToPatch(column + 1, row + 1), patches);
}
