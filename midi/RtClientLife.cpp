#include "midi/RtClientLife.h"

#include "midi/BoundedCall.h"

#include <mutex>
#include <vector>

namespace rtbackend {

void KeepForever(std::shared_ptr<void> client) {
    static std::mutex mutex;
    static auto* kept = new std::vector<std::shared_ptr<void>>;
    std::lock_guard lock(mutex);
    kept->push_back(std::move(client));
}

void Dispose(std::shared_ptr<void> client, const ServerHealth& health) {
    if (!client) return;
    if (health.unanswering) return KeepForever(std::move(client));
    CallBounded([client = std::move(client)]() mutable { client.reset(); });
}

} // namespace rtbackend
