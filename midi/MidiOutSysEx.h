#pragma once
// TMidiSender: one open output port for SysEx and short messages. SendSysEx returns only after
// the message has left the port: its wire time at 31,250 baud (10 bits a byte) after the
// hand-over, then a 5 ms completion poll, bounded by 2 s plus the wire time.

#include "midi/Port.h"

#include <chrono>
#include <cstdint>
#include <memory>
#include <span>

// Time one byte takes on the MIDI wire.
inline constexpr std::chrono::microseconds MidiByteTime{320};
inline constexpr std::chrono::milliseconds SysExPollInterval{5};
inline constexpr std::chrono::milliseconds SysExCompletionBound{2000};

// The packed form of a short message: status + data1 * 256 + data2 * 65536.
constexpr std::uint32_t PackShortMessage(std::uint8_t status, std::uint8_t data1,
                                         std::uint8_t data2) {
    return status + data1 * 256u + data2 * 65536u;
}

// Bytes a short message with this status occupies on the wire: 2 for program change and
// channel pressure (and the two-byte system messages), 1 for the one-byte system messages,
// 3 otherwise.
std::size_t ShortMessageLength(std::uint8_t status);

class TMidiSender {
public:
    // Opens output device number `device` (1-based). Raises EMidiOut
    // "Unable to open midi-out device".
    explicit TMidiSender(int device);
    // Closes silently when Close was not called.
    ~TMidiSender();
    TMidiSender(const TMidiSender&) = delete;
    TMidiSender& operator=(const TMidiSender&) = delete;

    // Whether a message may reach the device twice: a data message stores the same bytes
    // again, while a second request would bring a second reply.
    enum class Repeat { No, Harmless };
    // Sends one complete SysEx message (F0 ... F7) and returns once it has left. A harmless
    // message that the server reports dropped is sent again. Raises EMidiOut "Unable to send
    // data to open midi-out device" when the port refuses it, the server or the far port goes
    // away, or it does not complete within the bound.
    void SendSysEx(std::span<const std::uint8_t> message, Repeat repeat = Repeat::No);
    // Sends the short message packed from the three bytes, as many bytes as the status needs.
    // Raises EMidiOut "Unable to send command to midi-out device".
    void SendShort(std::uint8_t status, std::uint8_t data1, std::uint8_t data2);

    // Closes the port; raises EMidiOut "Unable to close midi-out device" on failure. Calling
    // it again does nothing.
    void Close();

private:
    std::unique_ptr<MidiOutputPort> port_;
};
