#include "sim/DeviceRunner.h"

#include <algorithm>
#include <utility>

namespace {
// Heap order: the earliest (due, order) on top.
struct Later {
    template <class T> bool operator()(const T& a, const T& b) const {
        return a.due != b.due ? a.due > b.due : a.order > b.order;
    }
};
} // namespace

DeviceRunner::DeviceRunner(std::unique_ptr<Gr33Device> device, Sink sink)
    : device_(std::move(device)), sink_(std::move(sink)) {
    thread_ = std::thread([this] { run(); });
}

DeviceRunner::~DeviceRunner() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    wake_.notify_all();
    thread_.join();
}

void DeviceRunner::Post(std::span<const std::uint8_t> bytes) {
    {
        std::lock_guard lock(mutex_);
        incoming_.push_back({Clock::now(), Bytes(bytes.begin(), bytes.end())});
    }
    wake_.notify_all();
}

void DeviceRunner::Inspect(const std::function<void(const Gr33Device&)>& f) const {
    std::lock_guard lock(deviceMutex_);
    f(*device_);
}

void DeviceRunner::handle(const Incoming& incoming) {
    std::vector<TimedMessage> replies;
    {
        std::lock_guard lock(deviceMutex_);
        replies = device_->Receive(incoming.bytes);
    }
    std::lock_guard lock(mutex_);
    for (auto& r : replies) {
        outgoing_.push_back({incoming.arrival + r.due, nextOrder_++, std::move(r.bytes)});
        std::push_heap(outgoing_.begin(), outgoing_.end(), Later{});
    }
}

void DeviceRunner::run() {
    std::unique_lock lock(mutex_);
    // A stop first handles what was posted before it, so every data message sent to the
    // device is stored; only replies still to come are dropped.
    while (!stopping_ || !incoming_.empty()) {
        if (!incoming_.empty()) {
            Incoming next = std::move(incoming_.front());
            incoming_.pop_front();
            lock.unlock();
            handle(next);
            lock.lock();
            continue;
        }
        if (!outgoing_.empty() && outgoing_.front().due <= Clock::now()) {
            std::pop_heap(outgoing_.begin(), outgoing_.end(), Later{});
            Outgoing next = std::move(outgoing_.back());
            outgoing_.pop_back();
            lock.unlock();
            sink_(next.bytes);
            lock.lock();
            continue;
        }
        if (outgoing_.empty())
            wake_.wait(lock);
        else
            wake_.wait_until(lock, outgoing_.front().due);
    }
}
