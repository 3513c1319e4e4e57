#pragma once
// The patch collection the librarian window shows: 128 slot records, the temporary patch, the
// collection's file name and its modified mark, the chosen ports, and every command that
// changes them. Records are created once and never replaced; every change copies bytes into
// them, so an editor open on a record stays on its slot and is asked to reload when the bytes
// are replaced. Every patch that comes in (a file loaded, a patch or the collection received)
// is reported to the observer, which records it in the patch library.
// Commands raise EKelvoError with the user's message; what changed before an error stays.

#include "gr33/CollectionFile.h"
#include "gr33/Patch.h"
#include "gr33/PatchNumber.h"
#include "gr33/SafeTransfer.h"
#include "model/CollectionObserver.h"
#include "model/PortChoice.h"

#include <array>
#include <optional>
#include <span>
#include <string>
#include <utility>
#include <vector>

inline constexpr const char* SaveFirstQuestion = "Patch collection modified! Save first";
inline constexpr const char* CancelledText = "Operation cancelled";
inline constexpr const char* NoPlaceText = "Unable to insert patch. No place!";
inline constexpr const char* UnableToSendText = "Unable to send patch";
inline constexpr const char* NoPatchesText = "No patches in collection!";
// The question after a read-back found differing slots, when a snapshot was taken before.
inline constexpr const char* RestoreQuestion = "Send back the patches the device held before";
// The place a snapshot taken before a collection send is recorded under, before the port name.
inline constexpr const char* BeforeSendPlace = "before send";

// The filters of the collection open and save dialogs and of the patch file dialogs; the open
// dialogs also offer .syx files, which are only ever read.
inline constexpr const char* CollectionOpenFilter =
    "GR-33 Patch Collection (*.G33)|*.G33|All Files|*.*|SysEx Files (*.syx)|*.syx";
inline constexpr const char* CollectionSaveFilter =
    "GR-33 Patch Collection (*.G33)|*.G33|All Files (*.*)|*.*";
inline constexpr const char* PatchOpenFilter =
    "GR-33 Patch File (*.P33)|*.P33|All Files (*.*)|*.*|SysEx Files (*.syx)|*.syx";
inline constexpr const char* PatchFilter = "GR-33 Patch File (*.P33)|*.P33|All Files (*.*)|*.*";

class TCollection {
public:
    explicit TCollection(CollectionObserver& observer) : observer_(observer) {}
    TCollection(const TCollection&) = delete;
    TCollection& operator=(const TCollection&) = delete;

    // Slot record of patch number 1..128.
    TPatch& Slot(int number) { return slots_.at(number - 1); }
    const TPatch& Slot(int number) const { return slots_.at(number - 1); }
    // The 128 slots in order, as a collection file is written from them.
    std::array<const TPatch*, PatchCount> Records() const;
    TPatch& TempPatch() { return temp_; }
    const TPatch& TempPatch() const { return temp_; }
    // The ports and the send-test switch every device command uses; the port menus set them.
    PortChoice& Ports() { return ports_; }
    const PortChoice& Ports() const { return ports_; }

    const std::string& CollectionFile() const { return file_; }
    bool Modified() const { return modified_; }
    void SetCollectionFile(const std::string& fileName, bool modified);

    // "KelvoLight 1.01 (Untitled)", "KelvoLight 1.01 (* Bank1.G33)".
    std::string Title() const;
    // "A11: " followed by the record's name as display text, "Empty" for an empty record.
    std::string CellText(int number) const;
    // "Temporary Patch (<name without outer blanks>)".
    std::string TempPatchCaption() const;

    // Puts the given patches (up to 128, the rest empty) into the slots as an unsaved,
    // untitled collection, after asking to save a modified one first: a snapshot restored from
    // the patch library, a set list built there.
    void ShowSlots(std::span<const PatchBytes> patches);
    // Puts patches from the patch library into slots number, number + 1, ... (as many as fit
    // before slot 128 ends the bank), or the one patch into the temporary patch when number
    // is TempPatchNumber. The collection is modified; nothing is recorded again.
    void PutPatches(int number, std::span<const PatchBytes> patches);
    // Sends the bytes to the device's temporary patch, as "Send" of the temporary patch sends
    // its record (the chosen ports, the connection test when switched on), leaving the
    // temporary patch record as it is: hearing a library patch on the device.
    void Audition(const PatchBytes& bytes);
    // Puts back the patches the slots held at an earlier moment (undo and redo): each slot whose
    // bytes differ takes them and its cell is refreshed; the modified mark is the caller's.
    void PutBack(const std::array<PatchBytes, PatchCount>& patches);

    // Asks to save a modified collection first; the caller goes on whatever the answer, except
    // when KelvoLight is ending on a signal: then it raises "Operation cancelled".
    void QuerySave();

    // Collection commands.
    void LoadCollection();
    void SaveCollection();
    void ReceiveCollection();
    // After a collection receive that failed or was cancelled at slot k: receives slots k..128
    // into the same collection and records the whole bank as its snapshot. Does nothing when
    // there is no such receive (CanResumeReceive).
    void ResumeReceive();
    bool CanResumeReceive() const { return resume_.has_value(); }
    // With "SnapshotBeforeSend" (absent: on) the device's 128 patches are received first and
    // recorded as a snapshot; when that fails nothing is sent. With "VerifyAfterSend" (absent:
    // on) the sent slots are read back; slots that differ are named and the snapshot may be
    // sent back.
    void SendCollection();
    // A collection of the recent list (RecentFiles): loaded as "Load..." loads the file chosen
    // after its save question; one no longer there is shown as not found and leaves the list.
    void LoadRecentCollection(const std::string& fileName);
    // The file operations behind Load and Save, without dialogs; both put the file at the top of
    // the recent list.
    void LoadCollectionFile(const std::string& fileName);
    void SaveCollectionFile(const std::string& fileName);
    // A file named at start (KelvoLight FILE, a double-click on it): a .P33 file (any case),
    // or a .syx file holding one patch, goes into the temporary patch, as its "Load..." would put
    // it, so no slot changes and nothing asks to be saved; any other file is loaded as the
    // collection.
    void OpenFile(const std::string& fileName);
    // A file dropped on the grid: a collection (.G33, any case, or a .syx file holding 128
    // patches) is loaded as "Load..." loads the file chosen, after its save question; a single
    // patch (.P33 or a .syx file holding one) goes into slot `number` as its "Load..." puts it.
    void OpenDroppedFile(int number, const std::string& fileName);

    // Commands on slot `number` (the selected patch).
    void LoadPatch(int number);
    // The file operation behind it, without the dialog.
    void LoadPatchFile(int number, const std::string& fileName);
    void SavePatch(int number);
    void ReceivePatch(int number);
    void SendPatch(int number);
    void CutPatch(int number);
    void CopyPatch(int number);
    void PasteOver(int number);
    void PasteInsert(int number);
    // A cell dragged onto another: the patch moves to `target` and only the slots between the
    // two shift one place toward `source` (with every slot full, what cut and paste-insert
    // give); a copy puts it over `target`. Neither touches the temporary patch.
    void MovePatch(int source, int target);
    void CopyPatchOver(int source, int target);

    // Commands on the temporary patch.
    void LoadTempPatch();
    // The file operation behind it, without the dialog.
    void LoadTempPatchFile(const std::string& fileName);
    void SaveTempPatch();
    void ReceiveTempPatch();
    void SendTempPatch();

private:
    // The last file name chosen in each of the four file dialogs.
    struct DialogMemory {
        std::string openCollection, saveCollection, openPatch, savePatch;
    };

    void copySlot(int target, const TPatch& source);
    // Tells the observer that slot `number` (0: the temporary patch) now holds a patch seen.
    void reportSeen(int number, SightingKind kind, const std::string& place);
    void sendTest();
    // Receives the device's bank for the snapshot before a collection send; empty when the
    // option is off. Raises, naming the way round it, when the receive fails.
    std::vector<PatchBytes> snapshotBeforeSend();
    // The read-back of the sent patches when "VerifyAfterSend" is on: "Sent and verified N
    // patches", or the differing slots named with the offer to send `before` back.
    void verifySent(std::span<const SentPatch> sent, std::span<const PatchBytes> before);
    // Slots received.size() + 1 .. 128 into the collection; what arrived is recorded as the
    // snapshot, and a receive that stops can be resumed.
    void receiveFrom(std::vector<PatchBytes> received, std::string port);
    void setResume(std::optional<std::pair<std::vector<PatchBytes>, std::string>> resume);
    void markModified() { SetCollectionFile(file_, true); }

    CollectionObserver& observer_;
    PortChoice ports_;
    std::array<TPatch, PatchCount> slots_;
    TPatch temp_;
    std::string file_;
    bool modified_ = false;
    DialogMemory dialogs_;
    // The slots a stopped collection receive got and the port they came from.
    std::optional<std::pair<std::vector<PatchBytes>, std::string>> resume_;
};

// What a dropped file holds by its extension (.G33, .P33 in any case) or, for a .syx file, by its
// content; none for any other file and for a .syx file that is neither (a drop of it is refused).
std::optional<FileKind> DroppedFileKind(const std::string& fileName);

// The hourglass for one scope.
class BusyScope {
public:
    explicit BusyScope(CollectionObserver& observer) : observer_(observer) {
        observer_.SetBusy(true);
    }
    ~BusyScope() { observer_.SetBusy(false); }
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;

private:
    CollectionObserver& observer_;
};
