#pragma once
// Safe bulk transfers: the read-back that checks a send, the receive of the device's user slots
// from a given slot on (a whole bank before it is overwritten, or the rest of a receive that
// stopped part-way), and the partial collection file that keeps what a receive got. The window
// (model/Collection) and gr33 share them.

#include "gr33/Patch.h"

#include <functional>
#include <span>
#include <string>
#include <vector>

// One patch sent to the device: the slot number it went to (0: the temporary patch) and the
// bytes sent.
struct SentPatch {
    int number = 0;
    PatchBytes bytes{};
};

// What a read-back found: how many user slots were read back and those that differ.
struct VerifyResult {
    int verified = 0;
    std::vector<int> differing;
    bool Good() const { return differing.empty(); }
};

// Called before each slot is read or received; raises to stop (cancel, Ctrl+C).
using TransferStepFn = std::function<void(int number)>;

// Reads every sent user slot back and compares its 128 data bytes with what was sent. The
// temporary patch is not read back (the device's edit buffer is not a stored patch). A slot
// that does not come back raises as a receive does.
VerifyResult VerifySent(std::span<const SentPatch> sent, int outDevice, int inDevice,
                        const TransferStepFn& step = {});

// "Sent and verified N patches".
std::string VerifiedText(int verified);
// "Patch (B23) differs after sending".
std::string DiffersText(int number);
// One DiffersText line per differing slot, joined by line ends.
std::string DiffersLines(const VerifyResult& result);

// Why a collection send stopped before sending anything: the receive of the snapshot taken
// first failed with `reason`; `way` says how to send without it.
std::string SnapshotFailedText(const std::string& reason, const std::string& way);

// Receives user slots received.size() + 1 .. 128 from the device and appends them to
// `received`: started with an empty vector it fetches the whole bank; started with the slots
// of a receive that stopped at slot k it goes on at k. On a failure the slots that came stay
// in `received` and the error is raised.
void ReceiveRest(std::vector<PatchBytes>& received, int outDevice, int inDevice,
                 const TransferStepFn& step = {});

// The partial file of a receive that stopped: the data messages of slots 1..k-1 in slot order,
// nothing else, so its length (140 bytes a slot) tells where the receive stopped. Its name is
// the collection's with ".partial" before the extension: Bank.G33 -> Bank.partial.G33.
std::string PartialFileName(const std::string& collectionFile);
void WritePartialFile(const std::string& fileName, std::span<const PatchBytes> received);
// Reads a partial file back: fewer than 128 whole data messages addressed to slots 1, 2, ... in
// order; anything else is "Illegal patch data format".
std::vector<PatchBytes> ReadPartialFile(const std::string& fileName);
