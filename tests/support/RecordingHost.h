#pragma once
// A librarian stand-in for the editor and tool windows: ports, options and the collection's
// file as set by the test; what the windows ask of it is recorded.

#include "base/Errors.h"
#include "model/LibrarianHost.h"

#include <string>
#include <utility>
#include <vector>

class FakeHost : public LibrarianHost {
public:
    int midiOut = 1, midiIn = 1; // 0: no port checked
    bool testBeforeSend = false, liveEdit = false;
    int selectedPatch = 1;
    std::string collectionFile = "Bank.G33";
    std::vector<bool> modifiedMarks; // the modified flag of each SetCollectionFile
    std::vector<std::pair<int, int>> updatedCells;
    std::vector<std::string> tempMenuNames; // the temporary patch's name at each menu update
    int waitOpen = 0, waitShows = 0;        // shows of the wait window not yet hidden; all
    int consoleClosed = 0;
    std::vector<std::string> portReads;
    TPatch temp;

    int SelectedMidiOut() override {
        portReads.push_back("out");
        if (midiOut == 0) throw EMidiOut("No midi-out device found");
        return midiOut;
    }
    int SelectedMidiIn() override {
        portReads.push_back("in");
        if (midiIn == 0) throw EMidiIn("No midi-in device found");
        return midiIn;
    }
    bool TestBeforeSend() const override { return testBeforeSend; }
    bool LiveEdit() const override { return liveEdit; }
    std::string CollectionFile() const override { return collectionFile; }
    void SetCollectionFile(const std::string& fileName, bool modified) override {
        collectionFile = fileName;
        modifiedMarks.push_back(modified);
    }
    void UpdateCell(int column, int row) override { updatedCells.emplace_back(column, row); }
    void UpdateTempPatchMenu() override { tempMenuNames.push_back(temp.GetName()); }
    TPatch& TempPatch() override { return temp; }
    int SelectedPatch() const override { return selectedPatch; }
    void ShowWait(bool visible) override { waitOpen += visible ? 1 : -1, waitShows += visible; }
    void ConsoleClosed() override { ++consoleClosed; }
};
