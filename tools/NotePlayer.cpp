#include "tools/NotePlayer.h"

#include "midi/MidiOutSysEx.h"
#include "midi/NoteConversion.h"

#include <stdexcept>

TNotePlayer::TNotePlayer() = default;
TNotePlayer::~TNotePlayer() = default;

void TNotePlayer::Press(int device, std::uint8_t channel, std::span<const int> keys,
                        std::uint8_t velocity) {
    Release(velocity);
    sender_ = std::make_unique<TMidiSender>(device);
    channel_ = channel;
    for (int key : keys) {
        if (key < 0 || key > 127) throw std::out_of_range("Range check error");
        SendNoteOn(*sender_, channel_, static_cast<std::uint8_t>(key), velocity);
        sent_.push_back(static_cast<std::uint8_t>(key));
    }
}

void TNotePlayer::Release(std::uint8_t velocity) {
    if (!sender_) return;
    // Taken out first: whatever happens below, the sender is gone (and its port closed) when
    // this returns, and the next press starts afresh.
    std::unique_ptr<TMidiSender> sender = std::move(sender_);
    std::vector<std::uint8_t> sent = std::move(sent_);
    sent_.clear();
    for (std::uint8_t key : sent)
        SendNoteOff(*sender, channel_, key, velocity);
    sender->Close();
}
