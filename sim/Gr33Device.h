#pragma once
// The simulated GR-33 in bulk-load mode, as bytes in and bytes out: it answers the identity
// request and patch requests, and takes every valid data message as the new content of the
// addressed patch. It does no waiting itself: each reply carries the time after the request's
// arrival at which it is due, and whoever runs the device (DeviceRunner) delivers it then.

#include "gr33/Patch.h"
#include "midi/MidiOutSysEx.h"
#include "sim/SimBank.h"
#include "sim/SimFault.h"

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <vector>

// How much later than normal a reply comes under the "late" fault.
constexpr std::chrono::milliseconds LateReplyTime{1500};

// Time `bytes` take on a MIDI cable.
inline std::chrono::microseconds WireTime(std::size_t bytes) {
    return MidiByteTime * static_cast<long>(bytes);
}

struct DeviceOptions {
    // Emulate the cable: a request counts as arrived when its last byte would have, and a reply
    // as delivered when its last byte would have been sent.
    bool wire = false;
    // Processing time before each reply.
    std::chrono::milliseconds delay{0};
    std::vector<Fault> faults;
};

// One outgoing message and when it is due, counted from the moment the incoming block was
// handed to the device.
struct TimedMessage {
    std::chrono::microseconds due{0};
    Bytes bytes;
};

class Gr33Device {
public:
    explicit Gr33Device(std::unique_ptr<SimBank> bank, DeviceOptions options = {});

    // Takes a block of incoming bytes (one or more complete messages; real-time bytes and
    // anything outside a System Exclusive message are ignored) and returns the replies.
    std::vector<TimedMessage> Receive(std::span<const std::uint8_t> bytes);

    const SimBank& Bank() const { return *bank_; }
    const DeviceOptions& Options() const { return options_; }

    // Counts since creation: data messages stored, messages not understood or not valid.
    int Stored() const { return stored_; }
    int Rejected() const { return rejected_; }

    // Receives one line per event ("request A11", "stored B23", "rejected 12 bytes", ...).
    std::function<void(const std::string&)> Log;

private:
    // The replies to one complete message that arrived at `arrival`.
    void handleMessage(std::span<const std::uint8_t> message, std::chrono::microseconds arrival,
                       std::vector<TimedMessage>& replies);
    void reply(std::optional<int> patch, std::chrono::microseconds arrival, Bytes message,
               std::vector<TimedMessage>& replies);
    void store(int number, std::span<const std::uint8_t> message);
    void reject(std::span<const std::uint8_t> message, const char* why);
    void log(const std::string& line) const;

    std::unique_ptr<SimBank> bank_;
    DeviceOptions options_;
    int stored_ = 0;
    int rejected_ = 0;
};
