#pragma once
// A LibrarianHost for an editor or tool window shown without the librarian window (screenshot
// pages, benchmarks): no port is chosen, there is no collection, and the temporary patch is
// its own.

#include "model/LibrarianHost.h"
#include "model/PortChoice.h"

class DetachedHost : public LibrarianHost {
public:
    int SelectedMidiOut() override { return ports_.Out(); }
    int SelectedMidiIn() override { return ports_.In(); }
    bool TestBeforeSend() const override { return ports_.TestBeforeSend(); }
    std::string CollectionFile() const override { return {}; }
    void SetCollectionFile(const std::string&, bool) override {}
    void UpdateCell(int, int) override {}
    void UpdateTempPatchMenu() override {}
    TPatch& TempPatch() override { return temp_; }
    int SelectedPatch() const override { return 1; }
    void ShowWait(bool) override {}
    void ConsoleClosed() override {}

private:
    PortChoice ports_;
    TPatch temp_;
};
