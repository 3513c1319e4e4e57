#include "midi/JackSendState.h"

namespace rtbackend {

SendState JackSendState(const JackWatch& watch, std::uint64_t sentCycle, bool mindDrops,
                        const std::function<bool()>& stillConnected) {
    if (watch.Gone()) return SendState::Failed;
    if (!mindDrops) return stillConnected() ? SendState::Done : SendState::Failed;
    const auto noticed = sentCycle + JackSettleCycles + JackXrunNoticeCycles;
    if (watch.Count() < noticed) return SendState::Pending;
    if (!stillConnected()) return SendState::Failed;
    return watch.XrunBetween(sentCycle, noticed) ? SendState::Dropped : SendState::Done;
}

} // namespace rtbackend
