#pragma once
// A LibrarianHost for an editor or tool window shown without the librarian window (screenshot
// pages, benchmarks): no port is selected, there is no collection, and the temporary patch is
// its own.

#include "base/Errors.h"
#include "model/LibrarianHost.h"

class DetachedHost : public LibrarianHost {
public:
    int SelectedMidiOut() override { throw EMidiOut("No midi-out device found"); }
    int SelectedMidiIn() override { throw EMidiIn("No midi-in device found"); }
    bool TestBeforeSend() const override { return false; }
    std::string CollectionFile() const override { return {}; }
    void SetCollectionFile(const std::string&, bool) override {}
    void UpdateCell(int, int) override {}
    void UpdateTempPatchMenu() override {}
    TPatch& TempPatch() override { return temp_; }
    int SelectedPatch() const override { return 1; }
    void ShowWait(bool) override {}
    void ConsoleClosed() override {}

private:
    TPatch temp_;
};
