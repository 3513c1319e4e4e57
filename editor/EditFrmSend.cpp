// "Send To GR:TMP": what the controls show goes to the device's temporary patch, without
// touching the edited record.

#include "editor/EditFrm.h"

#include "base/Dialogs.h"
#include "base/Errors.h"
#include "editor/WaitGuard.h"
#include "gr33/Exchange.h"
#include "gr33/PatchNumber.h"
#include "qtcommon/BusyCursor.h"

void TFormEdit::StoreShown(TPatch& scratch) const {
    // The scratch record starts empty, so it ends up holding every control's value, and the
    // bytes no control covers go out as 0.
    bool ignored = false;
    StoreControls(scratch, ignored);
}

void TFormEdit::ButtonSendClick() {
    // Destroyed in reverse order on every path: cursor restored, wait window hidden, scratch
    // record freed.
    TPatch scratch;
    WaitGuard wait(librarian_);
    StoreShown(scratch);
    BusyCursor busy;
    if (librarian_.TestBeforeSend()) {
        const int in = librarian_.SelectedMidiIn();
        const int out = librarian_.SelectedMidiOut();
        RequireDevice(out, in, [](const std::string& text) { Prompts().ShowMessage(text); });
    }
    // Both ports are required even without the identity test.
    librarian_.SelectedMidiIn();
    const int out = librarian_.SelectedMidiOut();
    if (!scratch.SendToDevice(out, TempPatchNumber)) throw EKelvoError("Unable to send patch");
}
