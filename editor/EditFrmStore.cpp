// Loading the controls from the record and storing them back.

#include "editor/EditFrm.h"

#include "base/Dialogs.h"
#include "editor/WaitGuard.h"
#include "gr33/PatchNumber.h"
#include "model/LibrarianHost.h"

void TFormEdit::LoadControls(EditorReload how) {
    // The question names the patch by this editor's own label, whatever number the record's
    // bytes came under (a copy between slots goes through a temporary-patch message).
    if (how == EditorReload::AfterAsking &&
        !Confirmation("Editor: Patch (" + PatchLabel(number_) + ") has changed! Reload")) {
        // The user keeps the values; the next Ok writes them over the record's new bytes.
        changed_ = true;
        return;
    }
    for (const ParamControl& control : controls_)
        LoadParamControl(control, patch_.Bytes());
    LoadEffectBars(patch_.Bytes());
    changed_ = false;
    // What the record brings is the history's new starting point.
    restartHistory_ = true;
    QueueRecord(nullptr);
}

void TFormEdit::StoreControls(TPatch& target, bool& changed) const {
    for (const ParamControl& control : controls_)
        StoreParamControl(control, target, changed);
    StoreEffectBars(target, changed);
}

void TFormEdit::StoreAndNotify() {
    WaitGuard wait(librarian_);
    // Changed also stays set from a reload the user declined; only a store that wrote bytes
    // brings a new patch for the library.
    bool wrote = false;
    StoreControls(patch_, wrote);
    changed_ = changed_ || wrote;
    if (!changed_) return;
    librarian_.SetCollectionFile(librarian_.CollectionFile(), true);
    if (column_ != 0)
        librarian_.UpdateCell(column_, row_);
    else
        librarian_.UpdateTempPatchMenu();
    if (wrote)
        librarian_.RecordPatch({number_, patch_.Bytes()},
                               {SightingKind::Editor, PatchLabel(number_)});
}
