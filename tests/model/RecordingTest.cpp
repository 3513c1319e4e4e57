// What the collection reports for the patch library: each way patches come in, with its kind,
// place and slots, and the bytes as the records then hold them; a receive that stops part-way
// reports only what arrived.

#include "CollectionFixture.h"
#include "midi/MidiDevices.h"
#include "sim/VirtualGr33.h"

namespace {

class Recording : public CollectionTest {
protected:
    Recording() { Install({}); }
    ~Recording() override { InstallMidiBackends(nullptr, nullptr); }
    void Install(DeviceOptions options) {
        InstallMidiBackends(nullptr, CreateVirtualGr33(folder.File("device.G33"), options));
    }
};

TEST_F(Recording, EveryWayInReportsItsKindPlaceAndSlots) {
    Fill(collection, Range(1, 128));
    const std::string bank = folder.File("bank.G33"), patch = folder.File("one.P33");
    collection.SaveCollectionFile(bank);
    collection.Slot(9).SaveToFile(patch, 9);
    const std::string port = VirtualGr33PortName;
    using K = SightingKind;
    const std::tuple<const char*, std::function<void(TCollection&, FakeObserver&)>, K, std::string,
                     std::set<int>>
        cases[] = {
            {"collection file", [&](auto& c, auto&) { c.OpenFile(bank); }, K::File, bank,
             Range(1, 128)},
            {"patch into a slot",
             [&](auto& c, auto&) { prompts.fileAnswers = {patch}, c.LoadPatch(5); }, K::File, patch,
             Range(5, 5)},
            {"temporary patch file", [&](auto& c, auto&) { c.OpenFile(patch); }, K::File, patch,
             Range(0, 0)},
            {"slot received", [](auto& c, auto&) { c.ReceivePatch(7); }, K::Device, port,
             Range(7, 7)},
            {"temporary patch received", [](auto& c, auto&) { c.ReceiveTempPatch(); }, K::Device,
             port, Range(0, 0)},
            {"no input port", [](auto& c, auto&) { c.Ports().ChooseIn(-1), c.ReceivePatch(7); },
             K::Device, "", Range(1, 0)},
            {"collection received", [](auto& c, auto&) { c.ReceiveCollection(); }, K::Snapshot,
             port, Range(1, 128)},
            {"cancel before A33",
             [](auto& c, auto& v) { v.cancelAtStep = 10, c.ReceiveCollection(); }, K::Snapshot,
             port, Range(1, 10)},
            {"cancel before A11",
             [](auto& c, auto& v) { v.cancelAtStep = 0, c.ReceiveCollection(); }, K::Snapshot, "",
             Range(1, 0)},
            {"device silent at B21",
             [&](auto& c, auto&) {
                 Install({.faults = {Fault{FaultKind::Silent, 37}}}), c.ReceiveCollection();
             },
             K::Snapshot, port, Range(1, 36)},
        };
    for (const auto& [what, run, kind, place, slots] : cases) {
        SCOPED_TRACE(what);
        FakeObserver observer;
        TCollection target(observer);
        target.Ports().ChooseIn(1), target.Ports().ChooseOut(1);
        ErrorOf([&, &run = run] { run(target, observer); });
        ASSERT_EQ(observer.seen.size(), slots.empty() ? 0u : 1u);
        if (slots.empty()) continue;
        const auto& [source, patches] = observer.seen[0];
        EXPECT_EQ(source.kind, kind);
        EXPECT_EQ(source.place, place);
        std::set<int> reported;
        for (const SlotPatch& p : patches) {
            const TPatch& record = p.slot ? target.Slot(p.slot) : target.TempPatch();
            EXPECT_TRUE(p.bytes == record.Bytes() && !record.IsEmpty()) << p.slot;
            reported.insert(p.slot);
        }
        EXPECT_EQ(patches.size(), slots.size());
        EXPECT_EQ(reported, slots);
    }
}

// Patches shown from the library fill the slots as an unsaved collection and are not reported
// again.
TEST_F(Recording, SlotsShownFromTheLibraryAreNotReportedAgain) {
    Fill(collection, Range(1, 128));
    collection.ShowSlots(std::vector<PatchBytes>{NamedPatch(7), NamedPatch(8)});
    for (int n = 1; n <= PatchCount; ++n)
        ASSERT_EQ(collection.Slot(n).Bytes(), n <= 2 ? NamedPatch(n + 6) : TPatch().Bytes()) << n;
    EXPECT_EQ(collection.Title(), "KelvoLight 1.01 (* Untitled)");
    EXPECT_TRUE(view.seen.empty());
}

} // namespace
