#pragma once
// What the editor, the console and the converter may use of the librarian window: its
// selected ports, its option switches, its grid cells and title, the temporary patch, and the
// patch library the librarian records every patch in.
// The librarian window implements it; tests use a small fake.

#include "gr33/Patch.h"
#include "gr33/Sighting.h"

#include <string>

class LibrarianHost {
public:
    virtual ~LibrarianHost() = default;

    // Device numbers of the chosen ports (PortChoice); raise "No midi-out device found" /
    // "No midi-in device found" while a port menu has no choice.
    virtual int SelectedMidiOut() = 0;
    virtual int SelectedMidiIn() = 0;

    // The "Test Connection On Send" switch.
    virtual bool TestBeforeSend() const = 0;
    // The "Send Edits Live" switch: editors send every change to the temporary patch. Off by
    // default.
    virtual bool LiveEdit() const { return false; }

    // The collection's file name and modified mark; SetCollectionFile rewrites the title.
    virtual std::string CollectionFile() const = 0;
    virtual void SetCollectionFile(const std::string& fileName, bool modified) = 0;
    // Rewrites one grid cell from its record.
    virtual void UpdateCell(int column, int row) = 0;
    // Shows the temporary patch's name in its menu and enables its items.
    virtual void UpdateTempPatchMenu() = 0;
    virtual TPatch& TempPatch() = 0;

    // Patch number of the grid's selected cell (1..128).
    virtual int SelectedPatch() const = 0;

    // Shows or hides the wait window ("Please wait ...") centred on the librarian.
    virtual void ShowWait(bool visible) = 0;

    // Unchecks "Show MIDI Console..." after the user closed the console window.
    virtual void ConsoleClosed() = 0;

    // A patch the editor stored or the converter imported, for the patch library; a library
    // that fails shows its message and the caller's command stands. Nothing by default.
    virtual void RecordPatch(const SlotPatch& /*patch*/, const SightingSource& /*source*/) {}
};
