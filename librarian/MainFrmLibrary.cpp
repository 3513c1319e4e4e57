#include "librarian/MainFrm.h"
#include "library/Library.h"
#include "qtcommon/RunHandler.h"

// Recording is a side matter of the command that brought the patches: a library that fails
// (locked by another program, a full disk) shows its message, and the command's own result
// stands. A source without a time is stamped with the moment it is recorded.

void TFormMain::PatchesSeen(std::span<const SlotPatch> patches, const SightingSource& source) {
    if (!library_) return;
    SightingSource stamped = source;
    if (stamped.when == 0) stamped.when = NowMs();
    RunHandler([&] { library_->Add(patches, stamped); });
}

void TFormMain::CollectionReceived(std::span<const PatchBytes> received, const std::string& port) {
    if (!library_ || received.empty()) return;
    RunHandler([&] { library_->AddSnapshot(received, port, NowMs()); });
}

void TFormMain::RecordPatch(const SlotPatch& patch, const SightingSource& source) {
    PatchesSeen({&patch, 1}, source);
}
