#include "model/Collection.h"

#include "base/AtomicFile.h"
#include "base/Dialogs.h"
#include "base/Errors.h"
#include "gr33/CollectionFile.h"
#include "gr33/Exchange.h"
#include "gr33/TextForm.h"
#include "midi/MidiDevices.h"
#include "model/RecentFiles.h"
#include "model/Settings.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <vector>

namespace {

constexpr const char* EmptySlotsWarning =
    "Please note that this patch collection file contains empty patches\r\n"
    "and should only be used with ";

std::string trimBlanks(const std::string& text) {
    auto first = text.find_first_not_of(' ');
    if (first == std::string::npos) return {};
    auto last = text.find_last_not_of(' ');
    return text.substr(first, last - first + 1);
}

// The shown name of a collection file: what follows the last folder separator.
std::string shownName(const std::string& path) {
    if (path.empty()) return "Untitled";
    auto sep = path.find_last_of("/\\");
    return sep == std::string::npos ? path : path.substr(sep + 1);
}

// The name of input device `device`, where received patches are recorded as seen; its number
// when the device list cannot tell (recording never fails a receive).
std::string inputName(int device) {
    TMidiInSpecs specs;
    try {
        GetMidiInSpecs(device, specs);
    } catch (const EKelvoError&) {
        return "#" + std::to_string(device);
    }
    return specs.Name;
}

// The progress notice of a collection transfer for the lifetime of the guard.
class TransferScope {
public:
    explicit TransferScope(CollectionObserver& observer) : observer_(observer) {
        observer_.BeginTransfer(PatchCount);
    }
    ~TransferScope() { observer_.EndTransfer(); }
    TransferScope(const TransferScope&) = delete;
    TransferScope& operator=(const TransferScope&) = delete;

    // Raises "Operation cancelled" when the user pressed Cancel.
    void Step(const char* verb, int number) {
        std::string text = std::string(verb) + " " + PatchLabel(number) + " (" +
                           std::to_string(number) + " of " + std::to_string(PatchCount) + ")";
        if (!observer_.TransferStep(text, number - 1)) throw EKelvoError(CancelledText);
    }

private:
    CollectionObserver& observer_;
};

} // namespace

void TCollection::SetCollectionFile(const std::string& fileName, bool modified) {
    modified_ = modified;
    file_ = fileName;
    observer_.TitleChanged();
}

std::string TCollection::Title() const {
    std::string title = std::string(AppName) + " " + AppVersion;
    return title + (modified_ ? " (* " : " (") + shownName(file_) + ")";
}

// Cells and the temporary patch's caption show the name as stored; the character mapping
// belongs to the editor's name field and the text form.
std::string TCollection::CellText(int number) const {
    return PatchLabel(number) + ": " + Slot(number).GetName();
}

std::string TCollection::TempPatchCaption() const {
    return "Temporary Patch (" + trimBlanks(temp_.GetName()) + ")";
}

void TCollection::copySlot(int target, const TPatch& source) {
    // SetBytes with the slot's own number, so an editor open on it asks with its own label.
    Slot(target).SetBytes(source.Bytes(), target);
    observer_.CellChanged(target);
}

void TCollection::reportSeen(int number, SightingKind kind, const std::string& place) {
    const SlotPatch patch{number, (number == TempPatchNumber ? temp_ : Slot(number)).Bytes()};
    observer_.PatchesSeen({&patch, 1}, {kind, place});
}

void TCollection::sendTest() {
    if (!ports_.TestBeforeSend()) return;
    auto [out, in] = ports_.Both();
    RequireDevice(out, in, [](const std::string& text) { Prompts().ShowMessage(text); });
}

void TCollection::QuerySave() {
    if (!modified_) return;
    if (!Prompts().Ending() && Confirmation(SaveFirstQuestion)) SaveCollection();
    // A question or save dialog that a quit ended is no "No": the command stops here, so the
    // changes are still there for the recovery file instead of being replaced.
    if (Prompts().Ending()) throw EKelvoError(CancelledText);
}

void TCollection::ShowSlots(std::span<const PatchBytes> patches) {
    QuerySave();
    for (int n = 1; n <= PatchCount; ++n) {
        Slot(n).SetBytes(n <= static_cast<int>(patches.size()) ? patches[n - 1] : PatchBytes{}, n);
        observer_.CellChanged(n);
    }
    SetCollectionFile("", true);
    if (resume_) setResume(std::nullopt);
    observer_.CollectionReplaced();
}

void TCollection::PutPatches(int number, std::span<const PatchBytes> patches) {
    if (patches.empty()) return;
    if (number == TempPatchNumber) {
        temp_.SetBytes(patches.front(), TempPatchNumber);
        observer_.TempPatchMenuChanged();
        return;
    }
    const int last = std::min(PatchCount, number + static_cast<int>(patches.size()) - 1);
    for (int n = number; n <= last; ++n) {
        Slot(n).SetBytes(patches[n - number], n);
        observer_.CellChanged(n);
    }
    markModified();
}

void TCollection::PutBack(const std::array<PatchBytes, PatchCount>& patches) {
    for (int n = 1; n <= PatchCount; ++n) {
        if (Slot(n).Bytes() == patches[n - 1]) continue;
        Slot(n).SetBytes(patches[n - 1], n);
        observer_.CellChanged(n);
    }
}

void TCollection::Audition(const PatchBytes& bytes) {
    BusyScope busy(observer_);
    sendTest();
    TPatch record;
    record.SetBytes(bytes, TempPatchNumber);
    if (!record.SendToDevice(ports_.Both().out, TempPatchNumber))
        throw EKelvoError(UnableToSendText);
}

// --- Collection commands ---------------------------------------------------------------------

void TCollection::LoadCollection() {
    QuerySave();
    BusyScope busy(observer_);
    observer_.PresetFileName(file_.empty() ? "Default.G33" : dialogs_.openCollection);
    auto name = Prompts().OpenFileName("Load Patch Collection", CollectionOpenFilter, "G33");
    if (!name) return;
    dialogs_.openCollection = *name;
    LoadCollectionFile(*name);
}

void TCollection::LoadRecentCollection(const std::string& fileName) {
    QuerySave();
    BusyScope busy(observer_);
    if (!FileExists(fileName)) {
        ForgetRecentFile(fileName);
        observer_.RecentFilesChanged();
    }
    dialogs_.openCollection = fileName;
    LoadCollectionFile(fileName);
}

void TCollection::LoadCollectionFile(const std::string& fileName) {
    if (!FileExists(fileName)) {
        Prompts().ShowMessage("File " + fileName + " not found");
        return;
    }
    // The whole file is validated before any slot is replaced.
    auto bytes = ReadCollectionFile(fileName);
    std::vector<SlotPatch> seen;
    for (int n = 1; n <= PatchCount; ++n) {
        Slot(n).SetBytes(bytes[n - 1], n);
        observer_.CellChanged(n);
        seen.push_back({n, bytes[n - 1]});
    }
    SetCollectionFile(fileName, false);
    if (resume_) setResume(std::nullopt);
    observer_.CollectionReplaced();
    RememberRecentFile(fileName);
    observer_.RecentFilesChanged();
    observer_.PatchesSeen(seen, {SightingKind::File, fileName});
}

namespace {

std::string upperExtension(const std::string& fileName) {
    std::string extension = std::filesystem::path(fileName).extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return extension;
}

} // namespace

std::optional<FileKind> DroppedFileKind(const std::string& fileName) {
    const std::string extension = upperExtension(fileName);
    if (extension == ".G33") return FileKind::Collection;
    if (extension == ".P33") return FileKind::SinglePatch;
    if (extension != ".SYX") return std::nullopt;
    try {
        return SysExFileKind(fileName);
    } catch (const EKelvoError&) {
        return std::nullopt;
    }
}

void TCollection::OpenDroppedFile(int number, const std::string& fileName) {
    const auto kind = DroppedFileKind(fileName);
    if (kind == FileKind::Collection) {
        QuerySave();
        BusyScope busy(observer_);
        dialogs_.openCollection = fileName;
        LoadCollectionFile(fileName);
    } else if (kind == FileKind::SinglePatch) {
        dialogs_.openPatch = fileName;
        LoadPatchFile(number, fileName);
    }
}

void TCollection::OpenFile(const std::string& fileName) {
    const std::string extension = upperExtension(fileName);
    // The dialogs then start from the file, as after choosing it in them.
    if (extension == ".P33" ||
        (extension == ".SYX" && SysExFileKind(fileName) == FileKind::SinglePatch)) {
        dialogs_.openPatch = fileName;
        LoadTempPatchFile(fileName);
    } else {
        dialogs_.openCollection = fileName;
        LoadCollectionFile(fileName);
    }
}

void TCollection::SaveCollection() {
    BusyScope busy(observer_);
    observer_.PresetFileName(file_.empty() ? dialogs_.saveCollection : file_);
    auto name = Prompts().SaveFileName("Save Patch Collection", CollectionSaveFilter, "G33");
    if (!name) return;
    dialogs_.saveCollection = *name;
    SaveCollectionFile(*name);
}

std::array<const TPatch*, PatchCount> TCollection::Records() const {
    std::array<const TPatch*, PatchCount> records;
    for (int n = 1; n <= PatchCount; ++n)
        records[n - 1] = &Slot(n);
    return records;
}

void TCollection::SaveCollectionFile(const std::string& fileName) {
    auto records = Records();
    bool anyEmpty = std::any_of(records.begin(), records.end(),
                                [](const TPatch* patch) { return patch->IsEmpty(); });
    WriteCollectionFile(fileName, records);
    SetCollectionFile(fileName, false);
    RememberRecentFile(fileName);
    observer_.RecentFilesChanged();
    if (anyEmpty && Settings().IsYes("CompatibilityWarnings"))
        Prompts().ShowMessage(std::string(EmptySlotsWarning) + AppName +
                              " (that can deal with this)");
}

void TCollection::ReceiveCollection() {
    QuerySave();
    receiveFrom({}, {});
}

void TCollection::ResumeReceive() {
    if (!resume_) return;
    auto [received, port] = *resume_;
    receiveFrom(std::move(received), std::move(port));
}

void TCollection::setResume(std::optional<std::pair<std::vector<PatchBytes>, std::string>> resume) {
    resume_ = std::move(resume);
    observer_.ResumeReceiveChanged();
}

void TCollection::receiveFrom(std::vector<PatchBytes> received, std::string port) {
    BusyScope busy(observer_);
    TransferScope transfer(observer_);
    MidiDevicePin pin; // the receive stays with the ports it started on
    const std::size_t first = received.size();
    try {
        for (int n = static_cast<int>(first) + 1; n <= PatchCount; ++n) {
            transfer.Step("Receiving", n);
            auto [out, in] = ports_.Both();
            Slot(n).ReceiveFromDevice(out, in, n);
            if (port.empty()) port = inputName(in);
            received.push_back(Slot(n).Bytes());
            observer_.CellChanged(n);
        }
    } catch (...) {
        // Slots already replaced no longer equal the file: the title must say so. What arrived
        // is reported also when the receive stops part-way (a partial snapshot); a resumed
        // receive is recorded once it is whole.
        if (received.size() > first) {
            markModified();
            if (first == 0) observer_.CollectionReceived(received, port);
        }
        setResume(std::pair{std::move(received), std::move(port)});
        throw;
    }
    markModified();
    observer_.CollectionReceived(received, port);
    if (resume_) setResume(std::nullopt);
}

std::vector<PatchBytes> TCollection::snapshotBeforeSend() {
    std::vector<PatchBytes> before;
    if (Settings().IsNo("SnapshotBeforeSend")) return before;
    auto [out, in] = ports_.Both();
    TransferScope transfer(observer_);
    try {
        ReceiveRest(before, out, in, [&](int n) { transfer.Step("Receiving", n); });
    } catch (const EKelvoError& e) {
        if (std::string(e.what()) == CancelledText) throw;
        throw EKelvoError(
            SnapshotFailedText(e.what(), "switch off \"Options\" -> \"Snapshot Before Send\""));
    }
    observer_.CollectionReceived(before, std::string(BeforeSendPlace) + " (" + inputName(in) + ")");
    return before;
}

void TCollection::verifySent(std::span<const SentPatch> sent, std::span<const PatchBytes> before) {
    if (Settings().IsNo("VerifyAfterSend")) return;
    auto [out, in] = ports_.Both();
    VerifyResult result;
    {
        // One patch is read back without the progress notice its send did not show either.
        std::optional<TransferScope> transfer;
        if (sent.size() > 1) transfer.emplace(observer_);
        result = VerifySent(sent, out, in, [&](int n) {
            if (transfer) transfer->Step("Verifying", n);
        });
    }
    if (result.Good()) {
        if (result.verified > 0) Prompts().ShowMessage(VerifiedText(result.verified));
        return;
    }
    if (before.empty()) throw EKelvoError(DiffersLines(result));
    if (!Confirmation(DiffersLines(result) + "\n" + RestoreQuestion)) return;
    TransferScope transfer(observer_);
    for (int n = 1; n <= static_cast<int>(before.size()); ++n) {
        transfer.Step("Sending", n);
        TPatch record;
        record.SetBytes(before[n - 1], n);
        record.SendToDevice(out, n);
    }
}

void TCollection::SendCollection() {
    BusyScope busy(observer_);
    MidiDevicePin pin; // snapshot, sends and read-back stay with the ports they started on
    sendTest();
    // The bank is received for the snapshot only when something will overwrite it.
    const auto records = Records();
    const bool anything = std::any_of(records.begin(), records.end(),
                                      [](const TPatch* patch) { return !patch->IsEmpty(); });
    const std::vector<PatchBytes> before =
        anything ? snapshotBeforeSend() : std::vector<PatchBytes>{};
    std::vector<SentPatch> sent;
    {
        TransferScope transfer(observer_);
        for (int n = 1; n <= PatchCount; ++n) {
            transfer.Step("Sending", n);
            if (Slot(n).SendToDevice(ports_.Both().out, n)) sent.push_back({n, Slot(n).Bytes()});
        }
    }
    if (sent.empty()) {
        Prompts().ShowMessage(NoPatchesText);
        return;
    }
    verifySent(sent, before);
}

// --- Selected-patch commands -----------------------------------------------------------------

void TCollection::LoadPatch(int number) {
    observer_.PresetFileName(dialogs_.openPatch);
    auto name = Prompts().OpenFileName("Load Patch", PatchOpenFilter, "P33");
    if (!name) return;
    dialogs_.openPatch = *name;
    LoadPatchFile(number, *name);
}

void TCollection::LoadPatchFile(int number, const std::string& fileName) {
    BusyScope busy(observer_);
    TPatch& slot = Slot(number);
    // Loaded through a scratch record, so the slot's editor asks with the slot's own label.
    TPatch scratch;
    scratch.LoadFromFile(fileName);
    slot.SetBytes(scratch.Bytes(), number);
    observer_.CellChanged(number);
    markModified();
    reportSeen(number, SightingKind::File, fileName);
}

void TCollection::SavePatch(int number) {
    observer_.PresetFileName(dialogs_.savePatch);
    auto name = Prompts().SaveFileName("Save Patch", PatchFilter, "P33");
    if (!name) return;
    dialogs_.savePatch = *name;
    BusyScope busy(observer_);
    Slot(number).SaveToFile(*name, number);
}

void TCollection::ReceivePatch(int number) {
    BusyScope busy(observer_);
    auto [out, in] = ports_.Both();
    Slot(number).ReceiveFromDevice(out, in, number);
    observer_.CellChanged(number);
    markModified();
    reportSeen(number, SightingKind::Device, inputName(in));
}

void TCollection::SendPatch(int number) {
    Slot(number).CheckNotEmpty(number);
    BusyScope busy(observer_);
    sendTest();
    if (!Slot(number).SendToDevice(ports_.Both().out, number)) throw EKelvoError(UnableToSendText);
    const SentPatch sent{number, Slot(number).Bytes()};
    verifySent({&sent, 1}, {});
}

void TCollection::CutPatch(int number) {
    Slot(number).CheckNotEmpty(number);
    temp_.SetBytes(Slot(number).Bytes(), TempPatchNumber);
    observer_.TempPatchMenuChanged();
    for (int i = number; i < PatchCount; ++i)
        copySlot(i, Slot(i + 1));
    Slot(PatchCount).Clear();
    observer_.CellChanged(PatchCount);
    markModified();
}

void TCollection::CopyPatch(int number) {
    Slot(number).CheckNotEmpty(number);
    temp_.SetBytes(Slot(number).Bytes(), TempPatchNumber);
    observer_.TempPatchMenuChanged();
}

void TCollection::MovePatch(int source, int target) {
    Slot(source).CheckNotEmpty(source);
    if (source == target) return;
    TPatch moved;
    moved.SetBytes(Slot(source).Bytes(), source);
    const int step = source < target ? 1 : -1;
    for (int i = source; i != target; i += step)
        copySlot(i, Slot(i + step));
    copySlot(target, moved);
    markModified();
}

void TCollection::CopyPatchOver(int source, int target) {
    Slot(source).CheckNotEmpty(source);
    copySlot(target, Slot(source));
    markModified();
}

void TCollection::PasteOver(int number) {
    temp_.CheckNotEmpty(TempPatchNumber);
    copySlot(number, temp_);
    markModified();
}

void TCollection::PasteInsert(int number) {
    temp_.CheckNotEmpty(TempPatchNumber);
    int free = number;
    while (free <= PatchCount && !Slot(free).IsEmpty())
        ++free;
    if (free > PatchCount) throw EKelvoError(NoPlaceText);
    for (int j = free; j > number; --j)
        copySlot(j, Slot(j - 1));
    copySlot(number, temp_);
    markModified();
}

// --- Temporary-patch commands ----------------------------------------------------------------

void TCollection::LoadTempPatch() {
    observer_.PresetFileName(dialogs_.openPatch);
    auto name = Prompts().OpenFileName("Load Patch", PatchOpenFilter, "P33");
    if (!name) return;
    dialogs_.openPatch = *name;
    LoadTempPatchFile(*name);
}

void TCollection::LoadTempPatchFile(const std::string& fileName) {
    BusyScope busy(observer_);
    temp_.LoadFromFile(fileName);
    observer_.TempPatchMenuChanged();
    reportSeen(TempPatchNumber, SightingKind::File, fileName);
}

void TCollection::SaveTempPatch() {
    observer_.PresetFileName(dialogs_.savePatch);
    auto name = Prompts().SaveFileName("Save Patch", PatchFilter, "P33");
    if (!name) return;
    dialogs_.savePatch = *name;
    BusyScope busy(observer_);
    temp_.SaveToFile(*name, TempPatchNumber);
}

void TCollection::ReceiveTempPatch() {
    BusyScope busy(observer_);
    auto [out, in] = ports_.Both();
    temp_.ReceiveFromDevice(out, in, TempPatchNumber);
    observer_.TempPatchMenuChanged();
    reportSeen(TempPatchNumber, SightingKind::Device, inputName(in));
}

void TCollection::SendTempPatch() {
    temp_.CheckNotEmpty(TempPatchNumber);
    BusyScope busy(observer_);
    sendTest();
    if (!temp_.SendToDevice(ports_.Both().out, TempPatchNumber))
        throw EKelvoError(UnableToSendText);
}
