#include "librarian/CollectionUndo.h"

#include "model/Collection.h"

#include <QUndoCommand>

namespace {

// What a change made of the slots, and what they held before it.
class TSlotsStep : public QUndoCommand {
public:
    TSlotsStep(TCollectionHistory& history, const QString& text, const SlotPatches& before,
               const SlotPatches& after)
        : QUndoCommand(text), history_(history), before_(before), after_(after) {}

    void undo() override { history_.Show(before_); }
    void redo() override {
        // The command itself made the change: only the redo after an undo puts it back.
        if (pushed_) history_.Show(after_);
        pushed_ = true;
    }

private:
    TCollectionHistory& history_;
    SlotPatches before_, after_;
    bool pushed_ = false;
};

} // namespace

TCollectionHistory::TCollectionHistory(TCollection& collection)
    : collection_(collection), seen_(current()) {
    QObject::connect(&stack_, &QUndoStack::cleanChanged, &stack_, [this](bool clean) {
        if (replacing_ || collection_.Modified() != clean) return;
        collection_.SetCollectionFile(collection_.CollectionFile(), !clean);
    });
}

SlotPatches TCollectionHistory::current() const {
    SlotPatches patches;
    for (int n = 1; n <= PatchCount; ++n)
        patches[n - 1] = collection_.Slot(n).Bytes();
    return patches;
}

void TCollectionHistory::Begin(const QString& text) {
    nextText_ = text;
    inCommand_ = true;
}

void TCollectionHistory::End() {
    inCommand_ = false;
    Record();
    nextText_.clear();
}

void TCollectionHistory::Record() {
    if (inCommand_) return;
    SlotPatches now = current();
    if (now == seen_) return;
    // Patches from the library (its window's "Copy To Slot", a drop on the grid) come without
    // a command of this window that would name them.
    auto* step = new TSlotsStep(
        *this, nextText_.isEmpty() ? QStringLiteral("Library Patches") : nextText_, seen_, now);
    nextText_.clear();
    seen_ = now;
    stack_.push(step);
}

void TCollectionHistory::Saved() {
    Record();
    stack_.setClean();
}

void TCollectionHistory::Replaced() {
    replacing_ = true;
    stack_.clear();
    seen_ = current();
    nextText_.clear();
    if (collection_.Modified()) stack_.resetClean();
    replacing_ = false;
}

void TCollectionHistory::Show(const SlotPatches& patches) {
    // Seen first: the cells and the title this refreshes find nothing new to record.
    seen_ = patches;
    collection_.PutBack(patches);
}
