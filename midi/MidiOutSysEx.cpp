#include "midi/MidiOutSysEx.h"

#include "base/Errors.h"
#include "midi/MidiDevices.h"

#include <array>
#include <thread>

namespace {
const char* const SendDataFailed = "Unable to send data to open midi-out device";
const char* const SendCommandFailed = "Unable to send command to midi-out device";
} // namespace

std::size_t ShortMessageLength(std::uint8_t status) {
    switch (status & 0xF0) {
    case 0xC0:
    case 0xD0:
        return 2;
    case 0xF0:
        switch (status) {
        case 0xF1: // time code quarter frame
        case 0xF3: // song select
            return 2;
        case 0xF2: // song position
            return 3;
        case 0xF6: // tune request
        case 0xF8:
        case 0xF9:
        case 0xFA:
        case 0xFB:
        case 0xFC:
        case 0xFD:
        case 0xFE:
        case 0xFF: // real-time messages
            return 1;
        default:
            return 3;
        }
    default:
        return 3;
    }
}

TMidiSender::TMidiSender(int device) : port_(OpenMidiOutDevice(device)) {}

// Closes silently: a destructor may run during unwinding, when raising would end the program.
// Close() is the reporting way.
TMidiSender::~TMidiSender() {
    if (!port_) return;
    try {
        port_->Close();
    } catch (...) {
    }
}

void TMidiSender::Close() {
    if (!port_) return;
    auto port = std::move(port_);
    try {
        port->Close();
    } catch (const EKelvoError&) {
        throw EMidiOut("Unable to close midi-out device");
    }
}

void TMidiSender::SendSysEx(std::span<const std::uint8_t> message, Repeat repeat) {
    using Clock = std::chrono::steady_clock;
    if (!port_) throw EMidiOut(SendDataFailed);
    // A message the server may have dropped is handed over again when that does no harm, for
    // as long as the completion bound of the first hand-over allows: a busy server cuts many
    // cycles short in a row, but it drops a message only in such a cycle.
    const auto firstHandOver = Clock::now();
    for (;;) {
        const auto handedOver = Clock::now();
        try {
            port_->Send(message);
        } catch (const EKelvoError&) {
            throw EMidiOut(SendDataFailed);
        }
        // The message cannot have left before its last byte went over the wire; a backend that
        // already spent that time inside Send is not charged twice.
        const auto wireTime = MidiByteTime * static_cast<long>(message.size());
        std::this_thread::sleep_until(handedOver + wireTime);
        const auto bound = handedOver + wireTime + SysExCompletionBound;
        const auto lastHandOver = firstHandOver + wireTime + SysExCompletionBound;
        SendState state = SendState::Pending;
        do {
            std::this_thread::sleep_for(SysExPollInterval);
            state = port_->Progress(repeat == Repeat::Harmless);
        } while (state == SendState::Pending && Clock::now() < bound);
        switch (state) {
        case SendState::Done:
            return;
        case SendState::Dropped:
            if (repeat == Repeat::No) return; // a lost request shows as a missing reply
            if (Clock::now() < lastHandOver) continue;
            [[fallthrough]];
        case SendState::Pending:
        case SendState::Failed:
            throw EMidiOut(SendDataFailed);
        }
    }
}

void TMidiSender::SendShort(std::uint8_t status, std::uint8_t data1, std::uint8_t data2) {
    if (!port_) throw EMidiOut(SendCommandFailed);
    const std::uint32_t packed = PackShortMessage(status, data1, data2);
    const std::array<std::uint8_t, 3> bytes = {static_cast<std::uint8_t>(packed & 0xFF),
                                               static_cast<std::uint8_t>((packed >> 8) & 0xFF),
                                               static_cast<std::uint8_t>((packed >> 16) & 0xFF)};
    try {
        port_->Send(std::span(bytes).first(ShortMessageLength(status)));
    } catch (const EKelvoError&) {
        throw EMidiOut(SendCommandFailed);
    }
}
