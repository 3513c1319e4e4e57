#include "midi/MidiInSysEx.h"

#include "base/Errors.h"
#include "midi/MidiDevices.h"

#include <algorithm>
#include <chrono>

TMidiReceiver::TMidiReceiver(int device, int bufferSize)
    : buffer_(static_cast<std::size_t>(std::max(bufferSize, 0))) {
    port_ = OpenMidiInDevice(device,
                             [this](std::span<const std::uint8_t> message) { onMessage(message); });
}

// A destructor may run while another exception unwinds the stack, and throwing then would end
// the program; so it closes without reporting. Callers that want to hear about a failed close
// call Close() on their success path, which raises.
TMidiReceiver::~TMidiReceiver() {
    if (!port_) return;
    try {
        port_->Close();
    } catch (...) {
    }
    port_.reset();
}

void TMidiReceiver::Close() {
    if (!port_) return;
    std::string failures;
    auto port = std::move(port_);
    try {
        port->Close();
    } catch (const EKelvoError&) {
        failures += "Unable to close midi-in device ";
    }
    port.reset(); // the handler is not called any more
    if (!failures.empty()) throw EMidiIn(failures);
}

// Runs on the backend's thread: copies the first SysEx message into the buffer made at
// construction and signals; nothing else.
void TMidiReceiver::onMessage(std::span<const std::uint8_t> message) {
    if (message.empty() || message[0] != 0xF0) return;
    {
        std::lock_guard lock(mutex_);
        if (captured_) return;
        recorded_ = std::min(message.size(), buffer_.size());
        std::copy_n(message.begin(), recorded_, buffer_.begin());
        captured_ = true;
        signalled_ = true;
    }
    signal_.notify_one();
}

bool TMidiReceiver::wait(int timeoutMs) {
    std::unique_lock lock(mutex_);
    bool came = signal_.wait_for(lock, std::chrono::milliseconds(std::max(timeoutMs, 0)),
                                 [this] { return signalled_; });
    if (!came) return false;
    signalled_ = false; // consumed, as no second message is captured
    return recorded_ > 0;
}

bool TMidiReceiver::WaitForString(int timeoutMs, std::string& text) {
    if (!wait(timeoutMs)) return false;
    std::lock_guard lock(mutex_);
    text.assign(buffer_.begin(), buffer_.begin() + static_cast<std::ptrdiff_t>(recorded_));
    return true;
}

bool TMidiReceiver::WaitForStream(int timeoutMs, Bytes& stream) {
    if (!wait(timeoutMs)) return false;
    std::lock_guard lock(mutex_);
    stream.insert(stream.end(), buffer_.begin(),
                  buffer_.begin() + static_cast<std::ptrdiff_t>(recorded_));
    return true;
}
