#pragma once
// LiveSender: the editor's patch to the device's temporary patch, sent on a thread of its own
// so that the window never waits for the wire. One message is in flight at most; patches
// posted meanwhile replace each other in a one-place mailbox, and after the message in flight
// the latest of them goes out, so the device ends on the last patch posted. Each message is
// TPatch::SendToDevice under the temporary patch's number, which takes the MIDI-OUT turn
// (midi/MidiDevices.h) and so never interleaves with an exchange.

#include "gr33/Patch.h"

#include <condition_variable>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

class LiveSender {
public:
    // Called on the sender's thread with the text of the first send that failed ("Unable to
    // open midi-out device", "Unable to send patch", ...). Sending ends there: the patch
    // waiting is dropped and later posts are ignored.
    using FailureHandler = std::function<void(const std::string& text)>;

    explicit LiveSender(FailureHandler failed);
    // The patch still waiting goes out before the thread ends.
    ~LiveSender();
    LiveSender(const LiveSender&) = delete;
    LiveSender& operator=(const LiveSender&) = delete;

    // Puts the patch in the mailbox for output device number `outDevice`, replacing one that
    // has not gone out yet. Returns at once.
    void Post(int outDevice, const PatchBytes& patch);
    // Returns once nothing waits in the mailbox and no message is in flight.
    void WaitIdle();
    bool Failed() const;

private:
    struct Letter {
        int outDevice = 0;
        PatchBytes patch{};
    };
    void run();

    FailureHandler failed_;
    mutable std::mutex mutex_;
    std::condition_variable wake_; // a letter came or the sender is ending
    std::condition_variable idle_; // the mailbox is empty and nothing is in flight
    std::optional<Letter> mailbox_;
    bool inFlight_ = false;
    bool failedOnce_ = false;
    bool ending_ = false;
    std::thread thread_; // last: started once everything above exists
};
