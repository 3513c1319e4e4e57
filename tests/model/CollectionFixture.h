#pragma once
// A recording observer, a collection on it with scripted prompts and fresh settings, helpers.

#include "midi/MidiDevices.h"
#include "model/Collection.h"
#include "model/Settings.h"
#include "sim/DemoBank.h"
#include "sim/VirtualGr33.h"
#include "tests/support/FailureOf.h"
#include "tests/support/RecordingDialogs.h"
#include "tests/support/ScratchFolder.h"

#include <gtest/gtest.h>

#include <set>

struct FakeObserver : CollectionObserver {
    std::vector<int> cells;
    int titles = 0, tempMenus = 0, busyDepth = 0, busyCalls = 0;
    std::vector<std::string> presets, steps;
    int cancelAtStep = -1; // step (0-based) at which the user presses Cancel
    bool transferOpen = false;

    void CellChanged(int number) override { cells.push_back(number); }
    void TitleChanged() override { ++titles; }
    void TempPatchMenuChanged() override { ++tempMenus; }
    void SetBusy(bool busy) override { busyDepth += busy ? 1 : -1, busyCalls += busy; }
    void PresetFileName(const std::string& name) override { presets.push_back(name); }
    void BeginTransfer(int) override { transferOpen = true; }
    bool TransferStep(const std::string& text, int done) override {
        steps.push_back(text);
        return done != cancelAtStep;
    }
    void EndTransfer() override { transferOpen = false; }

    // What was reported for the patch library; a collection receive as a Snapshot of 1..n.
    std::vector<std::pair<SightingSource, std::vector<SlotPatch>>> seen;
    void PatchesSeen(std::span<const SlotPatch> patches, const SightingSource& source) override {
        seen.emplace_back(source, std::vector<SlotPatch>(patches.begin(), patches.end()));
    }
    void CollectionReceived(std::span<const PatchBytes> received,
                            const std::string& port) override {
        std::vector<SlotPatch> patches;
        for (std::size_t n = 0; n < received.size(); ++n)
            patches.push_back({static_cast<int>(n) + 1, received[n]});
        seen.emplace_back(SightingSource{SightingKind::Snapshot, port}, patches);
    }
};

// Patch "P<n>": its name padded with blanks, other bytes 1; P(n) is what its slot shows.
inline std::string P(int n) {
    std::string name = n == 0 ? "Empty" : "P" + std::to_string(n);
    if (n) name.resize(NameSize, ' ');
    return name;
}
inline PatchBytes NamedPatch(int n) {
    PatchBytes bytes;
    bytes.fill(1);
    std::string name = P(n);
    std::copy_n(name.begin(), NameSize, bytes.begin());
    return bytes;
}

inline std::set<int> Range(int first, int last) {
    std::set<int> numbers;
    for (int n = first; n <= last; ++n)
        numbers.insert(n);
    return numbers;
}

// The one arrival heard of since the last check (none for no `slots`; 0 the temporary patch),
// with the bytes the records hold now; the check forgets it.
inline void ExpectSeen(FakeObserver& observer, const TCollection& target, SightingKind kind,
                       const std::string& place, const std::set<int>& slots) {
    ASSERT_EQ(observer.seen.size(), slots.empty() ? 0u : 1u);
    if (slots.empty()) return;
    const auto [source, patches] = observer.seen[0];
    observer.seen.clear();
    EXPECT_EQ(std::tie(source.kind, source.place), std::tie(kind, place));
    std::vector<int> reported;
    for (const SlotPatch& p : patches) {
        EXPECT_EQ(p.bytes, (p.slot ? target.Slot(p.slot) : target.TempPatch()).Bytes()) << p.slot;
        reported.push_back(p.slot);
    }
    EXPECT_EQ(reported, std::vector<int>(slots.begin(), slots.end()));
}

class CollectionTest : public ::testing::Test {
protected:
    CollectionTest() { Settings().Start(folder.File("settings.ini")); }
    // Slots in `numbers` hold their own P<n>.
    static void Fill(TCollection& target, const std::set<int>& numbers) {
        for (int n : numbers)
            target.Slot(n).SetBytes(NamedPatch(n), n);
    }
    std::string Name(int number) const { return collection.Slot(number).GetName(); }

    ScratchFolder folder;
    RecordingDialogs prompts;
    ScopedPrompts guard{prompts};
    FakeObserver view;
    TCollection collection{view};
};

// The collection's ports on a virtual GR-33 whose memory is the demo bank.
class CollectionOnDevice : public CollectionTest {
protected:
    CollectionOnDevice() { Install({}); }
    ~CollectionOnDevice() override { InstallMidiBackends(nullptr, nullptr); }
    // A new device, with `faults`.
    void Install(std::vector<Fault> faults) {
        auto device = CreateVirtualGr33(folder.File(std::to_string(++devices) + ".G33"),
                                        {.faults = std::move(faults)});
        virtual_ = device.get();
        InstallMidiBackends(nullptr, std::move(device));
        Choose(collection, 1, 1);
    }
    static void Choose(TCollection& target, int in, int out) {
        if (in) target.Ports().ChooseIn(in);
        if (out) target.Ports().ChooseOut(out);
    }
    PatchBytes DevicePatch(int number) {
        PatchBytes bytes{};
        virtual_->Inspect([&](const Gr33Device& d) { bytes = d.Bank().Patch(number); });
        return bytes;
    }
    VirtualGr33* virtual_ = nullptr;
    int devices = 0;
};
