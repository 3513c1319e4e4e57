#pragma once
// The JACK server's reports of cycles cut short (xruns), each tagged with the cycle count at
// its arrival; the last few are kept. Reports arrive on the client's notification thread, not
// in a cycle, so a lock is fine here.

#include <cstdint>
#include <deque>
#include <mutex>

class XrunLog {
public:
    static constexpr std::size_t Kept = 64;

    void Add(std::uint64_t cycle);
    // Whether a kept report is tagged with a cycle from `first` to `last`, both included.
    bool Between(std::uint64_t first, std::uint64_t last) const;

private:
    mutable std::mutex mutex_;
    std::deque<std::uint64_t> cycles_;
};
