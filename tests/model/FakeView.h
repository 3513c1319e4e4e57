#pragma once
// A recording CollectionView and small helpers shared by the collection tests.

#include "base/Errors.h"
#include "gr33/Patch.h"
#include "model/CollectionView.h"
#include "tests/support/ScratchFolder.h"

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

class FakeView : public CollectionView {
public:
    std::vector<int> cells;
    int titles = 0;
    int tempMenus = 0;
    int busyDepth = 0;
    int busyCalls = 0;
    std::vector<std::string> presets;
    std::vector<std::string> steps;
    std::optional<int> in, out;
    bool testBeforeSend = false;
    int cancelAtStep = -1; // Step index (0-based) at which the user presses Cancel
    bool transferOpen = false;

    void CellChanged(int number) override { cells.push_back(number); }
    void TitleChanged() override { ++titles; }
    void TempPatchMenuChanged() override { ++tempMenus; }
    int SelectedMidiOut() override {
        if (!out) throw EKelvoError("No midi-out device found");
        return *out;
    }
    int SelectedMidiIn() override {
        if (!in) throw EKelvoError("No midi-in device found");
        return *in;
    }
    bool TestBeforeSend() const override { return testBeforeSend; }
    void SetBusy(bool busy) override {
        busyDepth += busy ? 1 : -1;
        if (busy) ++busyCalls;
    }
    void PresetFileName(const std::string& name) override { presets.push_back(name); }
    void BeginTransfer(int) override { transferOpen = true; }
    bool TransferStep(const std::string& text, int done) override {
        steps.push_back(text);
        return done != cancelAtStep;
    }
    void EndTransfer() override { transferOpen = false; }
};

// A patch whose name is `name` (padded with blanks) and whose other bytes are `fill`.
inline PatchBytes NamedPatch(const std::string& name, std::uint8_t fill = 1) {
    PatchBytes bytes;
    bytes.fill(fill);
    for (std::size_t i = 0; i < NameSize; ++i)
        bytes[i] = i < name.size() ? static_cast<std::uint8_t>(name[i]) : ' ';
    return bytes;
}
