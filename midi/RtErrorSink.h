#pragma once
// What RtMidi reported during a call. With an error callback set, RtMidi reports through it
// instead of throwing or printing. The callback may run on RtMidi's input thread, hence the
// lock.

#include <rtmidi/RtMidi.h>

#include <mutex>
#include <string>

namespace rtbackend {

class ErrorSink {
public:
    void Reset() {
        std::lock_guard lock(mutex_);
        failed_ = warned_ = false;
    }
    bool Failed() {
        std::lock_guard lock(mutex_);
        return failed_;
    }
    bool Warned() {
        std::lock_guard lock(mutex_);
        return warned_;
    }
    static void Collect(RtMidiError::Type type, const std::string&, void* user) {
        auto* sink = static_cast<ErrorSink*>(user);
        std::lock_guard lock(sink->mutex_);
        if (type == RtMidiError::WARNING || type == RtMidiError::DEBUG_WARNING)
            sink->warned_ = true;
        else
            sink->failed_ = true;
    }

private:
    std::mutex mutex_;
    bool failed_ = false;
    bool warned_ = false;
};

} // namespace rtbackend
