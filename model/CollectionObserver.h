#pragma once
// What the collection tells the window that shows it: refreshes of the grid, the title and the
// temporary-patch menu, the busy cursor, the file name a file dialog starts with, and the
// progress of a collection transfer. The librarian window implements it; tests use a recording
// fake. The ports and switches the commands use are the collection's own (PortChoice).
// It also hears of every patch that passes through the collection, which the window records
// in the patch library.

#include "gr33/Sighting.h"

#include <span>
#include <string>

class CollectionObserver {
public:
    virtual ~CollectionObserver() = default;

    virtual void CellChanged(int number) = 0;
    virtual void TitleChanged() = 0;
    virtual void TempPatchMenuChanged() = 0;

    // Hourglass on (nested calls stack) and off again.
    virtual void SetBusy(bool busy) = 0;
    // The name the next file dialog proposes ("" for none).
    virtual void PresetFileName(const std::string& name) = 0;

    // A collection transfer of `total` patches: the window shows a progress notice with a
    // Cancel button. Step is called before each patch; it returns false when the user cancelled.
    virtual void BeginTransfer(int total) = 0;
    virtual bool TransferStep(const std::string& text, int done) = 0;
    virtual void EndTransfer() = 0;

    // Patches that came in (a file loaded, a patch received, a text imported, an editor's
    // store); empty patches included, the recorder skips them. A source's time 0 is the moment
    // of the call.
    virtual void PatchesSeen(std::span<const SlotPatch> /*patches*/,
                             const SightingSource& /*source*/) {}
    // The list of recent collections (RecentFiles) changed: a collection was loaded or saved,
    // or a recent one was found missing.
    virtual void RecentFilesChanged() {}
    // All 128 slots were replaced as a whole: a collection file loaded, or a new untitled
    // collection shown (ShowSlots).
    virtual void CollectionReplaced() {}
    // A collection receive ended: slots 1..received.size() arrived from the named port (fewer
    // than 128 when it failed or was cancelled part-way).
    virtual void CollectionReceived(std::span<const PatchBytes> /*received*/,
                                    const std::string& /*port*/) {}
    // Whether a stopped collection receive can be resumed changed (TCollection::
    // CanResumeReceive).
    virtual void ResumeReceiveChanged() {}
};
