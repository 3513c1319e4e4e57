#pragma once
// The undo history of the librarian's collection. Each change to the 128 slots is one step that
// holds every slot's patch before and after it (128 x 128 bytes each way), so undo and redo put
// the slots back whole, whatever the command did to them, also when it stopped part-way.
// The history watches the collection rather than each command: whenever the collection is
// marked modified, what its slots hold is compared with what the history last saw, and a
// difference becomes a step named by the command that ran (SetNextText). The collection's
// modified mark follows the stack's clean state, so undoing back to the state last saved clears
// the star again; a collection loaded or shown new starts the history afresh.

#include "gr33/Patch.h"
#include "gr33/PatchNumber.h"

#include <QString>
#include <QUndoStack>

#include <array>

class TCollection;

using SlotPatches = std::array<PatchBytes, PatchCount>;

class TCollectionHistory {
public:
    explicit TCollectionHistory(TCollection& collection);
    TCollectionHistory(const TCollectionHistory&) = delete;
    TCollectionHistory& operator=(const TCollectionHistory&) = delete;

    QUndoStack& Stack() { return stack_; }
    // The name the next step is shown by ("Cut", "Edit Patch"), until a step takes it or it is
    // set again ("" when the command has ended).
    void SetNextText(const QString& text) { nextText_ = text; }
    // Everything one command changes is one step: Record waits from Begin until End, which
    // records the change with the command's name.
    void Begin(const QString& text);
    void End();
    // Makes one step of the slots' change since the history last saw them, if there is one.
    void Record();
    // The collection was saved (or loaded): what the slots hold now is the clean state.
    void Saved();
    // Every slot was replaced (a file loaded, a new collection): the history starts again, clean
    // only when the collection is not modified.
    void Replaced();
    // The slots take the patches of a step (its undo and redo).
    void Show(const SlotPatches& patches);

private:
    SlotPatches current() const;

    TCollection& collection_;
    QUndoStack stack_;
    SlotPatches seen_;
    QString nextText_;
    bool inCommand_ = false;
    // Set while the stack is emptied: its clean state then says nothing of the collection.
    bool replacing_ = false;
};
