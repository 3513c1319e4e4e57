#pragma once
// TMidiReceiver: captures the first System Exclusive message arriving on one input port. It
// is created before the request is sent (so the reply cannot be missed), waited on once with
// a timeout, and closed. Short messages and every message after the first SysEx are ignored.

#include "base/Bytes.h"
#include "midi/Port.h"

#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

class TMidiReceiver {
public:
    // Opens input device number `device` (1-based) and starts capturing into a buffer of
    // bufferSize bytes; a longer message is cut to that size. Raises EMidiIn
    // "Unable to open midi-in device".
    TMidiReceiver(int device, int bufferSize);
    // Closes silently when Close was not called (see Close).
    ~TMidiReceiver();
    TMidiReceiver(const TMidiReceiver&) = delete;
    TMidiReceiver& operator=(const TMidiReceiver&) = delete;

    // Wait up to timeoutMs (a negative value counts as 0) for the captured message. On success
    // deliver exactly the recorded bytes (as a text of that length, or appended to the stream)
    // and return true; false, delivering nothing, on timeout or when 0 bytes were recorded.
    // A capture is handed out once: a second wait waits again and times out.
    bool WaitForString(int timeoutMs, std::string& text);
    bool WaitForStream(int timeoutMs, Bytes& stream);

    // Stops capturing and closes the port, then raises one EMidiIn carrying the collected
    // close failure texts, if any. Calling it again does nothing.
    void Close();

private:
    bool wait(int timeoutMs);
    void onMessage(std::span<const std::uint8_t> message);

    std::mutex mutex_;
    std::condition_variable signal_;
    std::vector<std::uint8_t> buffer_; // allocated once; the callback only copies into it
    std::size_t recorded_ = 0;
    bool captured_ = false;  // the one SysEx message was taken; later ones are ignored
    bool signalled_ = false; // cleared by the wait that consumes it
    std::unique_ptr<MidiInputPort> port_;
};
