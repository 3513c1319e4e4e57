// Undo and redo of the changes made in the editor's controls while it is open. A step holds
// the shown patch bytes before and after one change; undo and redo put them back into the
// controls only, so nothing reaches the record until Ok, and with live sending on they are
// sent like any other change.

#include "editor/EditFrm.h"

#include <QAction>
#include <QKeyEvent>
#include <QLineEdit>
#include <QSpinBox>
#include <QUndoCommand>
#include <QUndoStack>

#include <functional>
#include <utility>

namespace {

class TShownStep : public QUndoCommand {
public:
    using Show = std::function<void(const PatchBytes&)>;
    TShownStep(Show show, const QObject* control, const PatchBytes& before, const PatchBytes& after)
        : show_(std::move(show)), control_(control), before_(before), after_(after) {}

    void undo() override {
        closed_ = true;
        show_(before_);
    }
    void redo() override {
        // The user made the change: only the redo after an undo puts it back.
        if (pushed_) {
            closed_ = true;
            show_(after_);
        }
        pushed_ = true;
    }
    // The next change of the same control extends this step, until it was undone once.
    int id() const override { return 1; }
    bool mergeWith(const QUndoCommand* other) override {
        const auto* next = static_cast<const TShownStep*>(other);
        if (closed_ || !control_ || next->control_ != control_) return false;
        after_ = next->after_;
        // Typed back to where it started: the step is no change at all.
        setObsolete(after_ == before_);
        return true;
    }

private:
    Show show_;
    const QObject* control_;
    PatchBytes before_, after_;
    bool pushed_ = false;
    bool closed_ = false;
};

} // namespace

void TFormEdit::CreateHistory() {
    history_ = new QUndoStack(this);
    QAction* undo = history_->createUndoAction(this, "Undo");
    undo->setObjectName("EditUndo1");
    undo->setShortcut(QKeySequence::Undo);
    QAction* redo = history_->createRedoAction(this, "Redo");
    redo->setObjectName("EditRedo1");
    redo->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z));
    for (QAction* action : {undo, redo}) {
        action->setShortcutContext(Qt::WindowShortcut);
        addAction(action);
    }
    // The name and number fields would take the keys for their own text undo (see below).
    Edit1->installEventFilter(this);
    for (QSpinBox* field : findChildren<QSpinBox*>())
        field->installEventFilter(this);
}

bool TFormEdit::eventFilter(QObject* watched, QEvent* event) {
    // A text field claims Ctrl+Z and Ctrl+Shift+Z for its own undo, whose history the editor
    // empties whenever it rewrites the field (every change of the name, every confirmed
    // number). Unless the field holds typing of its own to take back, the keys go on to the
    // editor's undo and redo.
    if (event->type() == QEvent::ShortcutOverride) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const bool undo = key->matches(QKeySequence::Undo);
        const bool redo = key->matches(QKeySequence::Redo) ||
                          key->keyCombination() == (Qt::CTRL | Qt::SHIFT | Qt::Key_Z);
        if (undo || redo) {
            auto* text = qobject_cast<QLineEdit*>(watched);
            if (!text) text = watched->findChild<QLineEdit*>();
            if (text && !(undo ? text->isUndoAvailable() : text->isRedoAvailable())) {
                event->ignore();
                return true;
            }
        }
    }
    return QWidget::eventFilter(watched, event);
}

void TFormEdit::QueueRecord(QObject* control) {
    if (recordQueued_) return;
    recordQueued_ = true;
    recordControl_ = control;
    QMetaObject::invokeMethod(
        this,
        [this] {
            recordQueued_ = false;
            RecordShown();
        },
        Qt::QueuedConnection);
}

void TFormEdit::RecordShown() {
    TPatch shown;
    StoreShown(shown);
    if (restartHistory_) {
        restartHistory_ = false;
        history_->clear();
    } else if (shown.Bytes() != seen_) {
        history_->push(new TShownStep([this](const PatchBytes& bytes) { ShowStep(bytes); },
                                      recordControl_, seen_, shown.Bytes()));
    }
    seen_ = shown.Bytes();
}

void TFormEdit::ShowStep(const PatchBytes& bytes) {
    // The editor's own load path, from the step's bytes instead of the record's.
    for (const ParamControl& control : controls_)
        LoadParamControl(control, bytes);
    LoadEffectBars(bytes);
    SetupEffectPage();
    TPatch shown;
    StoreShown(shown);
    seen_ = shown.Bytes();
    // A change like any other for live sending, sent once.
    ControlChanged(nullptr);
}
