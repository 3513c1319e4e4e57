#include "midi/CycleGate.h"

#include <algorithm>

namespace rtbackend {

CycleGate::~CycleGate() {
    Dispose(std::shared_ptr<JackWatch>(std::move(watch_)), *health_);
}

void CycleGate::Connected() {
    openFrom_ = std::max(openFrom_.load(), watch_->Count() + JackSettleCycles);
}

bool CycleGate::WaitFor(std::uint64_t cycle) const {
    if (health_->unanswering) return false;
    if (watch_->WaitFor(cycle, CycleWaitLimit)) return true;
    health_->unanswering = true;
    return false;
}

} // namespace rtbackend
