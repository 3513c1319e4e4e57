#pragma once
// TNotePlayer: the notes a play button holds. A press opens a sender on the output device and
// sends the note-ons; the release sends the note-offs of exactly the notes that went out and
// closes the port, so nothing keeps sounding and no port stays open, whatever failed between.

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

class TMidiSender;

class TNotePlayer {
public:
    TNotePlayer();
    // Closes a port still open without sending anything.
    ~TNotePlayer();
    TNotePlayer(const TNotePlayer&) = delete;
    TNotePlayer& operator=(const TNotePlayer&) = delete;

    // Opens the sender and sends a note-on for each key in order. A key above 127 raises
    // std::out_of_range when it is reached; the notes before it have been sent and stay held
    // until Release. A press while notes are held releases them first.
    void Press(int device, std::uint8_t channel, std::span<const int> keys, std::uint8_t velocity);
    // Sends the note-offs of the notes that were sent, in the same order, then closes the port.
    // Does nothing when nothing is held. The port is closed also when a send fails.
    void Release(std::uint8_t velocity);

    // True from a press (that opened its port) to its release: the NoteSender exists.
    bool Holding() const { return sender_ != nullptr; }
    const std::vector<std::uint8_t>& SentKeys() const { return sent_; }

private:
    std::unique_ptr<TMidiSender> sender_;
    std::uint8_t channel_ = 0;
    std::vector<std::uint8_t> sent_;
};
