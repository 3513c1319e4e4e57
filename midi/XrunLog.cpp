#include "midi/XrunLog.h"

#include <algorithm>

void XrunLog::Add(std::uint64_t cycle) {
    std::lock_guard lock(mutex_);
    cycles_.push_back(cycle);
    if (cycles_.size() > Kept) cycles_.pop_front();
}

bool XrunLog::Between(std::uint64_t first, std::uint64_t last) const {
    std::lock_guard lock(mutex_);
    return std::any_of(cycles_.begin(), cycles_.end(),
                       [&](std::uint64_t cycle) { return cycle >= first && cycle <= last; });
}
