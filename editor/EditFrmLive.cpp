// Live sending: while the librarian's "Send Edits Live" is on, every change of a control sends
// the shown patch to the device's temporary patch, the same bytes "Send To GR:TMP" sends,
// without its identity test and hourglass and without waiting for the wire.

#include "editor/EditFrm.h"

#include "base/Dialogs.h"
#include "base/Errors.h"
#include "controls/IBar.h"
#include "gr33/LiveSender.h"
#include "model/LibrarianHost.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QSpinBox>

void TFormEdit::WatchChanges() {
    // Every list, field and box of the pages: the lists' index also moves with a Reset or a
    // reload, and the fields report a typed value once it is confirmed.
    for (QComboBox* list : findChildren<QComboBox*>())
        connect(list, &QComboBox::currentIndexChanged, this,
                [this, list] { ControlChanged(list); });
    for (QSpinBox* field : findChildren<QSpinBox*>())
        connect(field, &QSpinBox::valueChanged, this, [this, field] { ControlChanged(field); });
    for (QCheckBox* box : findChildren<QCheckBox*>())
        connect(box, &QCheckBox::toggled, this, [this, box] { ControlChanged(box); });
    connect(Edit1, &QLineEdit::textChanged, this, [this] { ControlChanged(Edit1); });
    for (TIBar* bar : bars_)
        bar->OnChange = [this](TIBar& changed) { ControlChanged(&changed); };
}

void TFormEdit::ControlChanged(QObject* control) {
    QueueRecord(control);
    if (liveQueued_ || liveOff_ || !librarian_.LiveEdit()) return;
    liveQueued_ = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            liveQueued_ = false;
            SendLive();
        },
        Qt::QueuedConnection);
}

void TFormEdit::SendLive() {
    if (liveOff_) return;
    int out = 0;
    try {
        // No reply is awaited, so the MIDI-OUT port alone is needed.
        out = librarian_.SelectedMidiOut();
    } catch (const std::exception& e) {
        LiveFailed(e.what());
        return;
    }
    TPatch scratch;
    StoreShown(scratch);
    if (!live_) {
        // The sender's thread hands its failure to this window's thread; a window already
        // gone takes the call with it.
        live_ = std::make_unique<LiveSender>([this](const std::string& text) {
            QMetaObject::invokeMethod(
                this, [this, text] { LiveFailed(text); }, Qt::QueuedConnection);
        });
    }
    live_->Post(out, scratch.Bytes());
}

void TFormEdit::LiveFailed(const std::string& text) {
    if (liveOff_) return;
    liveOff_ = true;
    setWindowTitle(windowTitle() + " (live sending off)");
    Prompts().ShowError(MessageText(text));
}
